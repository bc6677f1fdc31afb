// SPDX-License-Identifier: GPL-3.0-or-later
#include "layoutchecks.h"
#include "playback/playercheck.h"
#include "table/tablecheck.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QAction>
#include <QFileDialog>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

QString rowText(StringGrid* grid, int row) {
    QStringList cells;
    for (int column = 0; column < grid->columnCount(); ++column)
        cells << grid->cell(column, row);
    return cells.join(QLatin1Char(':'));
}

void clickCell(StringGrid* grid, int column, int row) {
    const QRect rect = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class TForm1Test : public QObject {
    Q_OBJECT
private slots:
    void startUpState();
    void startUpLayout();
    void playerCheckAfterStartUp_data();
    void playerCheckAfterStartUp();
    void clickIntoTheTableRefreshesTheTotal();
    void rejectedCellSelectsItselfWithoutASecondCheck();
    void keyboardMoveRefreshesTheTotal();
    void typedTextReachesTheCell();
    void checkListClickRefreshesTheTotal();
    void defaultValueCommands();
    void pauseCommandsDoNotRefresh();
    void languageGroup();
    void lockAndUnlock();
    void infoText();
    void choosingAVideoFile_data();
    void choosingAVideoFile();
    void cancellingTheFileDialogChangesNothing();
    void selectedLabelsArePaintedYellow();
    void closingSetsTheClosingFlag();
    void columnsAndRowsCanBeResized();
    void tickListsLineUpWithTheRows();
    void everyClickIntoAGridRefreshesTheTotal();
    void windowsKeepTheirSize();
    void captionsFitTheirBoxes();
    void everyExcerptFitsThePauseChoice();
};

void TForm1Test::startUpState() {
    WindowFixture f;
    // The state the start leaves, before the window's timers have run.
    TForm1& w = f.open(false);
    QCOMPARE(w.windowTitle(), QStringLiteral("Filmarin 2.2 abspielen mit VLC "));
    QVERIFY(!w.Abspielen1->isEnabled());
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("10h 0min 0sec"));
    QVERIFY(w.LabeledEdit1->isHighlighted());
    QCOMPARE(w.LabeledEdit1->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(rowText(w.StringGrid1, 1), QStringLiteral("0:0:0"));
    QCOMPARE(rowText(w.StringGrid2, 1), QStringLiteral("10:0:0"));
    QCOMPARE(rowText(w.StringGrid2, 2), QStringLiteral("0:0:0"));
    QCOMPARE(rowText(w.StringGrid1, 0), QStringLiteral("Stunden:Minuten:Sekunden"));
    QCOMPARE(rowText(w.StringGrid3, 0), QStringLiteral("Nummer"));
    QCOMPARE(rowText(w.StringGrid4, 0), QStringLiteral(":Text"));
    for (int row = 1; row <= 20; ++row) {
        QCOMPARE(w.StringGrid3->cell(0, row), QStringLiteral("1"));
        QCOMPARE(w.StringGrid4->cell(0, row), QStringLiteral("Ausschnitt %1").arg(row));
        QCOMPARE(w.StringGrid4->cell(1, row), QStringLiteral("Ausschnitt %1").arg(row));
        QVERIFY(w.CheckListBox2->isChecked(row - 1));
        if (row < 20)
            QVERIFY(!w.CheckListBox1->isChecked(row - 1));
    }
    QCOMPARE(w.CheckListBox2->count(), 20);
    QCOMPARE(w.CheckListBox1->count(), 19);
    QCOMPARE(w.CheckListBox1->item(18)->text(), QStringLiteral("19-20"));
    QVERIFY(w.deutsch1->isChecked());
    QCOMPARE(w.mediaSource().kind, SourceKind::None);
    QVERIFY(w.mediaSource().driveRoot.isEmpty());
    QVERIFY2(w.playerPath().isEmpty(), "the player is located by the first Timer2 tick");
    QVERIFY(w.Timer2->isActive());
    QVERIFY(!w.Timer1->isActive());
    QCOMPARE(w.Timer2->interval(), 50);
    QCOMPARE(w.Timer1->interval(), 10);
    QVERIFY(!w.closingFlag());
    QCOMPARE(w.table().audioLanguageCode, QStringLiteral("de"));
    QVERIFY(f.messages.shown.empty());
}

void TForm1Test::startUpLayout() {
    WindowFixture f;
    TForm1& w = f.open();
    QCOMPARE(w.centralWidget()->size(), QSize(873, 617));
    QCOMPARE(w.Panel1->geometry(), QRect(0, 0, 873, 561));
    QCOMPARE(w.Panel2->geometry(), QRect(0, 560, 873, 57));
    QCOMPARE(w.StringGrid4->geometry(), QRect(16, 26, 201, 537));
    QCOMPARE(w.StringGrid3->geometry(), QRect(216, 26, 73, 535));
    QCOMPARE(w.StringGrid1->geometry(), QRect(289, 26, 224, 535));
    QCOMPARE(w.StringGrid2->geometry(), QRect(513, 26, 224, 535));
    QCOMPARE(w.Button1->geometry(), QRect(392, 8, 257, 41));
    QCOMPARE(w.LabeledEdit1->geometry(), QRect(248, 16, 121, 36));
    QCOMPARE(w.LabeledEdit1->label()->text(), QStringLiteral("Ausgewählte Gesamtspielzeit:   "));
    QCOMPARE(w.LabeledEdit1->label()->geometry().right() + 1, 248 - 3);
    QVERIFY(w.LabeledEdit1->isReadOnly());
    QCOMPARE(w.Button1->text(), QStringLiteral("Anzeige Gesamtspielzeit aktualisieren"));
    QCOMPARE(w.StringGrid1->columnWidth(2), 70);
    QCOMPARE(w.StringGrid3->columnWidth(0), 65);
    QCOMPARE(w.StringGrid4->columnWidth(1), 95);
    for (StringGrid* grid : {w.StringGrid1, w.StringGrid2, w.StringGrid3, w.StringGrid4}) {
        // 24 pixels a row and one more for the grid line below it.
        QCOMPARE(grid->rowViewportPosition(20), 20 * 25);
        QCOMPARE(grid->rowHeight(20), 25);
    }
    QCOMPARE(w.StringGrid4->font().family(), QStringLiteral("Arial Narrow"));
    QCOMPARE(w.StringGrid4->font().pixelSize(), 16);
    QCOMPARE(w.StringGrid1->font().family(), QStringLiteral("Arial"));
    QCOMPARE(w.StringGrid1->font().pixelSize(), 15);
    QCOMPARE(w.CheckListBox2->x(), 744);
    QCOMPARE(w.CheckListBox2->width(), 49);
    QVERIFY(w.CheckListBox2->height() <= 504);
    QCOMPARE(w.CheckListBox1->width(), 65);
    QVERIFY(w.CheckListBox1->height() <= 488);
    const QStringList captions = {w.StaticText1->text(), w.StaticText2->text(),
                                  w.StaticText3->text(), w.StaticText4->text(),
                                  w.StaticText5->text(), w.StaticText6->text()};
    QCOMPARE(captions, (QStringList{QStringLiteral("Startzeiten"), QStringLiteral("Stoppzeiten"),
                                    QStringLiteral("Pausen"), QStringLiteral("Abspielen"),
                                    QStringLiteral("Titel Nr."), QStringLiteral("Überschrift")}));
    // The menu bar, caption by caption.
    QStringList bar;
    for (QAction* a : w.MainMenu1->actions())
        bar << a->text();
    QCOMPARE(bar, (QStringList{QStringLiteral("Video"), QStringLiteral("Zeiten"),
                               QStringLiteral("Sprache"), QStringLiteral("Vorführung"),
                               QStringLiteral("Abspielen"), QStringLiteral("Info")}));
    QStringList zeiten;
    for (QAction* a : w.Ausschnitte1->actions()) {
        if (!a->isSeparator())
            zeiten << a->objectName() + QLatin1Char('=') + a->text();
    }
    QCOMPARE(zeiten,
             (QStringList{QStringLiteral("ffnen1=öffnen"), QStringLiteral("speichern1=speichern"),
                          QStringLiteral("allel1=alle Zeiten löschen"),
                          QStringLiteral("Abspielenlschen1=alle Einträge \"Abspielen\" löschen"),
                          QStringLiteral("alleabspielen1=Alle Einträge \"Abspielen\" markieren"),
                          QStringLiteral("allePausen1=alle Pausen markieren"),
                          QStringLiteral("Pausenlschen1=alle Pausen löschen"),
                          QStringLiteral("itelauf1setzen1=alle Titelnummern auf 1 setzen"),
                          QStringLiteral("Bemerkungenlschen1=Standardüberschriften"),
                          QStringLiteral("Wiedergabeliste1=Als Wiedergabeliste speichern…")}));
    QCOMPARE(w.DVD1->text(), QStringLiteral("Video-DVD/CD öffnen"));
    QCOMPARE(w.Datei1->text(), QStringLiteral("Video-Datei öffnen"));
    QCOMPARE(w.franzsisch1->text(), QStringLiteral("französisch"));
    // The file dialogs are made when first used.
    QVERIFY(!w.OpenDialogVideo && !w.OpenDialogZeiten && !w.SaveDialogZeiten);
    QCOMPARE(w.openDialogZeiten().defaultSuffix(), QStringLiteral("zei"));
    QCOMPARE(w.saveDialogZeiten().nameFilters(),
             QStringList{QStringLiteral("Zeitendatei (*.zei)")});
    QCOMPARE(w.openDialogVideo().nameFilters().size(), 1);
    QVERIFY(
        w.openDialogVideo().nameFilters().first().startsWith(QStringLiteral("Alle Video-Datein")));
    QCOMPARE(&w.openDialogVideo(), w.OpenDialogVideo);
}

void TForm1Test::playerCheckAfterStartUp_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("message");
    QTest::newRow("no player") << QString() << true;
    QTest::newRow("3.0.21") << QStringLiteral("3.0.21") << false;
    QTest::newRow("1.6.1") << QStringLiteral("1.6.1") << true;
    QTest::newRow("1.10.0") << QStringLiteral("1.10.0") << true;
}

