// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands: what its menus, buttons and timers do.
#include "unit1.h"

#include "platform/folders.h"
#include "platform/process.h"
#include "platformtext/platformtext.h"
#include "playback/playercheck.h"
#include "playback/playerprocess.h"
#include "playback/playlist.h"
#include "playback/titlecards.h"
#include "table/tablecheck.h"
#include "table/textops.h"
#include "timesfile/timesfile.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace filmarin {

TForm1::TForm1(ProgramValues& values, WindowEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_values(values), m_environment(std::move(environment)) {
    m_messages = m_environment.messages ? m_environment.messages : this;
    createComponents();
    m_preview = new PreviewSession(this);
    connect(m_preview, &PreviewSession::ended, this, &TForm1::previewEnded);
    connect(m_preview, &PreviewSession::positionTaken, this, [this](const TakenPosition& position) {
        // The table is checked as after a click into it; what the check says is posted, as
        // this comes from the player's answer.
        PostedMessages posted(*m_messages);
        TableView& shown = view();
        TableView answered{shown.startTimes, shown.stopTimes, shown.titles, shown.headings,
                           shown.pauses,     shown.play,      shown.total,  posted};
        takeIntoRow(answered, position.row, position.which, position.seconds, position.title);
        refreshTotals(m_values.table, m_values.spans, answered);
        StringGrid4->viewport()->update();
    });
    connect(m_preview, &PreviewSession::noPosition, this, [this] {
        m_messages->postMessage(QStringLiteral("Information"), positionNotGivenMessage(),
                                MessageIcon::Information);
    });
    FormCreate();
}

TForm1::~TForm1() {
    if (m_versionCheck)
        m_versionCheck->whenAnswered({});
    // Qt's file dialog writes its state (last folder, layout) into the user's settings when
    // it is destroyed: a settings file, or on Windows the registry. The program keeps no
    // settings, so its file dialogs are left undestroyed, and the process ends with them.
    static QList<QFileDialog*> keptUndestroyed;
    for (QFileDialog* dialog :
         {OpenDialogVideo, OpenDialogZeiten, SaveDialogZeiten, m_saveDialogPlaylist}) {
        if (dialog) {
            dialog->setParent(nullptr);
            keptUndestroyed.append(dialog);
        }
    }
}

QMessageBox* TForm1::makeMessageBox(const PostedMessage& message) {
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (message.icon == MessageIcon::Warning)
        boxIcon = QMessageBox::Warning;
    else if (message.icon == MessageIcon::Error)
        boxIcon = QMessageBox::Critical;
    // A carriage return alone ends a line in the program's texts, as in Windows boxes.
    QString shown = message.text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    auto* box = new QMessageBox(boxIcon, message.caption, shown, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    return box;
}

void TForm1::showMessage(const QString& caption, const QString& text, MessageIcon icon) {
    const std::unique_ptr<QMessageBox> box(makeMessageBox({caption, text, icon}));
    box->exec();
}

void TForm1::postMessage(const QString& caption, const QString& text, MessageIcon icon) {
    m_posted.push_back({caption, text, icon});
    if (!m_postedBox)
        showNextPosted();
}

void TForm1::afterPosted(std::function<void()> then) {
    if (m_postedBox)
        m_afterPosted.push_back(std::move(then));
    else
        then();
}

void TForm1::showNextPosted() {
    if (m_posted.empty()) {
        // Each may post again, or wait for what it posts.
        std::vector<std::function<void()>> waiting;
        waiting.swap(m_afterPosted);
        for (const std::function<void()>& then : waiting) {
            if (m_postedBox)
                m_afterPosted.push_back(then);
            else
                then();
        }
        return;
    }
    QMessageBox* box = makeMessageBox(m_posted.front());
    m_posted.pop_front();
    m_postedBox = box;
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal as a shown box is, without a loop of its own.
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QDialog::finished, this, [this] {
        m_postedBox.clear();
        showNextPosted();
    });
    box->show();
}

void TForm1::FormCreate() {
    platform::raiseOwnPriority();
    ArrangeWindow();
    Timer1->stop();
    Timer2->stop();
    SetColumnWidths();

    if (m_environment.documentsFolder) {
        m_values.documentsFolder = *m_environment.documentsFolder;
    } else {
        // The system takes no owner window for this question: asking with the window's
        // handle would make the window before its scale is fitted to the screen.
        std::string path;
        if (platform::specialFolderPath(nullptr, platform::kDocumentsFolderId, path))
            m_values.documentsFolder = fromPlatform(path);
        else
            m_values.documentsFolder = QStringLiteral("c:");
    }
    Abspielen1->setEnabled(false);
    m_values.source = MediaSource{};
    m_values.programFolder = m_environment.programFolder ? *m_environment.programFolder
                                                         : fromPlatform(platform::programFolder());
    m_values.table.init();
    TickAllPlay();
    StringGrid1->setShape(3, 21);
    StringGrid2->setShape(3, 21);
    StringGrid3->setShape(1, 21);
    StringGrid4->setShape(2, 21);
    labelGrids(*m_view);
    ZeroAllTimes();
    SetStandardHeadings();
    PresetFirstStopHour();
    RefreshTotals();
    Timer2->start();
}

void TForm1::RefreshTotals() {
    refreshTotals(m_values.table, m_values.spans, *m_view);
    StringGrid4->viewport()->update();
}

void TForm1::ZeroAllTimes() {
    for (StringGrid* grid : {StringGrid1, StringGrid2}) {
        for (int row = 1; row < grid->rowCount(); ++row) {
            for (int column = 0; column < grid->columnCount(); ++column)
                grid->setCell(column, row, QStringLiteral("0"));
        }
    }
    RefreshTotals();
}

void TForm1::SetAllTitleNumbersToOne() {
    for (int row = 1; row < StringGrid3->rowCount(); ++row) {
        for (int column = 0; column < StringGrid3->columnCount(); ++column)
            StringGrid3->setCell(column, row, QStringLiteral("1"));
    }
    RefreshTotals();
}

void TForm1::SetStandardHeadings() {
    for (int row = 1; row < StringGrid4->rowCount(); ++row) {
        for (int column = 1; column < StringGrid4->columnCount(); ++column)
            StringGrid4->setCell(column, row, QStringLiteral("Ausschnitt ") + QString::number(row));
    }
    RefreshTotals();
}

void TForm1::PresetFirstStopHour() {
    StringGrid2->setCell(0, 1, QStringLiteral("10"));
}

void TForm1::TickAllPlay() {
    CheckListBox2->setAllChecked(true);
    RefreshTotals();
}

void TForm1::UntickAllPlay() {
    CheckListBox2->setAllChecked(false);
    RefreshTotals();
}

void TForm1::TickAllPauses() {
    CheckListBox1->setAllChecked(true);
}

void TForm1::UntickAllPauses() {
    CheckListBox1->setAllChecked(false);
}

void TForm1::setControlsEnabled(bool enabled) {
    // The preview's commands are locked with the menus: their shortcuts would work on.
    Vorschau1->setEnabled(enabled);
    Startzeituebernehmen1->setEnabled(enabled && m_preview && m_preview->running());
    Stoppzeituebernehmen1->setEnabled(enabled && m_preview && m_preview->running());
    for (QAction* item : {Video1->menuAction(), Ausschnitte1->menuAction(), Sprache1->menuAction(),
                          Vorfuehrung1->menuAction(), Abspielen1, Info1})
        item->setEnabled(enabled);
    Panel1->setEnabled(enabled);
    Panel2->setEnabled(enabled);
    m_unlocked = enabled;
    enableDiscCommands();
}

void TForm1::enableDiscCommands() {
    TitelundKapitel1->setEnabled(m_unlocked && m_titlesRead &&
                                 m_values.source.kind == SourceKind::DvdVideo);
}

void TForm1::LockControls() {
    setControlsEnabled(false);
}

void TForm1::UnlockControls() {
    setControlsEnabled(true);
}

void TForm1::LanguageCodeFromMenu() {
    const std::pair<QAction*, const char*> items[] = {{deutsch1, "de"},
                                                      {englisch1, "en"},
                                                      {franzsisch1, "fr"},
                                                      {spanisch1, "es"},
                                                      {italienisch1, "it"}};
    for (const auto& [item, code] : items) {
        if (item->isChecked()) {
            m_values.table.audioLanguageCode = QLatin1String(code);
            return;
        }
    }
    m_values.table.audioLanguageCode = QStringLiteral("de");
}

void TForm1::MenuFromLanguageCode() {
    const std::pair<const char*, QAction*> codes[] = {{"de", deutsch1},
                                                      {"en", englisch1},
                                                      {"fr", franzsisch1},
                                                      {"es", spanisch1},
                                                      {"it", italienisch1}};
    for (const auto& [code, item] : codes) {
        if (equalsIgnoreCase(m_values.table.audioLanguageCode, QLatin1String(code))) {
            item->setChecked(true);
            return;
        }
    }
}

QString TForm1::infoText() {
    const QStringList lines = {
        QStringLiteral("Filmarin abspielen mit VLC"),
        QString(),
        QString(),
        QString(),
        QString(),
        QString(),
        QStringLiteral("Diese Software funktioniert nur dann, wenn sie sich"),
        QStringLiteral("im Verzeichnis des kostenlosen VLC-Players befindet,"),
        QStringLiteral("d.h., im gleichen Verezeichnis wie vlcportable.exe oder vlc.exe."),
        QStringLiteral("Außerdem muss vlcportable.exe mindestens die Version 1.7"),
        QStringLiteral("und vlc.exe mindestens die Version 2.0 besitzen."),
    };
    return lines.join(QLatin1Char('\r'));
}

bool TForm1::LocatePlayer() {
    return locatePlayer(m_values.programFolder, m_values.playerPath, *m_messages);
}

void TForm1::DVD1Click() {
    LockControls();
    if (m_discBrowser) {
        m_discBrowser->show();
        m_discBrowser->raise();
        m_discBrowser->activateWindow();
    }
}

void TForm1::Datei1Click() {
    const std::optional<QString> path = runFileDialog(openDialogVideo());
    if (!path)
        return;
    Abspielen1->setEnabled(false);
    const bool found = takeVideoFile(m_values.source, *path, *m_messages);
    enableDiscCommands();
    if (found)
        Abspielen1->setEnabled(true);
}

void TForm1::takeDisc(const QString& drive, SourceKind kind) {
    m_values.source.driveRoot = drive;
    m_values.source.kind = kind;
    Abspielen1->setEnabled(true);
    enableDiscCommands();
}

TimesFileContext TForm1::timesFileContext() {
    return TimesFileContext{m_values.table,
                            m_values.spans,
                            *m_view,
                            [this] { LanguageCodeFromMenu(); },
                            [this] { MenuFromLanguageCode(); },
                            [this] { RefreshTotals(); },
                            [this] { StringGrid4->viewport()->update(); }};
}

void TForm1::ffnen1Click() {
    QFileDialog& dialog = openDialogZeiten();
    dialog.setDirectory(m_values.documentsFolder);
    const std::optional<QString> path = runFileDialog(dialog);
    if (!path)
        return;
    TimesFileContext context = timesFileContext();
    loadTimesFile(*path, context);
}

void TForm1::speichern1Click() {
    QFileDialog& dialog = saveDialogZeiten();
    dialog.setDirectory(m_values.documentsFolder);
    const std::optional<QString> path = runFileDialog(dialog);
    if (!path)
        return;
    TimesFileContext context = timesFileContext();
    saveTimesFile(*path, context);
}

void TForm1::Abspielen1Click() {
    // The showing takes over from the preview.
    m_preview->end();
    const CardResult cards = writeTitleCards(*StringGrid4, m_values.documentsFolder,
                                             m_values.programFolder, m_values.imageFolder);
    if (!cards.ok) {
        m_messages->showMessage(QStringLiteral("Fehler"), cards.error, MessageIcon::Error);
        return;
    }
    StartRun();
}

void TForm1::StartRun() {
    Timer1->stop();
    LanguageCodeFromMenu();
    m_run->start();
    StringGrid4->viewport()->update();
}

void TForm1::PlayNextSegment() {
    m_run->playNextSegment();
}

PlayerOutcome TForm1::RunPlayer(platform::Priority priority, const QString& programFile,
                                const QString& parameters, const PlayerWatch& watch) {
    m_closingFlag = false;
    // While the window closes, the player is ended.
    return runPlayerProcess(
        priority, programFile, parameters, [this] { return m_closingFlag; }, watch);
}

void TForm1::Info1Click() {
    m_messages->showMessage(QStringLiteral("Informationen"), infoText(), MessageIcon::Information);
}

void TForm1::allel1Click() {
    ZeroAllTimes();
    labelGrids(*m_view);
}

void TForm1::Abspielenlschen1Click() {
    UntickAllPlay();
}

void TForm1::alleabspielen1Click() {
    TickAllPlay();
}

void TForm1::allePausen1Click() {
    TickAllPauses();
}

void TForm1::Pausenlschen1Click() {
    UntickAllPauses();
}

void TForm1::itelauf1setzen1Click() {
    SetAllTitleNumbersToOne();
}

void TForm1::Bemerkungenlschen1Click() {
    SetStandardHeadings();
}

void TForm1::Button1Click() {
    RefreshTotals();
}

void TForm1::Timer1Timer() {
    Timer1->stop();
    // The class's screen is black before the player starts.
    if (m_run && !m_run->segmentMayStart()) {
        Timer1->start();
        return;
    }
    PlayNextSegment();
}

void TForm1::scheduleSegment() {
    Timer1->start();
}

void TForm1::Timer2Timer() {
    Timer2->stop();
    // The player's version is read away from the window's thread: the player may lie on a
    // share that does not answer, and reading it starts the player on Linux. What the check
    // finds is posted: nothing waits in the timer for the user to read it.
    m_values.playerPath = playerPathIn(m_values.programFolder);
    if (m_versionLook && !m_versionCheck)
        m_versionCheck = m_versionLook(m_values.playerPath);
    if (!m_versionCheck) {
        PostedMessages posted(*m_messages);
        checkPlayerVersion(m_values.playerPath, posted);
        return;
    }
    m_versionCheck->whenAnswered([this] {
        QMetaObject::invokeMethod(this, &TForm1::playerVersionRead, Qt::QueuedConnection);
    });
}

bool TForm1::playerChecked() const {
    return !Timer2->isActive() && !m_versionCheck;
}

void TForm1::playerVersionRead() {
    const std::shared_ptr<PendingAnswer<QString>> check = std::exchange(m_versionCheck, nullptr);
    if (!check)
        return;
    if (check->failed || !versionIsRecentEnough(check->value)) {
        PostedMessages posted(*m_messages);
        showPlayerVersionMessage(posted);
    }
}

void TForm1::FormClose() {
    m_closingFlag = true;
    m_preview->end();
}

void TForm1::Vorschau1Click() {
    const int row = m_tableRow;
    if (!sourceAvailable(m_values.source)) {
        showChooseSourceMessage(*m_messages);
        return;
    }
    if (!LocatePlayer())
        return;
    // The row's values as the table check takes them.
    RefreshTotals();
    if (!m_preview->start(m_values.playerPath, m_values.source, m_values.table, row)) {
        m_messages->showMessage(QStringLiteral("Fehler"),
                                playerNotStartedMessage(m_values.playerPath), MessageIcon::Error);
        return;
    }
    Startzeituebernehmen1->setEnabled(true);
    Stoppzeituebernehmen1->setEnabled(true);
}

void TForm1::Startzeituebernehmen1Click() {
    takeFromPreview(TakenTime::Start);
}

void TForm1::Stoppzeituebernehmen1Click() {
    takeFromPreview(TakenTime::Stop);
}

void TForm1::takeFromPreview(TakenTime which) {
    // The row where the cursor is now; the answer comes within a second.
    m_preview->takePosition(which, m_tableRow);
}

void TForm1::previewEnded() {
    Startzeituebernehmen1->setEnabled(false);
    Stoppzeituebernehmen1->setEnabled(false);
}

void TForm1::Wiedergabeliste1Click() {
    // The same checks and values as a showing: the source, the table, the ticked excerpts.
    const bool taken = takeTickedExcerpts(m_values.source, m_values.table, m_values.spans, *m_view,
                                          *m_messages, [] {});
    StringGrid4->viewport()->update();
    if (!taken)
        return;
    QFileDialog& dialog = saveDialogPlaylist();
    dialog.setDirectory(m_values.documentsFolder);
    const std::optional<QString> path = runFileDialog(dialog);
    if (!path)
        return;
    LanguageCodeFromMenu();
    const PlaylistInputs inputs{m_values.source, m_values.table, m_values.spans, *StringGrid4};
    const CardResult saved = savePlaylist(*path, inputs);
    if (!saved.ok)
        m_messages->showMessage(QStringLiteral("Fehler"), saved.error, MessageIcon::Error);
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    emit closed();
}

void TForm1::setTitlesRead(DiscTitlesRead read) {
    m_titlesRead = std::move(read);
    enableDiscCommands();
}

void TForm1::TitelundKapitel1Click() {
    if (m_values.source.kind != SourceKind::DvdVideo || !m_titlesRead)
        return;
    // The choice goes to the row the user touched last.
    titlesDialog().start(m_values.source.driveRoot, m_tableRow, m_titlesRead);
}

TTitelKapitel& TForm1::titlesDialog() {
    if (!m_titlesDialog) {
        m_titlesDialog = new TTitelKapitel(this, *m_messages);
        connect(m_titlesDialog, &TTitelKapitel::excerptsChosen, this, &TForm1::takeTitleExcerpts);
    }
    return *m_titlesDialog;
}

void TForm1::takeTitleExcerpts(const std::vector<TitleExcerpt>& excerpts, int chosenChapters) {
    for (const TitleExcerpt& excerpt : excerpts) {
        takeIntoRow(*m_view, excerpt.row, TakenTime::Start, excerpt.startSecond, excerpt.title);
        takeIntoRow(*m_view, excerpt.row, TakenTime::Stop, excerpt.stopSecond, excerpt.title);
    }
    // Checked and totalled as after a click into the table.
    RefreshTotals();
    if (chosenChapters > 0) {
        const int firstRow = excerpts.empty() ? m_tableRow : excerpts.front().row;
        m_messages->postMessage(
            QStringLiteral("Information"),
            chaptersWrittenMessage(static_cast<int>(excerpts.size()), chosenChapters, firstRow),
            MessageIcon::Information);
    }
}

} // namespace filmarin
