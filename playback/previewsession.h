// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/process.h"
#include "playercontrol.h"
#include "preview.h"
#include "sources/mediasource.h"
#include "table/excerpttable.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace filmarin::platform {
class ChannelPlace;
}

namespace filmarin {

// What the preview's player said when a time was asked for.
struct TakenPosition {
    TakenTime which = TakenTime::Start;
    int row = 0;
    std::int64_t seconds = 0;
    std::optional<std::int64_t> title; // a video DVD's title
};

// The preview's player: the source in a window of its own, which the program asks for its
// position through the player's control channel. It owns the player, started through the
// platform's process service (ending it ends what a launcher started), and the channel.
// Nothing waits for the player: the window stays usable while it plays. What it learns it
// says as signals, always from the event loop, never from inside the channel's answer.
class PreviewSession : public QObject {
    Q_OBJECT
public:
    explicit PreviewSession(QObject* parent = nullptr);
    ~PreviewSession() override;

    // Ends a running preview, then starts the player on the source at the title and from the
    // start time of the table's `row` (previewStart). False when the player could not be
    // started.
    bool start(const QString& playerPath, const MediaSource& source, const ExcerptTable& table,
               int row);
    // Asks the player to end, and ends it with what it started when it has not within a
    // second.
    void end();
    bool running() const { return m_player != nullptr; }
    // The running player's control channel; null when none runs.
    RcPlayerControl* control() { return m_control.get(); }

    // Asks the running player where it is and then, when it plays a video DVD, which title;
    // the answer comes as positionTaken, or as noPosition when the player gives no time in
    // time. A title that does not come leaves the position without one.
    void takePosition(TakenTime which, int row);

signals:
    void positionTaken(const filmarin::TakenPosition& position);
    void noPosition();
    // The preview has ended: by end(), or because its player has gone.
    void ended();

private:
    struct DeleteLater {
        void operator()(RcPlayerControl* control) const;
    };
    void finish();
    void askTitle(const TakenPosition& position);

    std::unique_ptr<platform::ChannelPlace> m_place;
    std::unique_ptr<RcPlayerControl, DeleteLater> m_control;
    std::unique_ptr<platform::StartedProgram> m_player;
    // Players asked to end, each given its second.
    std::vector<std::unique_ptr<platform::StartedProgram>> m_ending;
    bool m_withTitle = false; // the running player plays a video DVD
};

} // namespace filmarin
