// SPDX-License-Identifier: GPL-3.0-or-later
// The preview through the main window, with the stand-in player speaking the player's
// control protocol (a Unix socket on Linux, 127.0.0.1 under Windows), and a lesson saved as a
// playlist.
#include "processexists.h"
#include "table/tablecheck.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QXmlStreamReader>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

// A window with a video file chosen, excerpt 3 from 0:01:30 to 0:02:00, and the stand-in
// player, which gives `position` as its position.
struct Preview : WindowFixture {
    explicit Preview(long position = 3725) {
        placeStandInPlayer();
        writePlayerFile(QStringLiteral("time.txt"), QString::number(position));
        TForm1& w = open();
        QFile file(videos.filePath(QStringLiteral("Der Film #1 100%.avi")));
        file.open(QIODevice::WriteOnly);
        file.close();
        chosenFile = native(file.fileName());
        w.Datei1->trigger();
        w.show();
        QTRY_VERIFY(w.playerChecked());
        w.StringGrid2->setCell(0, 1, QStringLiteral("0"));
        w.StringGrid1->setCell(1, 3, QStringLiteral("1"));
        w.StringGrid1->setCell(2, 3, QStringLiteral("30"));
        w.StringGrid2->setCell(1, 3, QStringLiteral("2"));
        w.Button1->click();
    }
    void chooseRow(int row) { window->StringGrid1->setCurrentCell(row, 0); }
    bool listening() {
        return QTest::qWaitFor(
            [this] {
                return window->preview().control() && window->preview().control()->listening();
            },
            5000);
    }
    QString commands() const {
        QFile file(QDir(programRoot).filePath(QStringLiteral("VLCportable/commands.txt")));
        file.open(QIODevice::ReadOnly | QIODevice::Text);
        return QString::fromUtf8(file.readAll());
    }
    QStringList row(int r) const {
        return {window->StringGrid1->cell(0, r), window->StringGrid1->cell(1, r),
                window->StringGrid1->cell(2, r), window->StringGrid2->cell(0, r),
                window->StringGrid2->cell(1, r), window->StringGrid2->cell(2, r),
                window->StringGrid3->cell(0, r)};
    }
    QTemporaryDir videos;
};

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void theRowsTimesComeFromThePlayer();
    void aTimeGoesIntoTheRowTouchedLast();
    void thePreviewStartsAtTheRowsStart();
    void aDvdsTitleIsTakenToo();
    void theCommandsAreLockedDuringAShowing();
    void aPlayerThatDoesNotAnswerIsSaidSo();
    void thePreviewEndsWhileItsMessageIsOpen();
    void theCheckAfterATakenTimeIsPosted();
    void endingThePreviewEndsThePlayerALauncherHandedOverTo();
    void abspielenAndClosingEndThePreview();
    void closingThePlayerEndsThePreviewSilently();
    void theCommandsAreInTheMenuAndTheTablesContextMenu();
    void aLessonIsSavedAsAPlaylist();
    void aPlaylistThatCannotBeWrittenIsSaidSo();
};