void TForm1Test::playerCheckAfterStartUp() {
    QFETCH(QString, version);
    QFETCH(bool, message);
    WindowFixture f;
    if (version.isEmpty())
        QFile::remove(f.playerPath());
    else
        f.placePlayer(version);
    TForm1& w = f.open();
    w.show();
    QTRY_VERIFY(w.playerChecked());
    QCOMPARE(w.playerPath(), f.playerPath());
    // The version is read away from the window's thread; what it says comes after.
    QTRY_COMPARE(f.messages.shown.size(), message ? std::size_t(1) : std::size_t(0));
    if (message)
        QCOMPARE(f.messages.shown[0].text, playerVersionMessage());
    QTest::qWait(120);
    QCOMPARE(f.messages.shown.size(), message ? std::size_t(1) : std::size_t(0));
    QVERIFY2(w.Panel1->isEnabled(), "the window stays usable");
}

void TForm1Test::clickIntoTheTableRefreshesTheTotal() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.StringGrid2->setCell(2, 2, QStringLiteral("90"));
    w.StringGrid1->setCell(1, 1, QStringLiteral("30"));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("10h 0min 0sec")); // writing a cell is no click
    clickCell(w.StringGrid3, 0, 5);
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("9h 31min 30sec"));
    QCOMPARE(rowText(w.StringGrid2, 2), QStringLiteral("0:1:30"));
    QVERIFY(f.messages.shown.empty());
}

