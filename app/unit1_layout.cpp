// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's components and their places: the form as the user sees it.
#include "filedialog.h"
#include "screenfit.h"
#include "table/tablecheck.h"
#include "unit1.h"
#include "version.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
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

// The window's font: Arial with 15-pixel characters.
QFont windowFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setStyleHint(QFont::SansSerif);
    // Whole-pixel glyph widths, as Windows draws Arial: captions measured for Windows fit.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// The headings' font: Arial Narrow with 16-pixel characters.
QFont headingsFont() {
    QFont font(QStringLiteral("Arial Narrow"));
    font.setPixelSize(16);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

// The window's components with their design sizes, before FormCreate arranges them.
void TForm1::createComponents() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Filmarin " FILMARIN_VERSION " abspielen mit VLC "));
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    // The fonts are set before the controls are made, which take them on as they are made:
    // setting them later would have every control measure itself again.
    client->setFont(windowFont());
    setCentralWidget(client);

    MainMenu1 = named(menuBar(), "MainMenu1");
    Video1 = named(MainMenu1->addMenu(QStringLiteral("Video")), "Video1");
    DVD1 = named(Video1->addAction(QStringLiteral("Video-DVD/CD öffnen")), "DVD1");
    Datei1 = named(Video1->addAction(QStringLiteral("Video-Datei öffnen")), "Datei1");
    // The preview of the source, whose position the teacher takes into the table.
    Video1->addSeparator();
    Vorschau1 = named(Video1->addAction(QStringLiteral("Vorschau")), "Vorschau1");
    Vorschau1->setShortcut(QKeySequence(Qt::Key_F5));
    Startzeituebernehmen1 =
        named(Video1->addAction(QStringLiteral("Startzeit übernehmen")), "Startzeituebernehmen1");
    Startzeituebernehmen1->setShortcut(QKeySequence(Qt::Key_F6));
    Stoppzeituebernehmen1 =
        named(Video1->addAction(QStringLiteral("Stoppzeit übernehmen")), "Stoppzeituebernehmen1");
    Stoppzeituebernehmen1->setShortcut(QKeySequence(Qt::Key_F7));
    // A video DVD's own titles and chapters, taken into the table.
    TitelundKapitel1 =
        named(Video1->addAction(QStringLiteral("Titel und Kapitel…")), "TitelundKapitel1");
    TitelundKapitel1->setShortcut(QKeySequence(Qt::Key_F8));
    for (QAction* action :
         {Vorschau1, Startzeituebernehmen1, Stoppzeituebernehmen1, TitelundKapitel1})
        action->setShortcutContext(Qt::WindowShortcut);
    Startzeituebernehmen1->setEnabled(false);
    Stoppzeituebernehmen1->setEnabled(false);
    TitelundKapitel1->setEnabled(false);
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
    Ausschnitte1->addSeparator();
    Wiedergabeliste1 =
        named(Ausschnitte1->addAction(QStringLiteral("Als Wiedergabeliste speichern…")),
              "Wiedergabeliste1");
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
    // How a showing looks to the class: the black and the screen for the film.
    Vorfuehrung1 = named(new ShowingMenu(*this, MainMenu1), "Vorfuehrung1");
    MainMenu1->addMenu(Vorfuehrung1);
    SchwarzerHintergrund1 = Vorfuehrung1->black();
    Abspielen1 = named(MainMenu1->addAction(QStringLiteral("Abspielen")), "Abspielen1");
    Info1 = named(MainMenu1->addAction(QStringLiteral("Info")), "Info1");

    Panel1 = named(makePanel(client), "Panel1");
    Panel2 = named(makePanel(client), "Panel2");
    StaticText6 = named(new StaticText(QStringLiteral("Überschrift"), Panel1), "StaticText6");
    StringGrid4 = named(new StringGrid(1, Panel1), "StringGrid4");
    StringGrid4->setFont(headingsFont());
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
        [this](int column, int row) { return isLabelMarked(m_values.spans, column, row); });

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(10);
    Timer2 = named(new QTimer(this), "Timer2");
    Timer2->setInterval(50);

    m_view = std::make_unique<TableView>(TableView{*StringGrid1, *StringGrid2, *StringGrid3,
                                                   *StringGrid4, *CheckListBox1, *CheckListBox2,
                                                   *LabeledEdit1, *m_messages});
    connectComponents();
}

