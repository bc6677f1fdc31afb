#include "unit1.h"

#include "dialogweiter.h"
#include "platform/folders.h"
#include "platform/process.h"
#include "playback/commandline.h"
#include "playback/playercheck.h"
#include "playback/titlecards.h"
#include "table/tablecheck.h"
#include "table/textops.h"
#include "timesfile/timesfile.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace filmarin {

namespace {

QFrame* makePanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setAutoFillBackground(true);
    return panel;
}

QStringList numberedItems(int count, bool pairs) {
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << (pairs ? QStringLiteral("%1-%2").arg(i).arg(i + 1) : QString::number(i));
    return items;
}

template <typename T> T* named(T* object, const char* name) {
    object->setObjectName(QLatin1String(name));
    return object;
}

const QString kTimesFilter = QStringLiteral("Zeitendatei (*.zei)");

} // namespace

TForm1::TForm1(WindowEnvironment environment, QWidget* parent)
    : QMainWindow(parent), m_environment(std::move(environment)) {
    if (m_environment.messages) {
        m_messages = m_environment.messages;
    } else {
        m_ownMessages = std::make_unique<MessageBoxSink>(this);
        m_messages = m_ownMessages.get();
    }
    createComponents();
    FormCreate();
}

TForm1::~TForm1() {
    // Qt's file dialog writes its state (last folder, layout) into the user's settings when
    // it is destroyed: a settings file, or on Windows the registry. The program keeps no
    // settings, so its file dialogs are left undestroyed, and the process ends with them.
    static QList<QFileDialog*> keptUndestroyed;
    for (QFileDialog* dialog : {OpenDialogVideo, OpenDialogZeiten, SaveDialogZeiten}) {
        if (dialog) {
            dialog->setParent(nullptr);
            keptUndestroyed.append(dialog);
        }
    }
}