void TForm1Test::rejectedCellSelectsItselfWithoutASecondCheck() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.StringGrid1->setCell(1, 4, QStringLiteral("5min"));
    clickCell(w.StringGrid2, 0, 7);
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Information"));
    QCOMPARE(f.messages.shown[0].text, timeCellMessage());
    QCOMPARE(w.StringGrid1->currentRow(), 4);
    QCOMPARE(w.StringGrid1->currentColumn(), 1);
    // The cell's editor has the focus, so the next keystroke edits the cell.
    QVERIFY(w.StringGrid1->isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(w.StringGrid1->selectedItems().size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(f.messages.shown.size(), std::size_t(1)); // selecting the cell starts no check

    w.StringGrid1->setCell(1, 4, QStringLiteral("5"));
    w.StringGrid3->setCell(0, 9, QStringLiteral("2,5"));
    clickCell(w.StringGrid4, 1, 3);
    QCOMPARE(f.messages.shown.size(), std::size_t(2));
    QCOMPARE(f.messages.shown[1].text, titleCellMessage());
    QCOMPARE(w.StringGrid3->currentRow(), 9);
}

void TForm1Test::keyboardMoveRefreshesTheTotal() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickCell(w.StringGrid1, 0, 1);
    w.StringGrid1->setCell(0, 1, QStringLiteral("2"));
    QTest::keyClick(w.StringGrid1, Qt::Key_Tab);
    QCOMPARE(w.StringGrid1->currentColumn(), 1);
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("8h 0min 0sec"));
}