void PreviewTest::theRowsTimesComeFromThePlayer() {
    Preview p;
    QVERIFY(!p.window->Startzeituebernehmen1->isEnabled());
    p.chooseRow(5);
    p.window->Vorschau1->trigger();
    // The stand-in plays for a minute: back here, the window has not waited for it.
    QVERIFY2(p.window->preview().running(), "the window does not wait for the player");
    QVERIFY(p.window->Startzeituebernehmen1->isEnabled());
    QVERIFY(p.listening());
    const QStringList arguments = p.playerCalls().last().arguments;
    QCOMPARE(
        arguments.mid(0, 4),
        (QStringList{QStringLiteral("--no-fullscreen"), QStringLiteral("--no-video-title-show"),
                     QStringLiteral("--no-repeat"), QStringLiteral("--extraintf=oldrc")}));
    QString socketFolder;
#ifdef _WIN32
    QCOMPARE(arguments[4], QStringLiteral("--rc-quiet"));
    QVERIFY(arguments[5].startsWith(QStringLiteral("--rc-host=127.0.0.1:")));
#else
    QCOMPARE(arguments[4], QStringLiteral("--rc-fake-tty"));
    QVERIFY(arguments[5].startsWith(QStringLiteral("--rc-unix=")));
    // The socket is in a folder only the user can enter.
    const QFileInfo folder(QFileInfo(arguments[5].mid(10)).path());
    QCOMPARE(folder.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser |
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
             QFile::Permissions());
    socketFolder = folder.filePath();
#endif
    QVERIFY(arguments[6].startsWith(QStringLiteral("file:///")));
    QVERIFY(arguments[6].endsWith(QStringLiteral("Der%20Film%20%231%20100%25.avi")));
    QCOMPARE(arguments.size(), 7); // row 5 has no start: from the beginning

    // The window stays usable while the player runs: typing and ticking.
    p.window->StringGrid4->setCell(1, 5, QStringLiteral("Die Ankunft"));
    p.window->CheckListBox1->setChecked(4, true);
    p.window->Startzeituebernehmen1->trigger();
    QTRY_COMPARE(p.row(5).mid(0, 3),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5")}));
    p.window->preview().control()->seek(3735);
    p.window->Stoppzeituebernehmen1->trigger();
    QTRY_COMPARE(p.row(5).mid(3, 3),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("15")}));
    // Checked and totalled as after a click into the table: excerpt 3's 30 s and these 10 s.
    QTRY_COMPARE(p.window->LabeledEdit1->text(), QStringLiteral("0h 0min 40sec"));
    QCOMPARE(p.window->StringGrid4->cell(1, 5), QStringLiteral("Die Ankunft"));
    QCOMPARE(p.commands(), QStringLiteral("get_time\nseek 3735\nget_time\n"));
    QVERIFY(p.messages.shown.empty());
    // The socket's folder goes with the preview.
    p.window->preview().end();
    if (!socketFolder.isEmpty())
        QVERIFY(!QFileInfo::exists(socketFolder));
}