// The components as the window's template holds them, before FormCreate arranges them.
void TForm1::createComponents() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Filmarin 2.2 abspielen mit VLC "));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);

    MainMenu1 = named(menuBar(), "MainMenu1");
    Video1 = named(MainMenu1->addMenu(QStringLiteral("Video")), "Video1");
    DVD1 = named(Video1->addAction(QStringLiteral("Video-DVD/CD öffnen")), "DVD1");
    Datei1 = named(Video1->addAction(QStringLiteral("Video-Datei öffnen")), "Datei1");
    Ausschnitte1 = named(MainMenu1->addMenu(QStringLiteral("Zeiten")), "Ausschnitte1");
    ffnen1 = named(Ausschnitte1->addAction(QStringLiteral("öffnen")), "ffnen1");
    speichern1 = named(Ausschnitte1->addAction(QStringLiteral("speichern")), "speichern1");
    allel1 = named(Ausschnitte1->addAction(QStringLiteral("alle Zeiten löschen")), "allel1");
    Abspielenlschen1 =
        named(Ausschnitte1->addAction(QStringLiteral("alle Einträge \"Abspielen\" löschen")),
              "Abspielenlschen1");
    alleabspielen1 =
        named(Ausschnitte1->addAction(QStringLiteral("Alle Einträge \"Abspielen\" markieren")),
              "alleabspielen1");
    allePausen1 =
        named(Ausschnitte1->addAction(QStringLiteral("alle Pausen markieren")), "allePausen1");
    Pausenlschen1 =
        named(Ausschnitte1->addAction(QStringLiteral("alle Pausen löschen")), "Pausenlschen1");
    itelauf1setzen1 =
        named(Ausschnitte1->addAction(QStringLiteral("alle Titelnummern auf 1 setzen")),
              "itelauf1setzen1");
    Bemerkungenlschen1 = named(Ausschnitte1->addAction(QStringLiteral("Standardüberschriften")),
                               "Bemerkungenlschen1");
    Sprache1 = named(MainMenu1->addMenu(QStringLiteral("Sprache")), "Sprache1");
    m_languages = new QActionGroup(this);
    m_languages->setExclusive(true);
    const auto language = [this](const QString& caption, const char* name) {
        QAction* action = named(Sprache1->addAction(caption), name);
        action->setCheckable(true);
        m_languages->addAction(action);
        return action;
    };
    deutsch1 = language(QStringLiteral("deutsch"), "deutsch1");
    englisch1 = language(QStringLiteral("englisch"), "englisch1");
    franzsisch1 = language(QStringLiteral("französisch"), "franzsisch1");
    spanisch1 = language(QStringLiteral("spanisch"), "spanisch1");
    italienisch1 = language(QStringLiteral("italienisch"), "italienisch1");
    deutsch1->setChecked(true);
    Abspielen1 = named(MainMenu1->addAction(QStringLiteral("Abspielen")), "Abspielen1");
    Info1 = named(MainMenu1->addAction(QStringLiteral("Info")), "Info1");

    Panel1 = named(makePanel(client), "Panel1");
    Panel2 = named(makePanel(client), "Panel2");
    StaticText6 = named(new StaticText(QStringLiteral("Überschrift"), Panel1), "StaticText6");
    StringGrid4 = named(new StringGrid(1, Panel1), "StringGrid4");
    StaticText5 = named(new StaticText(QStringLiteral("Titel Nr."), Panel1), "StaticText5");
    StringGrid3 = named(new StringGrid(0, Panel1), "StringGrid3");
    StaticText1 = named(new StaticText(QStringLiteral("Startzeiten"), Panel1), "StaticText1");
    StringGrid1 = named(new StringGrid(0, Panel1), "StringGrid1");
    StaticText2 = named(new StaticText(QStringLiteral("Stoppzeiten"), Panel1), "StaticText2");
    StringGrid2 = named(new StringGrid(0, Panel1), "StringGrid2");
    StaticText4 = named(new StaticText(QStringLiteral("Abspielen"), Panel1), "StaticText4");
    CheckListBox2 = named(new CheckListBox(numberedItems(20, false), 25, Panel1), "CheckListBox2");
    StaticText3 = named(new StaticText(QStringLiteral("Pausen"), Panel1), "StaticText3");
    CheckListBox1 = named(new CheckListBox(numberedItems(19, true), 25, Panel1), "CheckListBox1");
    Button1 =
        named(new QPushButton(QStringLiteral("Anzeige Gesamtspielzeit aktualisieren"), Panel2),
              "Button1");
    LabeledEdit1 = named(new LabeledEdit(QStringLiteral("Ausgewählte Gesamtspielzeit:   "), Panel2),
                         "LabeledEdit1");
    LabeledEdit1->setText(QStringLiteral("0h 0min 0sec"));
    StringGrid1->setShape(3, 21);
    StringGrid2->setShape(3, 21);
    StringGrid3->setShape(1, 21);
    StringGrid4->setShape(2, 21);
    StringGrid4->setMarkedCells(
        [this](int column, int row) { return isLabelMarked(m_spans, column, row); });

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(10);
    Timer2 = named(new QTimer(this), "Timer2");
    Timer2->setInterval(50);

    m_view = std::make_unique<TableView>(TableView{*StringGrid1, *StringGrid2, *StringGrid3,
                                                   *StringGrid4, *CheckListBox1, *CheckListBox2,
                                                   *LabeledEdit1, *m_messages});

    connect(DVD1, &QAction::triggered, this, &TForm1::DVD1Click);
    connect(Datei1, &QAction::triggered, this, &TForm1::Datei1Click);
    connect(ffnen1, &QAction::triggered, this, &TForm1::ffnen1Click);
    connect(speichern1, &QAction::triggered, this, &TForm1::speichern1Click);
    connect(Abspielen1, &QAction::triggered, this, &TForm1::Abspielen1Click);
    connect(Info1, &QAction::triggered, this, &TForm1::Info1Click);
    connect(allel1, &QAction::triggered, this, &TForm1::allel1Click);
    connect(Abspielenlschen1, &QAction::triggered, this, &TForm1::Abspielenlschen1Click);
    connect(alleabspielen1, &QAction::triggered, this, &TForm1::alleabspielen1Click);
    connect(allePausen1, &QAction::triggered, this, &TForm1::allePausen1Click);
    connect(Pausenlschen1, &QAction::triggered, this, &TForm1::Pausenlschen1Click);
    connect(itelauf1setzen1, &QAction::triggered, this, &TForm1::itelauf1setzen1Click);
    connect(Bemerkungenlschen1, &QAction::triggered, this, &TForm1::Bemerkungenlschen1Click);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    for (StringGrid* grid : {StringGrid1, StringGrid2, StringGrid3, StringGrid4})
        connect(grid, &StringGrid::gridClicked, this, &TForm1::RefreshTotals);
    for (CheckListBox* list : {CheckListBox1, CheckListBox2})
        connect(list, &CheckListBox::listClicked, this, &TForm1::RefreshTotals);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
}