void TForm1Test::typedTextReachesTheCell() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickCell(w.StringGrid4, 1, 2);
    QWidget* editor = QApplication::focusWidget();
    QVERIFY(qobject_cast<QLineEdit*>(editor));
    qobject_cast<QLineEdit*>(editor)->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Finale"));
    QCOMPARE(w.StringGrid4->cell(1, 2), QStringLiteral("Finale")); // every keystroke is in the cell
    clickCell(w.StringGrid2, 0, 2);
    QCOMPARE(w.table().headings[cellIndex(1, 2)], QStringLiteral("Finale"));
}

void TForm1Test::checkListClickRefreshesTheTotal() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRect item = w.CheckListBox2->visualItemRect(w.CheckListBox2->item(0));
    QTest::mouseClick(w.CheckListBox2->viewport(), Qt::LeftButton, {},
                      QPoint(item.left() + 8, item.center().y()));
    QVERIFY(!w.CheckListBox2->isChecked(0));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("0h 0min 0sec"));
    QVERIFY(!w.LabeledEdit1->isHighlighted());
    QCOMPARE(w.LabeledEdit1->palette().color(QPalette::Base), QColor(255, 255, 255));
    QTest::keyClick(w.CheckListBox2, Qt::Key_Space);
    QVERIFY(w.CheckListBox2->isChecked(0));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("10h 0min 0sec"));

    w.StringGrid1->setCell(0, 3, QStringLiteral("x"));
    const QRect pause = w.CheckListBox1->visualItemRect(w.CheckListBox1->item(2));
    QTest::mouseClick(w.CheckListBox1->viewport(), Qt::LeftButton, {}, pause.center());
    QCOMPARE(f.messages.shown.size(), std::size_t(1)); // a click on a pause item checks too
}

void TForm1Test::defaultValueCommands() {
    WindowFixture f;
    TForm1& w = f.open();
    w.StringGrid3->setCell(0, 4, QStringLiteral("7"));
    w.StringGrid4->setCell(1, 4, QStringLiteral("Eigene"));
    w.CheckListBox2->setChecked(5, false);
    w.allel1->trigger();
    QCOMPARE(rowText(w.StringGrid2, 1), QStringLiteral("0:0:0"));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("0h 0min 0sec"));
    QCOMPARE(w.StringGrid3->cell(0, 4), QStringLiteral("7"));
    QCOMPARE(w.StringGrid4->cell(1, 4), QStringLiteral("Eigene"));
    QVERIFY(!w.CheckListBox2->isChecked(5));
    QCOMPARE(w.StringGrid4->cell(0, 20), QStringLiteral("Ausschnitt 20"));

    w.StringGrid2->setCell(1, 7, QStringLiteral("2"));
    w.itelauf1setzen1->trigger();
    QCOMPARE(w.StringGrid3->cell(0, 4), QStringLiteral("1"));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("0h 2min 0sec")); // with a refresh
    w.Bemerkungenlschen1->trigger();
    QCOMPARE(w.StringGrid4->cell(1, 4), QStringLiteral("Ausschnitt 4"));
    w.Abspielenlschen1->trigger();
    for (int i = 0; i < 20; ++i)
        QVERIFY(!w.CheckListBox2->isChecked(i));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("0h 0min 0sec"));
    w.alleabspielen1->trigger();
    for (int i = 0; i < 20; ++i)
        QVERIFY(w.CheckListBox2->isChecked(i));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("0h 2min 0sec"));
    QVERIFY(f.messages.shown.empty());
}

