// SPDX-License-Identifier: GPL-3.0-or-later
#include "previewsession.h"

#include "platform/channel.h"
#include "platformtext/platformtext.h"

#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace filmarin {

namespace {
constexpr int kEndMilliseconds = 1000;
}

void PreviewSession::DeleteLater::operator()(RcPlayerControl* control) const {
    // The control may be calling back right now: it falls silent at once and goes once that
    // call has returned.
    control->dismiss();
    control->deleteLater();
}

PreviewSession::PreviewSession(QObject* parent) : QObject(parent) {}

PreviewSession::~PreviewSession() {
    if (m_control)
        m_control->quit();
    // Nothing of the control is on the stack now: it goes at once; the players then go with
    // their members, each with what it started.
    delete m_control.release();
}

bool PreviewSession::start(const QString& playerPath, const MediaSource& source,
                           const ExcerptTable& table, int row) {
    end();
    auto place = std::make_unique<platform::ChannelPlace>();
    if (place->address().empty())
        return false;
    const PreviewStart from = previewStart(table, row);
    const QString parameters = buildPreviewCommandLine(
        source, from.title, from.startSecond, QString::fromStdString(place->playerOptions()));
    // What the player's interface says on its standard output is not for the user.
    std::unique_ptr<platform::StartedProgram> player = platform::startProgram(
        platform::Priority::Normal, toPlatform(playerPath), toPlatform(parameters),
        toPlatform(QFileInfo(playerPath).absolutePath()), platform::Output::Discarded);
    if (!player)
        return false;
    m_player = std::move(player);
    m_place = std::move(place);
    m_withTitle = source.kind == SourceKind::DvdVideo;
    const std::string address = m_place->address();
    m_control.reset(new RcPlayerControl([address] { return platform::connectChannel(address); }));
    // The preview lasts as long as the player's channel: a launcher may hand over to the
    // real player and end before it, and a player that never listens, or stops, has gone.
    m_control->whenGone([this] { end(); });
    return true;
}

void PreviewSession::end() {
    if (!m_player)
        return;
    if (m_control)
        m_control->quit();
    // Given a second to end by itself, then ended with what it started.
    platform::StartedProgram* ending = m_player.get();
    m_ending.push_back(std::move(m_player));
    QTimer::singleShot(kEndMilliseconds, this, [this, ending] {
        for (auto it = m_ending.begin(); it != m_ending.end(); ++it) {
            if (it->get() == ending) {
                m_ending.erase(it);
                return;
            }
        }
    });
    finish();
}

void PreviewSession::finish() {
    m_control.reset();
    m_place.reset();
    emit ended();
}

void PreviewSession::takePosition(TakenTime which, int row) {
    if (!m_control)
        return;
    const bool withTitle = m_withTitle;
    QPointer<PreviewSession> self(this);
    m_control->askTime([self, which, row, withTitle](std::optional<std::int64_t> seconds) {
        if (!self)
            return;
        // Said from the event loop, once the channel's answer has returned.
        QTimer::singleShot(0, self, [self, which, row, withTitle, seconds] {
            if (!seconds) {
                emit self->noPosition();
                return;
            }
            const TakenPosition position{which, row, *seconds, std::nullopt};
            if (withTitle)
                self->askTitle(position);
            else
                emit self->positionTaken(position);
        });
    });
}

void PreviewSession::askTitle(const TakenPosition& position) {
    // The title is asked after the time; a player gone meanwhile gives the time alone.
    if (!m_control) {
        emit positionTaken(position);
        return;
    }
    QPointer<PreviewSession> self(this);
    m_control->askTitle([self, position](std::optional<std::int64_t> title) {
        if (!self)
            return;
        QTimer::singleShot(0, self, [self, position, title] {
            TakenPosition taken = position;
            taken.title = title;
            emit self->positionTaken(taken);
        });
    });
}

} // namespace filmarin