void TForm1::FormCreate() {
    platform::raiseOwnPriority();
    ArrangeWindow();
    Timer1->stop();
    Timer2->stop();
    SetColumnWidths();

    if (m_environment.documentsFolder) {
        m_documentsFolder = *m_environment.documentsFolder;
    } else {
        std::string path;
        if (platform::specialFolderPath(reinterpret_cast<void*>(winId()),
                                        platform::kDocumentsFolderId, path))
            m_documentsFolder = QString::fromLocal8Bit(path);
        else
            m_documentsFolder = QStringLiteral("c:");
    }
    m_timesFileVersion = 11;
    Abspielen1->setEnabled(false);
    m_source = MediaSource{};
    m_programFolder = m_environment.programFolder
                          ? *m_environment.programFolder
                          : QString::fromLocal8Bit(platform::programFolder());
    m_table.init();
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

void TForm1::ArrangeWindow() {
    move(605, 240);
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(15);
    windowFont.setStyleHint(QFont::SansSerif);
    // Whole-pixel glyph widths, as Windows draws Arial: captions measured for Windows fit.
    windowFont.setHintingPreference(QFont::PreferFullHinting);
    centralWidget()->setFont(windowFont);
    centralWidget()->setFixedSize(873, 617);
    setAutoFillBackground(true);

    Panel1->setGeometry(0, 0, 873, 561);
    StaticText6->setGeometry(112, 1, 97, 17);
    StringGrid4->setGeometry(16, 26, 201, 537);
    QFont narrow(QStringLiteral("Arial Narrow"));
    narrow.setPixelSize(16);
    narrow.setHintingPreference(QFont::PreferFullHinting);
    StringGrid4->setFont(narrow);
    StaticText5->setGeometry(216, 1, 65, 17);
    StringGrid3->setGeometry(216, 26, 73, 535);
    StaticText1->setGeometry(289, 2, 216, 17);
    StringGrid1->setGeometry(289, 26, 224, 535);
    StaticText2->setGeometry(512, 2, 217, 17);
    StringGrid2->setGeometry(513, 26, 224, 535);
    StaticText4->setGeometry(736, 1, 65, 17);
    CheckListBox2->setGeometry(744, 49, 49, CheckListBox2->wholeItemsHeight(504));
    StaticText3->setGeometry(808, 1, 57, 17);
    CheckListBox1->setGeometry(800, 65, 65, CheckListBox1->wholeItemsHeight(488));
    // The ticks stand beside the rows, whatever frames the style draws: play tick k in the
    // middle of row k, pause tick "k-(k+1)" on the grid line between rows k and k+1.
    const int firstRowTop = StringGrid1->y() + StringGrid1->frameWidth() + StringGrid::kRowPitch;
    CheckListBox2->alignTicks(firstRowTop + StringGrid::kRowHeight / 2);
    CheckListBox1->alignTicks(firstRowTop + StringGrid::kRowHeight);

    Panel2->setGeometry(0, 560, 873, 57);
    Button1->setGeometry(392, 8, 257, 41);
    LabeledEdit1->place(248, 16, 121, 36, 208, 17);
    // Panel2 overlaps Panel1 by one pixel and lies on top of it.
    Panel2->raise();
    adjustSize();
    // The window keeps the size its form gives it, so it offers no maximize button.
    setFixedSize(size());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
}

void TForm1::SetColumnWidths() {
    for (StringGrid* grid : {StringGrid1, StringGrid2}) {
        for (int column = 0; column < 3; ++column)
            grid->setColumnWidth(column, 70);
    }
    StringGrid3->setColumnWidth(0, 65);
    StringGrid4->setColumnWidth(0, 95);
    StringGrid4->setColumnWidth(1, 95);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_centred && screen()) {
        m_centred = true;
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm1::RefreshTotals() {
    refreshTotals(m_table, m_spans, *m_view);
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
    for (QAction* item : {Video1->menuAction(), Ausschnitte1->menuAction(), Sprache1->menuAction(),
                          Abspielen1, Info1})
        item->setEnabled(enabled);
    Panel1->setEnabled(enabled);
    Panel2->setEnabled(enabled);
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
            m_table.audioLanguageCode = QLatin1String(code);
            return;
        }
    }
    m_table.audioLanguageCode = QStringLiteral("de");
}