void TForm1Test::pauseCommandsDoNotRefresh() {
    WindowFixture f;
    TForm1& w = f.open();
    w.StringGrid1->setCell(0, 2, QStringLiteral("kaputt"));
    w.allePausen1->trigger();
    for (int i = 0; i < 19; ++i)
        QVERIFY(w.CheckListBox1->isChecked(i));
    w.Pausenlschen1->trigger();
    for (int i = 0; i < 19; ++i)
        QVERIFY(!w.CheckListBox1->isChecked(i));
    QVERIFY(f.messages.shown.empty());
    w.alleabspielen1->trigger();
    QCOMPARE(f.messages.shown.size(), std::size_t(1)); // ticking all play items checks the table
}

void TForm1Test::languageGroup() {
    WindowFixture f;
    TForm1& w = f.open();
    w.italienisch1->trigger();
    QVERIFY(w.italienisch1->isChecked());
    QVERIFY(!w.deutsch1->isChecked());
    QCOMPARE(w.table().audioLanguageCode, QStringLiteral("de")); // the code follows only on demand
    w.LanguageCodeFromMenu();
    QCOMPARE(w.table().audioLanguageCode, QStringLiteral("it"));
    w.italienisch1->trigger();
    QVERIFY2(w.italienisch1->isChecked(), "exactly one stays checked");

    const std::pair<const char*, QAction*> codes[] = {
        {"EN", w.englisch1}, {"fr", w.franzsisch1}, {"Es", w.spanisch1}, {"de", w.deutsch1}};
    for (const auto& [code, item] : codes) {
        w.table().audioLanguageCode = QLatin1String(code);
        w.MenuFromLanguageCode();
        QVERIFY(item->isChecked());
        int checked = 0;
        for (QAction* a : w.Sprache1->actions())
            checked += a->isChecked() ? 1 : 0;
        QCOMPARE(checked, 1);
    }
    w.table().audioLanguageCode = QStringLiteral("xx");
    w.MenuFromLanguageCode();
    QVERIFY(w.deutsch1->isChecked());
    QCOMPARE(w.table().audioLanguageCode, QStringLiteral("xx"));
    w.spanisch1->trigger();
    w.LanguageCodeFromMenu();
    QCOMPARE(w.table().audioLanguageCode, QStringLiteral("es"));
}

void TForm1Test::lockAndUnlock() {
    WindowFixture f;
    TForm1& w = f.open();
    w.LockControls();
    w.LockControls();
    for (QAction* a :
         {w.Video1->menuAction(), w.Ausschnitte1->menuAction(), w.Sprache1->menuAction(),
          w.Vorfuehrung1->menuAction(), w.Abspielen1, w.Info1})
        QVERIFY(!a->isEnabled());
    QVERIFY(!w.Panel1->isEnabled());
    QVERIFY(!w.Panel2->isEnabled());
    QVERIFY(!w.StringGrid1->isEnabled());
    w.UnlockControls();
    for (QAction* a :
         {w.Video1->menuAction(), w.Ausschnitte1->menuAction(), w.Sprache1->menuAction(),
          w.Vorfuehrung1->menuAction(), w.Abspielen1, w.Info1})
        QVERIFY(a->isEnabled());
    QVERIFY(w.Panel1->isEnabled());
    QVERIFY(w.Button1->isEnabled());
    QCOMPARE(w.mediaSource().kind, SourceKind::None); // Abspielen is enabled whatever the source
}

void TForm1Test::infoText() {
    WindowFixture f;
    TForm1& w = f.open();
    w.Info1->trigger();
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Informationen"));
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Information);
    const QString expected =
        QStringLiteral("Filmarin abspielen mit VLC\r\r\r\r\r\r"
                       "Diese Software funktioniert nur dann, wenn sie sich\r"
                       "im Verzeichnis des kostenlosen VLC-Players befindet,\r"
                       "d.h., im gleichen Verezeichnis wie vlcportable.exe oder vlc.exe.\r"
                       "Außerdem muss vlcportable.exe mindestens die Version 1.7\r"
                       "und vlc.exe mindestens die Version 2.0 besitzen.");
    QCOMPARE(f.messages.shown[0].text, expected);
}

