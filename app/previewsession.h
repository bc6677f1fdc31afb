// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "playback/playercontrol.h"
#include "sources/mediasource.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QProcess;

namespace filmarin::platform {
class ChannelPlace;
}

namespace filmarin {

// The preview's player: the source in a window of its own, which the program asks for its
// position through the player's control channel. Nothing waits for the player: the window
// stays usable while it plays.
class PreviewSession : public QObject {
    Q_OBJECT
public:
    // `makeControl` reaches the player's channel at an address; the default talks to VLC 3.
    using MakeControl = std::function<std::unique_ptr<PlayerControl>(const std::string& address)>;
    explicit PreviewSession(QObject* parent = nullptr, MakeControl makeControl = {});
    ~PreviewSession() override;

    // Ends a running preview, then starts the player on the source at `title`, from
    // `startSecond` when given. False when the player could not be started.
    bool start(const QString& playerPath, const MediaSource& source, std::int32_t title,
               std::optional<std::int32_t> startSecond);
    // Asks the player to end, and ends it when it has not within a second.
    void end();
    bool running() const { return m_process != nullptr; }
    // The running player's control; null when none runs.
    PlayerControl* control() { return m_control.get(); }

signals:
    // The preview has ended: by end(), or because its player was closed.
    void ended();

private:
    void finish();

    MakeControl m_makeControl;
    std::unique_ptr<platform::ChannelPlace> m_place;
    std::unique_ptr<PlayerControl> m_control;
    QProcess* m_process = nullptr;
};

} // namespace filmarin