void TForm1::MenuFromLanguageCode() {
    const std::pair<const char*, QAction*> codes[] = {{"de", deutsch1},
                                                      {"en", englisch1},
                                                      {"fr", franzsisch1},
                                                      {"es", spanisch1},
                                                      {"it", italienisch1}};
    for (const auto& [code, item] : codes) {
        if (equalsIgnoreCase(m_table.audioLanguageCode, QLatin1String(code))) {
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
    m_playerPath = playerPathIn(m_programFolder);
    return checkPlayerVersion(m_playerPath, *m_messages);
}

// The file dialogs are made when first used: making them costs start-up time.
QFileDialog& TForm1::openDialogVideo() {
    if (!OpenDialogVideo) {
        OpenDialogVideo = named(new QFileDialog(this), "OpenDialogVideo");
        OpenDialogVideo->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialogVideo->setFileMode(QFileDialog::AnyFile);
        OpenDialogVideo->setOption(QFileDialog::HideNameFilterDetails);
        OpenDialogVideo->setNameFilter(QStringLiteral("Alle Video-Datein (*)"));
        OpenDialogVideo->setSizeGripEnabled(true);
    }
    return *OpenDialogVideo;
}

QFileDialog& TForm1::openDialogZeiten() {
    if (!OpenDialogZeiten) {
        OpenDialogZeiten = named(new QFileDialog(this), "OpenDialogZeiten");
        OpenDialogZeiten->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialogZeiten->setFileMode(QFileDialog::ExistingFile);
        OpenDialogZeiten->setNameFilter(kTimesFilter);
        OpenDialogZeiten->setDefaultSuffix(QStringLiteral("zei"));
        OpenDialogZeiten->setSizeGripEnabled(true);
    }
    return *OpenDialogZeiten;
}

QFileDialog& TForm1::saveDialogZeiten() {
    if (!SaveDialogZeiten) {
        SaveDialogZeiten = named(new QFileDialog(this), "SaveDialogZeiten");
        SaveDialogZeiten->setAcceptMode(QFileDialog::AcceptSave);
        SaveDialogZeiten->setFileMode(QFileDialog::AnyFile);
        SaveDialogZeiten->setNameFilter(kTimesFilter);
        SaveDialogZeiten->setDefaultSuffix(QStringLiteral("zei"));
        SaveDialogZeiten->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return *SaveDialogZeiten;
}

std::optional<QString> TForm1::runFileDialog(QFileDialog& dialog) {
    if (m_environment.runFileDialog)
        return m_environment.runFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
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
    if (takeVideoFile(m_source, *path, *m_messages))
        Abspielen1->setEnabled(true);
}

TimesFileContext TForm1::timesFileContext() {
    return TimesFileContext{m_table,
                            m_spans,
                            *m_view,
                            [this] { LanguageCodeFromMenu(); },
                            [this] { MenuFromLanguageCode(); },
                            [this] { RefreshTotals(); },
                            [this] { StringGrid4->viewport()->update(); }};
}

void TForm1::ffnen1Click() {
    QFileDialog& dialog = openDialogZeiten();
    dialog.setDirectory(m_documentsFolder);
    const std::optional<QString> path = runFileDialog(dialog);
    if (!path)
        return;
    TimesFileContext context = timesFileContext();
    loadTimesFile(*path, context);
}

void TForm1::speichern1Click() {
    QFileDialog& dialog = saveDialogZeiten();
    dialog.setDirectory(m_documentsFolder);
    const std::optional<QString> path = runFileDialog(dialog);
    if (!path)
        return;
    TimesFileContext context = timesFileContext();
    saveTimesFile(*path, context);
}

void TForm1::Abspielen1Click() {
    const CardResult cards =
        writeTitleCards(*StringGrid4, m_documentsFolder, m_programFolder, m_imageFolder);
    if (!cards.ok) {
        m_messages->showMessage(QStringLiteral("Fehler"), cards.error, MessageIcon::Error);
        return;
    }
    StartRun();
}

void TForm1::StartRun() {
    Timer1->stop();
    LanguageCodeFromMenu();
    LockControls();
    if (!sourceAvailable(m_source)) {
        UnlockControls();
        showChooseSourceMessage(*m_messages);
        return;
    }
    if (!checkTable(m_table, *m_view)) {
        UnlockControls();
        return;
    }
    if (!computeSpans(m_table, m_spans, *CheckListBox2)) {
        UnlockControls();
        m_messages->showMessage(
            QStringLiteral("Information"),
            QStringLiteral("Sie haben keine Zeiten eingegeben oder keine Ausschnitte ausgewählt "
                           "(Häckchen unter \"Abspielen\")"),
            MessageIcon::Information);
        StringGrid4->viewport()->update();
        return;
    }
    writeTableToGrids(m_table, *m_view);
    showTotal(m_spans, *LabeledEdit1);
    StringGrid4->viewport()->update();
    if (m_pauseDialog)
        m_pauseDialog->FillExcerptChoice(m_spans);
    m_nextExcerpt = 1;
    m_runFailed = false;
    if (!LocatePlayer()) {
        UnlockControls();
        return;
    }
    OfferNextSegment();
}

bool TForm1::RunContinues() {
    if (m_nextExcerpt <= kExcerptCount && !m_runFailed)
        return true;
    UnlockControls();
    return false;
}

void TForm1::OfferNextSegment() {
    if (!RunContinues() || !m_pauseDialog)
        return;
    m_pauseDialog->PreselectExcerpt(m_nextExcerpt);
    m_pauseDialog->show();
    m_pauseDialog->raise();
    m_pauseDialog->activateWindow();
}

void TForm1::PlayNextSegment() {
    const SegmentInputs inputs{m_source, m_table, m_spans, *CheckListBox1, m_imageFolder};
    const QString parameters = buildSegmentCommandLine(inputs, m_nextExcerpt);
    LockControls();
    m_closingFlag = false;
    if (!RunPlayer(platform::kPriorityHigh, m_playerPath, parameters))
        m_runFailed = true;
    // The window was closed while the player ran: the program is ending.
    if (m_closingFlag)
        return;
    OfferNextSegment();
}

bool TForm1::RunPlayer(int priorityMode, const QString& programFile, const QString& parameters) {
    try {
        platform::runProgram(
            priorityMode, QFile::encodeName(programFile).toStdString(),
            parameters.toLocal8Bit().toStdString(), std::string(), true,
            [this](const platform::ProcessInformation&, bool& terminate) { IsClosing(terminate); },
            [] { QCoreApplication::processEvents(QEventLoop::AllEvents); });
    } catch (...) {
        return false;
    }
    return true;
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
    PlayNextSegment();
}

void TForm1::Timer2Timer() {
    Timer2->stop();
    LocatePlayer();
}

void TForm1::FormClose() {
    m_closingFlag = true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
    emit closed();
}

} // namespace filmarin