void TForm1Test::choosingAVideoFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("playable");
    QTest::newRow("present") << QStringLiteral("Urlaub am Meer.avi") << true;
    QTest::newRow("missing") << QStringLiteral("fehlt.avi") << false;
    QTest::newRow("folder") << QStringLiteral("Ordner") << false;
}

void TForm1Test::choosingAVideoFile() {
    QFETCH(QString, name);
    QFETCH(bool, playable);
    WindowFixture f;
    TForm1& w = f.open();
    QTemporaryDir videos;
    QFile file(videos.filePath(QStringLiteral("Urlaub am Meer.avi")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(QDir(videos.path()).mkdir(QStringLiteral("Ordner")));
    w.mediaSource().driveRoot = QStringLiteral("/media/cdrom");
    f.chosenFile = videos.filePath(name);
    w.Datei1->trigger();
    QCOMPARE(f.lastDialog, w.OpenDialogVideo);
    QCOMPARE(w.mediaSource().kind, SourceKind::VideoFile);
    QCOMPARE(w.mediaSource().videoFilePath, videos.filePath(name));
    QCOMPARE(w.mediaSource().driveRoot, QStringLiteral("/media/cdrom"));
    QCOMPARE(w.Abspielen1->isEnabled(), playable);
    QCOMPARE(f.messages.shown.size(), playable ? std::size_t(0) : std::size_t(1));
    if (!playable) {
        QCOMPARE(f.messages.shown[0].text,
                 QStringLiteral("Bitte wählen Sie eine Video-Datei aus."));
        QCOMPARE(f.messages.shown[0].caption, QStringLiteral("Information"));
    }
}

void TForm1Test::cancellingTheFileDialogChangesNothing() {
    WindowFixture f;
    TForm1& w = f.open();
    w.mediaSource().kind = SourceKind::DvdVideo;
    w.mediaSource().driveRoot = QStringLiteral("/media/dvd");
    w.Abspielen1->setEnabled(true);
    f.chosenFile.reset();
    w.Datei1->trigger();
    QCOMPARE(w.mediaSource().kind, SourceKind::DvdVideo);
    QVERIFY(w.Abspielen1->isEnabled());
    QVERIFY(f.messages.shown.empty());
}

void TForm1Test::selectedLabelsArePaintedYellow() {
    WindowFixture f;
    TForm1& w = f.open();
    w.StringGrid2->setCell(2, 3, QStringLiteral("5"));
    w.CheckListBox2->setChecked(1, false);
    w.StringGrid2->setCell(2, 2, QStringLiteral("5"));
    w.Button1->click();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QImage image = w.StringGrid4->viewport()->grab().toImage();
    const auto cellPixel = [&](int column, int row) {
        const QRect r = w.StringGrid4->visualRect(w.StringGrid4->model()->index(row, column));
        return image.pixelColor(r.right() - 2, r.bottom() - 2);
    };
    const QColor yellow(255, 255, 0);
    QCOMPARE(cellPixel(0, 1), yellow);
    QCOMPARE(cellPixel(0, 3), yellow);
    QVERIFY2(cellPixel(0, 2) != yellow, "ticked off");
    QVERIFY2(cellPixel(0, 4) != yellow, "no span");
    QVERIFY2(cellPixel(1, 1) != yellow, "headings are never marked");
    QVERIFY2(cellPixel(0, 0) != yellow, "nor is the header row");
}

void TForm1Test::closingSetsTheClosingFlag() {
    WindowFixture f;
    TForm1& w = f.open();
    QSignalSpy closed(&w, &TForm1::closed);
    w.show();
    w.close();
    QVERIFY(w.closingFlag());
    QCOMPARE(closed.count(), 1);
}

void TForm1Test::columnsAndRowsCanBeResized() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int y = w.StringGrid1->rowHeight(0) / 2;
    const QPoint line(w.StringGrid1->columnWidth(0), y);
    QTest::mousePress(w.StringGrid1->viewport(), Qt::LeftButton, {}, line);
    QTest::mouseMove(w.StringGrid1->viewport(), line + QPoint(25, 0));
    QTest::mouseRelease(w.StringGrid1->viewport(), Qt::LeftButton, {}, line + QPoint(25, 0));
    QCOMPARE(w.StringGrid1->columnWidth(0), 95);
    QCOMPARE(w.StringGrid1->currentRow(), -1); // dragging a line selects no cell

    const QPoint rowLine(20, w.StringGrid4->rowViewportPosition(1) + w.StringGrid4->rowHeight(1));
    QTest::mousePress(w.StringGrid4->viewport(), Qt::LeftButton, {}, rowLine);
    QTest::mouseMove(w.StringGrid4->viewport(), rowLine + QPoint(0, 10));
    QTest::mouseRelease(w.StringGrid4->viewport(), Qt::LeftButton, {}, rowLine + QPoint(0, 10));
    QCOMPARE(w.StringGrid4->rowHeight(1), 35);
    QVERIFY(f.messages.shown.empty());
}

void TForm1Test::tickListsLineUpWithTheRows() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    verifyTicksLineUp(w);
    if (QTest::currentTestFailed())
        return;
    // A click on a moved tick box still toggles it.
    const QRect box = w.CheckListBox1->tickRect(4);
    QTest::mouseClick(w.CheckListBox1->viewport(), Qt::LeftButton, {}, box.center());
    QVERIFY(w.CheckListBox1->isChecked(4));
}