namespace {

void clickCell(StringGrid* grid, int column, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QList<int> cursorRows(TForm1& w) {
    return {w.StringGrid1->currentRow(), w.StringGrid2->currentRow(), w.StringGrid3->currentRow(),
            w.StringGrid4->currentRow()};
}

} // namespace

// Each grid keeps a cursor of its own; a time goes into the row the user touched last in any
// of them, and the other grids' cursors follow it.
void PreviewTest::aTimeGoesIntoTheRowTouchedLast() {
    Preview p(61);
    TForm1& w = *p.window;
    w.Vorschau1->trigger();
    QVERIFY(p.listening());
    clickCell(w.StringGrid2, 2, 3);
    clickCell(w.StringGrid1, 2, 4);
    QCOMPARE(cursorRows(w), (QList<int>{4, 4, 4, 4}));
    // The click on a grid's current cell counts as well.
    clickCell(w.StringGrid2, 2, 3);
    QCOMPARE(cursorRows(w), (QList<int>{3, 3, 3, 3}));
    const QStringList row4 = p.row(4);
    w.Stoppzeituebernehmen1->trigger();
    QTRY_COMPARE(p.row(3).mid(3, 3),
                 (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1")}));
    QCOMPARE(p.row(4), row4);

    // By keyboard in another grid, and coming into one.
    w.StringGrid3->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.StringGrid3, Qt::Key_Down);
    QCOMPARE(cursorRows(w), (QList<int>{4, 4, 4, 4}));
    w.StringGrid4->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w.StringGrid4, Qt::Key_Down);
    QCOMPARE(cursorRows(w), (QList<int>{5, 5, 5, 5}));
    w.StringGrid1->setFocus(Qt::TabFocusReason);
    w.Startzeituebernehmen1->trigger();
    QTRY_COMPARE(p.row(5).mid(0, 3),
                 (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1")}));
    QCOMPARE(p.row(4), row4);
    // The header row is no excerpt: the row stays.
    clickCell(w.StringGrid1, 1, 0);
    QCOMPARE(w.tableRow(), 5);
}

void PreviewTest::thePreviewStartsAtTheRowsStart() {
    Preview p;
    p.chooseRow(3);
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    QCOMPARE(p.playerCalls().last().arguments.last(), QStringLiteral(":start-time=90.000"));
    // A second preview ends the first.
    const qint64 first = p.playerCalls().last().pid;
    p.chooseRow(1);
    p.window->Vorschau1->trigger();
    QTRY_VERIFY(!processExists(first));
    QTRY_COMPARE(p.playerCalls().size(), 2);
    QVERIFY(p.commands().startsWith(QStringLiteral("quit\n")));
}

void PreviewTest::aDvdsTitleIsTakenToo() {
    Preview p(61);
    p.writePlayerFile(QStringLiteral("title.txt"), QStringLiteral("4"));
    QTemporaryDir disc;
    QDir(disc.path()).mkdir(QStringLiteral("VIDEO_TS"));
    p.window->takeDisc(WindowFixture::native(disc.path()), SourceKind::DvdVideo);
    p.window->StringGrid3->setCell(0, 2, QStringLiteral("2"));
    p.chooseRow(2);
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    QVERIFY(p.playerCalls().last().arguments.last().endsWith(QStringLiteral("/#2")));
    p.window->Startzeituebernehmen1->trigger();
    QTRY_COMPARE(p.row(2),
                 (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"),
                              QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                              QStringLiteral("4")}));
    QCOMPARE(p.commands(), QStringLiteral("get_time\nget_title\n"));
}

void PreviewTest::theCommandsAreLockedDuringAShowing() {
    Preview p;
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    p.window->LockControls();
    for (QAction* a :
         {p.window->Vorschau1, p.window->Startzeituebernehmen1, p.window->Stoppzeituebernehmen1})
        QVERIFY(!a->isEnabled());
    p.window->UnlockControls();
    for (QAction* a :
         {p.window->Vorschau1, p.window->Startzeituebernehmen1, p.window->Stoppzeituebernehmen1})
        QVERIFY(a->isEnabled());
    p.window->preview().end();
    p.window->LockControls();
    p.window->UnlockControls();
    QVERIFY(p.window->Vorschau1->isEnabled());
    QVERIFY(!p.window->Startzeituebernehmen1->isEnabled());
}

void PreviewTest::aPlayerThatDoesNotAnswerIsSaidSo() {
    Preview p;
    p.writePlayerFile(QStringLiteral("silent.txt"), QStringLiteral("1"));
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    QElapsedTimer clock;
    clock.start();
    p.window->Startzeituebernehmen1->trigger();
    // Had the asking waited, the player's second would be over and the message there.
    QVERIFY2(p.messages.shown.empty(), "asking never waits");
    QTRY_COMPARE_WITH_TIMEOUT(p.messages.shown.size(), std::size_t(1), 3000);
    QVERIFY(clock.elapsed() >= 900);
    QVERIFY(p.messages.shown[0].text.startsWith(
        QStringLiteral("Der Player hat seine Position nicht genannt.")));
    QCOMPARE(p.row(1).mid(0, 3),
             (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")}));
}

// The message about a silent player comes from the channel's answer. Whatever ends the
// preview while it is open (closing the window, the system's request to end, which closes it
// as well, the program going), nothing of the preview is used after it has gone. The
// message is posted; one shown with a loop of its own would run `whileShown` inside the
// answer and end the program there, which AddressSanitizer reports as a use after free.
void PreviewTest::thePreviewEndsWhileItsMessageIsOpen() {
    for (const bool programGoes : {false, true}) {
        Preview p;
        p.writePlayerFile(QStringLiteral("silent.txt"), QStringLiteral("1"));
        p.messages.whileShown = [&p, programGoes] {
            p.window->close();
            if (programGoes)
                p.program.reset();
        };
        p.window->Vorschau1->trigger();
        QVERIFY(p.listening());
        const qint64 pid = p.playerCalls().last().pid;
        p.window->Startzeituebernehmen1->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(p.messages.shown.size(), std::size_t(1), 3000);
        QVERIFY(p.messages.shown[0].text.startsWith(
            QStringLiteral("Der Player hat seine Position nicht genannt.")));
        QCOMPARE(p.messages.posted.size(), 1);
        // The box is open now: the program ends meanwhile.
        if (p.program) {
            p.window->close();
            if (programGoes)
                p.program.reset();
        }
        QTRY_VERIFY(!processExists(pid));
        QTest::qWait(50); // whatever was left to go goes
    }
}

// The table is checked after a time is taken, as after a click into it; what it finds comes
// with the player's answer, so it is posted.
void PreviewTest::theCheckAfterATakenTimeIsPosted() {
    Preview p;
    p.chooseRow(3);
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    // A faulty cell elsewhere, which the check after the taken time finds.
    p.window->StringGrid1->setCell(2, 7, QStringLiteral("x"));
    p.messages.shown.clear();
    p.messages.whileShown = [&p] { p.program.reset(); };
    p.window->Stoppzeituebernehmen1->trigger();
    QTRY_COMPARE(p.messages.posted.size(), 1);
    QCOMPARE(p.messages.shown.size(), std::size_t(1));
    QCOMPARE(p.messages.posted[0], timeCellMessage());
    QVERIFY(p.program);
    QCOMPARE(p.row(3).mid(3, 3),
             (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5")}));
    // The check has put the cursor on the faulty cell: the next time goes there.
    QCOMPARE(p.window->tableRow(), 7);
    QCOMPARE(p.window->StringGrid2->currentRow(), 7);
}

// A launcher that hands over to the real player and ends first: the preview goes on with the
// player, and ending the preview ends that player even when it does not obey "quit" (its
// process group on Linux, its job on Windows).
void PreviewTest::endingThePreviewEndsThePlayerALauncherHandedOverTo() {
    Preview p;
    p.writePlayerFile(QStringLiteral("handover.txt"), QStringLiteral("1"));
    p.writePlayerFile(QStringLiteral("deaf.txt"), QStringLiteral("1"));
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    const QString pidFile = QDir(p.programRoot).filePath(QStringLiteral("VLCportable/child.pid"));
    qint64 child = 0;
    QTRY_VERIFY([&] {
        QFile file(pidFile);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = file.readAll();
        child = text.endsWith('\n') ? text.trimmed().toLongLong() : 0;
        return child > 0;
    }());
    const qint64 launcher = p.playerCalls().first().pid;
    QTRY_VERIFY2(!processExists(launcher), "the launcher has handed over and ended");
    QVERIFY(processExists(child));
    QTest::qWait(300);
    QVERIFY2(p.window->preview().running(), "the preview lasts as long as the player's channel");
    QVERIFY(p.window->Startzeituebernehmen1->isEnabled());
    p.window->preview().end();
    QTRY_VERIFY_WITH_TIMEOUT(!processExists(child), 3000);
    QVERIFY(p.commands().contains(QStringLiteral("quit\n")));
}

void PreviewTest::abspielenAndClosingEndThePreview() {
    {
        Preview p;
        p.window->Vorschau1->trigger();
        QVERIFY(p.listening());
        const qint64 pid = p.playerCalls().last().pid;
        p.window->Abspielen1->trigger();
        QVERIFY(!p.window->preview().running());
        QVERIFY(!p.window->Startzeituebernehmen1->isEnabled());
        QTRY_VERIFY(!processExists(pid));
        QCOMPARE(p.commands(), QStringLiteral("quit\n"));
        QVERIFY2(p.pauseDialog->isVisible(), "the showing starts as ever");
        QTest::mouseClick(p.pauseDialog->Button2, Qt::LeftButton);
    }
    Preview p;
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    const qint64 pid = p.playerCalls().last().pid;
    p.window->close();
    QTRY_VERIFY(!processExists(pid));
    QCOMPARE(p.commands(), QStringLiteral("quit\n"));
}

void PreviewTest::closingThePlayerEndsThePreviewSilently() {
    Preview p;
    p.writePlayerFile(QStringLiteral("delay.txt"), QStringLiteral("800"));
    p.window->Vorschau1->trigger();
    QVERIFY(p.listening());
    QTRY_VERIFY_WITH_TIMEOUT(!p.window->preview().running(), 5000);
    QVERIFY(!p.window->Startzeituebernehmen1->isEnabled());
    QVERIFY(!p.window->Stoppzeituebernehmen1->isEnabled());
    QVERIFY(p.messages.shown.empty());
}

void PreviewTest::theCommandsAreInTheMenuAndTheTablesContextMenu() {
    Preview p;
    QStringList video;
    for (QAction* a : p.window->Video1->actions()) {
        if (!a->isSeparator())
            video << a->text() + QLatin1Char(' ') + a->shortcut().toString();
    }
    QCOMPARE(
        video,
        (QStringList{QStringLiteral("Video-DVD/CD öffnen "), QStringLiteral("Video-Datei öffnen "),
                     QStringLiteral("Vorschau F5"), QStringLiteral("Startzeit übernehmen F6"),
                     QStringLiteral("Stoppzeit übernehmen F7"),
                     QStringLiteral("Titel und Kapitel… F8")}));
    for (StringGrid* grid : {p.window->StringGrid1, p.window->StringGrid2, p.window->StringGrid3,
                             p.window->StringGrid4}) {
        QCOMPARE(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(grid->actions(),
                 (QList<QAction*>{p.window->Vorschau1, p.window->Startzeituebernehmen1,
                                  p.window->Stoppzeituebernehmen1, p.window->TitelundKapitel1}));
    }
    // A right click on a row makes it the row the context menu's commands are for.
    StringGrid* stops = p.window->StringGrid2;
    QTest::mouseClick(stops->viewport(), Qt::RightButton, {},
                      stops->visualRect(stops->model()->index(4, 1)).center());
    QCOMPARE(p.window->tableRow(), 4);
    // The row is where the cell cursor is, in whichever grid.
    p.window->StringGrid3->setCurrentCell(7, 0);
    QCOMPARE(p.window->tableRow(), 7);
    p.window->StringGrid4->setCurrentCell(0, 1);
    QCOMPARE(p.window->tableRow(), 7); // the header row is no excerpt
}

void PreviewTest::aLessonIsSavedAsAPlaylist() {
    Preview p;
    p.window->StringGrid4->setCell(1, 3, QStringLiteral("Ankunft & \"Abschied\" <1>"));
    const QString video = *p.chosenFile;
    QTemporaryDir target;
    const QString path = target.filePath(QStringLiteral("Lektion 5 #2 100% Übung.xspf"));
    p.chosenFile = WindowFixture::native(path);
    p.window->Wiedergabeliste1->trigger();
    QCOMPARE(p.lastDialog->defaultSuffix(), QStringLiteral("xspf"));
    QVERIFY(p.lastDialog->windowTitle().contains(QStringLiteral("ohne Pausen")));
    QVERIFY(p.messages.shown.empty());
    const QString cards = target.filePath(QStringLiteral("Lektion 5 #2 100% Übung Titelkarten"));
    QVERIFY(QFile::exists(cards + QStringLiteral("/a3.jpg")));
    QVERIFY2(!QFile::exists(cards + QStringLiteral("/a1.jpg")), "only the ticked excerpts'");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList locations, options;
    QString firstTitle;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QStringLiteral("location"))
            locations << xml.readElementText();
        else if (xml.name() == QStringLiteral("option"))
            options << xml.readElementText();
        else if (xml.name() == QStringLiteral("title") && firstTitle.isEmpty())
            firstTitle = xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(locations.size(), 2);
    QCOMPARE(locations[0],
             QStringLiteral("Lektion%205%20%232%20100%25%20%C3%9Cbung%20Titelkarten/a3.jpg"));
    QCOMPARE(QUrl(locations[1]).toLocalFile(), QDir::fromNativeSeparators(video));
    QCOMPARE(
        options,
        (QStringList{QStringLiteral("file-caching=300"), QStringLiteral("start-time=0.000"),
                     QStringLiteral("stop-time=2.000"), QStringLiteral("start-time=90.000"),
                     QStringLiteral("stop-time=120.000"), QStringLiteral("audio-language=de")}));
    QCOMPARE(firstTitle, QStringLiteral("Filmarin"));
}

void PreviewTest::aPlaylistThatCannotBeWrittenIsSaidSo() {
    Preview p;
    QTemporaryDir target;
    p.chosenFile = WindowFixture::native(target.filePath(QStringLiteral("fehlt/Lektion.xspf")));
    p.window->Wiedergabeliste1->trigger();
    QCOMPARE(p.messages.shown.size(), std::size_t(1));
    QVERIFY(p.messages.shown[0].text.startsWith(QStringLiteral("Die Datei \"")));
    QVERIFY(p.messages.shown[0].text.endsWith(
        QStringLiteral("Bitte korrigieren Sie das Zielverzeichnis.")));
    QVERIFY(!QFile::exists(target.filePath(QStringLiteral("fehlt"))));
}

FILMARIN_WINDOW_TEST(PreviewTest, "preview_window_tests")
#include "preview_test.moc"
