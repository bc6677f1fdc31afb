// SPDX-License-Identifier: GPL-3.0-or-later
#include "playbackrun.h"

#include "commandline.h"
#include "platform/process.h"
#include "playercheck.h"
#include "table/tablecheck.h"

#include <QDir>

namespace filmarin {

PlaybackRun::PlaybackRun(RunValues values, PauseChoice& pause, ControlLock& controls,
                         PlayerStarter& player, MessageSink& messages)
    : m_values(values), m_pause(pause), m_controls(controls), m_player(player),
      m_messages(messages) {}

QString nothingSelectedMessage() {
    return QStringLiteral("Sie haben keine Zeiten eingegeben oder keine Ausschnitte ausgewählt "
                          "(Häckchen unter \"Abspielen\")");
}

QString playerNotStartedMessage(const QString& playerPath) {
    return QStringLiteral("Der Player \"%1\" kann nicht gestartet werden. Bitte prüfen Sie, ob "
                          "er noch vorhanden ist, und wählen Sie dann wieder \"Abspielen\".")
        .arg(QDir::toNativeSeparators(playerPath));
}

bool takeTickedExcerpts(const MediaSource& source, ExcerptTable& table, ExcerptSpans& spans,
                        TableView& view, MessageSink& messages,
                        const std::function<void()>& failed) {
    if (!sourceAvailable(source)) {
        failed();
        showChooseSourceMessage(messages);
        return false;
    }
    if (!checkTable(table, view)) {
        failed();
        return false;
    }
    if (!computeSpans(table, spans, view.play)) {
        failed();
        messages.showMessage(QStringLiteral("Information"), nothingSelectedMessage(),
                             MessageIcon::Information);
        return false;
    }
    writeTableToGrids(table, view);
    showTotal(spans, view.total);
    return true;
}

void PlaybackRun::start() {
    m_controls.LockControls();
    if (!takeTickedExcerpts(m_values.source, m_values.table, m_values.spans, m_values.view,
                            m_messages, [this] { m_controls.UnlockControls(); }))
        return;
    m_pause.FillExcerptChoice(m_values.spans);
    m_nextExcerpt = 1;
    m_failed = false;
    if (!locatePlayer(m_values.programFolder, m_values.playerPath, m_messages)) {
        m_controls.UnlockControls();
        return;
    }
    offerNextSegment();
}

bool PlaybackRun::continues() {
    if (m_nextExcerpt <= kExcerptCount && !m_failed)
        return true;
    m_controls.UnlockControls();
    endShowing();
    return false;
}

void PlaybackRun::offerNextSegment() {
    if (!continues())
        return;
    m_pause.PreselectExcerpt(m_nextExcerpt);
    m_pause.showChoice();
}

void PlaybackRun::playNextSegment() {
    const SegmentInputs inputs{
        m_values.source,      m_values.table,
        m_values.spans,       m_values.view.pauses,
        m_values.imageFolder, m_showing ? m_showing->playerScreen() : std::nullopt};
    const QString parameters = buildSegmentCommandLine(inputs, m_nextExcerpt);
    m_controls.LockControls();
    PlayerWatch watch;
    if (m_showing) {
        m_showing->playerStarts(m_values.source.kind != SourceKind::AudioCd);
        watch = [showing = m_showing](const platform::ProcessInformation& player) {
            showing->playerRuns(player);
        };
    }
    const PlayerOutcome outcome =
        m_player.RunPlayer(platform::Priority::High, m_values.playerPath, parameters, watch);
    const std::optional<QString> misplaced = m_showing ? m_showing->playerEnded() : std::nullopt;
    switch (outcome) {
    case PlayerOutcome::Played:
        if (misplaced)
            m_messages.postMessage(QStringLiteral("Information"), *misplaced, MessageIcon::Warning);
        break;
    case PlayerOutcome::Closing:
        // The window was closed while the player ran: the program is ending.
        endShowing();
        return;
    case PlayerOutcome::NotStarted:
    case PlayerOutcome::Failed:
        // Nothing would play on OK either: the run ends and says why.
        m_failed = true;
        m_controls.UnlockControls();
        endShowing();
        // Said from the timer that started the segment: posted, as nothing waits for it.
        m_messages.postMessage(QStringLiteral("Fehler"),
                               playerNotStartedMessage(m_values.playerPath), MessageIcon::Error);
        return;
    }
    offerNextSegment();
}

void PlaybackRun::endShowing() {
    if (m_showing)
        m_showing->runEnded();
}

void PlaybackRun::continueWith(std::int32_t excerpt) {
    m_nextExcerpt = excerpt;
    m_coverWaits = 0;
    if (m_showing)
        m_showing->segmentChosen();
    m_player.scheduleSegment();
}

bool PlaybackRun::segmentMayStart() {
    if (m_showing && !m_showing->readyForPlayer() && m_coverWaits < kMostCoverWaits) {
        ++m_coverWaits;
        return false;
    }
    m_coverWaits = 0;
    return true;
}

void PlaybackRun::endAtPause() {
    m_controls.UnlockControls();
    endShowing();
}

} // namespace filmarin
