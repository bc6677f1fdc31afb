// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewsession.h"

#include "platform/channel.h"
#include "platform/process.h"
#include "platformtext/platformtext.h"
#include "playback/preview.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace filmarin {

PreviewSession::PreviewSession(QObject* parent, MakeControl makeControl)
    : QObject(parent), m_makeControl(std::move(makeControl)) {
    if (!m_makeControl) {
        m_makeControl = [](const std::string& address) -> std::unique_ptr<PlayerControl> {
            return std::make_unique<RcPlayerControl>(
                [address] { return platform::connectChannel(address); });
        };
    }
}

PreviewSession::~PreviewSession() {
    if (m_control)
        m_control->quit();
    // The running player, and any still given its second to end, end with the program.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(1000);
        }
    }
}

bool PreviewSession::start(const QString& playerPath, const MediaSource& source, std::int32_t title,
                           std::optional<std::int32_t> startSecond) {
    end();
    auto place = std::make_unique<platform::ChannelPlace>();
    if (place->address().empty())
        return false;
    const QString parameters = buildPreviewCommandLine(
        source, title, startSecond, QString::fromStdString(place->playerOptions()));
    // The player gets the same arguments as from a command line of this form on Windows.
    QStringList arguments;
    for (const std::string& argument : platform::splitCommandLine(
             platform::buildCommandLine(toPlatform(playerPath), toPlatform(parameters))))
        arguments << fromPlatform(argument);
    if (arguments.isEmpty())
        return false;
    arguments.removeFirst();
    auto* process = new QProcess(this);
    process->setProgram(playerPath);
    process->setArguments(arguments);
    process->setWorkingDirectory(QFileInfo(playerPath).absolutePath());
    // What the player's interface says on its standard output is not for the user.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    process->start();
    if (!process->waitForStarted(3000)) {
        delete process;
        return false;
    }
    m_process = process;
    m_place = std::move(place);
    m_control = m_makeControl(m_place->address());
    // The preview lasts as long as the player's channel: a launcher may hand over to the
    // real player and end before it, and a player that never listens, or stops, has gone.
    m_control->whenGone([this] {
        if (m_process)
            end();
    });
    return true;
}

void PreviewSession::end() {
    if (!m_process)
        return;
    if (m_control)
        m_control->quit();
    QProcess* process = m_process;
    // Given a second to end by itself, then ended.
    QTimer::singleShot(1000, process, [process] { process->kill(); });
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    finish();
}

void PreviewSession::finish() {
    if (!m_process)
        return;
    if (m_process->state() == QProcess::NotRunning)
        m_process->deleteLater();
    m_process = nullptr;
    m_control.reset();
    m_place.reset();
    emit ended();
}

} // namespace filmarin