void TForm1Test::everyClickIntoAGridRefreshesTheTotal() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // 90 typed into the seconds cell of excerpt 2, then a click into that same cell.
    clickCell(w.StringGrid2, 2, 2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("90"));
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("10h 0min 0sec"));
    QTest::mouseClick(editor, Qt::LeftButton, {}, editor->rect().center());
    QCOMPARE(w.LabeledEdit1->text(), QStringLiteral("10h 1min 30sec"));
    QCOMPARE(rowText(w.StringGrid2, 2), QStringLiteral("0:1:30"));

    // A click on the current cell without an editor, a label and a header cell.
    const auto refreshedBy = [&](StringGrid* grid, int column, int row) {
        w.StringGrid1->setCell(2, 3, QStringLiteral("0"));
        const int seconds = column * 10 + row + 1;
        w.StringGrid2->setCell(2, 3, QString::number(seconds));
        clickCell(grid, column, row);
        return w.LabeledEdit1->text() == QStringLiteral("10h 1min %1sec").arg(30 + seconds);
    };
    QVERIFY(refreshedBy(w.StringGrid2, 2, 2)); // the current cell again
    QVERIFY(refreshedBy(w.StringGrid4, 0, 7)); // a label cell
    QVERIFY(refreshedBy(w.StringGrid1, 1, 0)); // a header cell
    QVERIFY(refreshedBy(w.StringGrid4, 0, 0)); // the empty corner
    QVERIFY(f.messages.shown.empty());
}

void TForm1Test::windowsKeepTheirSize() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QList<QWidget*> windows = {&w, f.pauseDialog, f.discBrowser};
    for (QWidget* window : windows) {
        const QSize size = window->size();
        QCOMPARE(window->minimumSize(), size);
        QCOMPARE(window->maximumSize(), size);
        window->resize(size + QSize(300, 200));
        QCOMPARE(window->size(), size);
    }
    QCOMPARE(w.centralWidget()->size(), QSize(873, 617));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void TForm1Test::captionsFitTheirBoxes() {
    WindowFixture f;
    TForm1& w = f.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    verifyCaptionsFit(w, {&w, f.pauseDialog, f.discBrowser});
}

void TForm1Test::everyExcerptFitsThePauseChoice() {
    WindowFixture f;
    f.open();
    verifyExcerptChoiceFits(*f.pauseDialog);
}

FILMARIN_WINDOW_TEST(TForm1Test, "tform1_tests")
#include "tform1_test.moc"