void TForm1::connectComponents() {
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
    for (StringGrid* grid : {StringGrid1, StringGrid2, StringGrid3, StringGrid4}) {
        connect(grid, &StringGrid::gridClicked, this, &TForm1::RefreshTotals);
        // The row the preview's commands are for: the one the user touched last, in any of
        // the grids; the other grids' cursors follow it, so that it shows where a time goes.
        connect(grid, &StringGrid::rowTouched, this, [this](int row) {
            if (row < 1 || row > kExcerptCount)
                return;
            m_tableRow = row;
            for (StringGrid* other : {StringGrid1, StringGrid2, StringGrid3, StringGrid4})
                other->followRow(row);
        });
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        grid->addActions(
            {Vorschau1, Startzeituebernehmen1, Stoppzeituebernehmen1, TitelundKapitel1});
    }
    connect(Vorschau1, &QAction::triggered, this, &TForm1::Vorschau1Click);
    connect(Startzeituebernehmen1, &QAction::triggered, this, &TForm1::Startzeituebernehmen1Click);
    connect(Stoppzeituebernehmen1, &QAction::triggered, this, &TForm1::Stoppzeituebernehmen1Click);
    connect(Wiedergabeliste1, &QAction::triggered, this, &TForm1::Wiedergabeliste1Click);
    connect(TitelundKapitel1, &QAction::triggered, this, &TForm1::TitelundKapitel1Click);
    for (CheckListBox* list : {CheckListBox1, CheckListBox2})
        connect(list, &CheckListBox::listClicked, this, &TForm1::RefreshTotals);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
}

void TForm1::ArrangeWindow() {
    move(605, 240);
    centralWidget()->setFont(windowFont());
    centralWidget()->setFixedSize(873, 617);
    setAutoFillBackground(true);

    Panel1->setGeometry(0, 0, 873, 561);
    StaticText6->setGeometry(112, 1, 97, 17);
    StringGrid4->setGeometry(16, 26, 201, 537);
    StringGrid4->setFont(headingsFont());
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

void TForm1::setVisible(bool visible) {
    // Centred on the screen when first shown; placed before the window is made, so that
    // the window manager puts the frame, not the window's inside, at that place.
    if (visible && !m_centred) {
        m_centred = true;
        if (screen())
            placeFrame(*this, screen()->availableGeometry(), systemFrame(*screen()));
    }
    QMainWindow::setVisible(visible);
}

// The file dialogs are made when first used: making them costs start-up time.
QFileDialog* TForm1::makeFileDialog(const char* name) {
    // Said while the dialog stays open, without a loop of its own inside the dialog's.
    auto* dialog = new FileDialog(this, m_pathLook, [this](const QString& text) {
        m_messages->postMessage(QStringLiteral("Information"), text, MessageIcon::Information);
    });
    return named(static_cast<QFileDialog*>(dialog), name);
}

QFileDialog& TForm1::openDialogVideo() {
    if (!OpenDialogVideo) {
        OpenDialogVideo = makeFileDialog("OpenDialogVideo");
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
        OpenDialogZeiten = makeFileDialog("OpenDialogZeiten");
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
        SaveDialogZeiten = makeFileDialog("SaveDialogZeiten");
        SaveDialogZeiten->setAcceptMode(QFileDialog::AcceptSave);
        SaveDialogZeiten->setFileMode(QFileDialog::AnyFile);
        SaveDialogZeiten->setNameFilter(kTimesFilter);
        SaveDialogZeiten->setDefaultSuffix(QStringLiteral("zei"));
        SaveDialogZeiten->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return *SaveDialogZeiten;
}

QFileDialog& TForm1::saveDialogPlaylist() {
    if (!m_saveDialogPlaylist) {
        m_saveDialogPlaylist = makeFileDialog("SaveDialogWiedergabeliste");
        m_saveDialogPlaylist->setAcceptMode(QFileDialog::AcceptSave);
        m_saveDialogPlaylist->setFileMode(QFileDialog::AnyFile);
        m_saveDialogPlaylist->setNameFilter(QStringLiteral("Wiedergabeliste (*.xspf)"));
        m_saveDialogPlaylist->setDefaultSuffix(QStringLiteral("xspf"));
        // Said where the file is named: what the playlist holds, and what it cannot.
        m_saveDialogPlaylist->setWindowTitle(QStringLiteral(
            "Als Wiedergabeliste speichern (ohne Pausen; die Titelkarten kommen in einen "
            "Ordner daneben)"));
    }
    return *m_saveDialogPlaylist;
}

std::optional<QString> TForm1::runFileDialog(QFileDialog& dialog) {
    if (m_environment.runFileDialog)
        return m_environment.runFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace filmarin
