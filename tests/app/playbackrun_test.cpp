// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/showing.h"
#include "playback/commandline.h"
#include "playback/playbackrun.h"
#include "playback/titlecards.h"
#include "processexists.h"
#include "table/tablecheck.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

const QStringList kFileOptions = {
    QStringLiteral("--mouse-hide-timeout=0"), QStringLiteral("--video-title-timeout=0"),
    QStringLiteral("--high-priority"),        QStringLiteral("--no-repeat"),
    QStringLiteral("--playlist-autostart"),   QStringLiteral("--no-input-fast-seek"),
    QStringLiteral("--fullscreen"),           QStringLiteral("--no-video-title-show"),
    QStringLiteral("--play-and-exit"),        QStringLiteral("--file-caching=1000")};

// A window with a video file chosen and the stand-in player in place.
struct Run : WindowFixture {
    Run() {
        placeStandInPlayer();
        TForm1& w = open();
        QFile file(videos.filePath(QStringLiteral("Der Film #1.avi")));
        file.open(QIODevice::WriteOnly);
        file.close();
        chosenFile = native(videos.filePath(QStringLiteral("Der Film #1.avi")));
        w.Datei1->trigger();
        w.show();
        QTRY_VERIFY(w.playerChecked());
        // Only excerpts 2, 5 and 9 have times.
        w.StringGrid2->setCell(0, 1, QStringLiteral("0"));
        setTimes(2, 10, 20);
        setTimes(5, 70, 95);
        setTimes(9, 3600, 3661);
        w.Button1->click();
    }
    void setTimes(int row, int start, int stop) {
        window->StringGrid1->setCell(2, row, QString::number(start));
        window->StringGrid2->setCell(2, row, QString::number(stop));
    }
    // The arguments the player receives for these excerpts, in this order.
    QStringList expectedArguments(const QList<std::tuple<int, int, int>>& excerpts) const {
        QStringList args = kFileOptions;
        for (const auto& [n, start, stop] : excerpts) {
            const QString card =
                native(documentsDir.path() + QStringLiteral("/Bilder_VLC/a%1.jpg").arg(n));
            args << QStringLiteral("file:///") + encodeFilePath(card)
                 << QStringLiteral(":file-caching=300") << QStringLiteral(":start-time=0.000")
                 << QStringLiteral(":stop-time=2.000")
                 << QStringLiteral("file:///") + encodeFilePath(*chosenFile)
                 << QStringLiteral(":start-time=%1.000").arg(start)
                 << QStringLiteral(":stop-time=%1.000").arg(stop)
                 << QStringLiteral(":audio-language=") + language;
        }
        return args;
    }
    QStringList entries() const {
        QStringList list;
        for (int i = 0; i < pauseDialog->ComboBox1->count(); ++i)
            list << pauseDialog->ComboBox1->itemText(i);
        return list;
    }
    bool locked() const { return !window->Panel1->isEnabled() && !window->Info1->isEnabled(); }
    // OK in the pause dialog, then wait until that segment has been played.
    void okAndWait(int calls) {
        QVERIFY(pauseDialog->isVisible());
        QTest::mouseClick(pauseDialog->Button1, Qt::LeftButton);
        QTRY_COMPARE(playerCalls().size(), calls);
        QTRY_VERIFY(!window->Timer1->isActive());
        QTest::qWait(120);
    }

    QTemporaryDir videos;
    QString language = QStringLiteral("de");
};

} // namespace

class PlaybackRunTest : public QObject {
    Q_OBJECT
private slots:
    void threeExcerptsInOneSegment();
    void pauseAfterExcerptFive();
    void choosingExcerptFiveFirstSkipsExcerptTwo();
    void beendenAndCloseBoxEndTheRun();
    void okWithoutAListedExcerptWaits();
    void pauseBehindUntickedExcerptsPreselectsTheNextTicked();
    void okWhenNothingFollowsEndsTheRun();
    void enterPressesTheFocusedButton();
    void wholeRunFromATimesFile_data();
    void wholeRunFromATimesFile();
    void failedSourceCheckLeavesTitleCards();
    void failedTableCheck();
    void nothingSelected();
    void playerTooOld();
    void playerRemovedAfterTheCheck();
    void unwritableTitleCardsStopTheRun();
    void languageComesFromTheMenu();
    void closingTheWindowEndsThePlayer();
    void blackFromTheFirstOkToTheEndOfTheRun();
    void blackCanBeTurnedOff();
    void aRemoteDrivesThePauseDialog_data();
    void aRemoteDrivesThePauseDialog();
    void blackKeysLiftAndBringBackTheBackdrop();
    void theScreensMenuListsThisComputersScreens();
    void theFilmAndTheBlackGoOnTheProjector();
    void closingTheWindowEndsThePlayersChildren();
};

void PlaybackRunTest::threeExcerptsInOneSegment() {
    Run r;
    r.window->Abspielen1->trigger();
    QVERIFY(r.pauseDialog->isVisible());
    QVERIFY(r.locked());
    QCOMPARE(r.entries(),
             (QStringList{QStringLiteral("Ausschnitt 2"), QStringLiteral("Ausschnitt 5"),
                          QStringLiteral("Ausschnitt 9")}));
    QCOMPARE(r.pauseDialog->ComboBox1->currentText(), QStringLiteral("Ausschnitt 2"));
    QCOMPARE(r.pauseDialog->windowTitle(), QStringLiteral("Pause"));
    QCOMPARE(r.pauseDialog->Label1->text(), QStringLiteral("Weiter mit:"));
    QCOMPARE(r.pauseDialog->Button2->text(), QStringLiteral("Beenden"));
    QVERIFY(QFile::exists(r.documentsDir.path() + QStringLiteral("/Bilder_VLC/a20.jpg")));
    r.okAndWait(1);
    const auto calls = r.playerCalls();
    QCOMPARE(calls[0].arguments, r.expectedArguments({{2, 10, 20}, {5, 70, 95}, {9, 3600, 3661}}));
    QCOMPARE(calls[0].folder, r.native(r.programDir.path() + QStringLiteral("/VLCportable")));
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
    QCOMPARE(r.program->run().nextExcerpt(), 21);
    QVERIFY(r.messages.shown.empty());
}

void PlaybackRunTest::pauseAfterExcerptFive() {
    Run r;
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    r.okAndWait(1);
    QCOMPARE(r.playerCalls()[0].arguments, r.expectedArguments({{2, 10, 20}, {5, 70, 95}}));
    QVERIFY(r.pauseDialog->isVisible());
    QVERIFY(r.locked());
    QCOMPARE(r.program->run().nextExcerpt(), 6);
    QCOMPARE(r.entries().size(), 3);
    r.pauseDialog->ComboBox1->setCurrentIndex(2);
    r.okAndWait(2);
    QCOMPARE(r.playerCalls()[1].arguments, r.expectedArguments({{9, 3600, 3661}}));
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
}

void PlaybackRunTest::choosingExcerptFiveFirstSkipsExcerptTwo() {
    Run r;
    r.window->Abspielen1->trigger();
    r.pauseDialog->ComboBox1->setCurrentIndex(1);
    r.okAndWait(1);
    QCOMPARE(r.playerCalls()[0].arguments, r.expectedArguments({{5, 70, 95}, {9, 3600, 3661}}));
}

void PlaybackRunTest::beendenAndCloseBoxEndTheRun() {
    Run r;
    r.window->Abspielen1->trigger();
    QVERIFY(r.locked());
    QTest::mouseClick(r.pauseDialog->Button2, Qt::LeftButton);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
    r.window->Abspielen1->trigger();
    QVERIFY(r.locked());
    r.pauseDialog->close();
    QVERIFY(!r.locked());
    r.window->Abspielen1->trigger();
    QTest::keyClick(r.pauseDialog, Qt::Key_Escape);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
    QTest::qWait(60);
    QVERIFY(r.playerCalls().isEmpty());
}

void PlaybackRunTest::okWithoutAListedExcerptWaits() {
    Run r;
    r.window->Abspielen1->trigger();
    r.pauseDialog->ComboBox1->setEditText(QStringLiteral("Ausschnitt 7"));
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    QVERIFY(r.pauseDialog->isVisible());
    QVERIFY(!r.window->Timer1->isActive());
    QCOMPARE(r.pauseDialog->ComboBox1->currentText(), QStringLiteral("Ausschnitt 2"));
    r.pauseDialog->ComboBox1->setEditText(QStringLiteral("ausschnitt 9 "));
    r.okAndWait(1);
    QCOMPARE(r.playerCalls()[0].arguments, r.expectedArguments({{9, 3600, 3661}}));
}

void PlaybackRunTest::pauseBehindUntickedExcerptsPreselectsTheNextTicked() {
    Run r;
    // Excerpts 1, 3, 4, 5 and 9 ticked, 2 not; a pause after 7.
    r.setTimes(1, 1, 2);
    r.setTimes(3, 30, 40);
    r.setTimes(4, 40, 50);
    r.window->CheckListBox2->setChecked(1, false);
    r.window->CheckListBox1->setChecked(6, true);
    r.window->Abspielen1->trigger();
    QCOMPARE(r.entries(),
             (QStringList{QStringLiteral("Ausschnitt 1"), QStringLiteral("Ausschnitt 3"),
                          QStringLiteral("Ausschnitt 4"), QStringLiteral("Ausschnitt 5"),
                          QStringLiteral("Ausschnitt 9")}));
    r.okAndWait(1);
    QCOMPARE(r.playerCalls()[0].arguments,
             r.expectedArguments({{1, 1, 2}, {3, 30, 40}, {4, 40, 50}, {5, 70, 95}}));
    QCOMPARE(r.program->run().nextExcerpt(), 8);
    QVERIFY(r.pauseDialog->isVisible());
    QCOMPARE(r.pauseDialog->ComboBox1->currentText(), QStringLiteral("Ausschnitt 9"));
    r.okAndWait(2);
    QCOMPARE(r.playerCalls()[1].arguments, r.expectedArguments({{9, 3600, 3661}}));
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
}

void PlaybackRunTest::okWhenNothingFollowsEndsTheRun() {
    Run r;
    r.window->CheckListBox2->setChecked(8, false);
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    r.okAndWait(1);
    QCOMPARE(r.playerCalls()[0].arguments, r.expectedArguments({{2, 10, 20}, {5, 70, 95}}));
    // Every listed excerpt has been played: none is preselected, so that OK does not start
    // the showing over.
    QVERIFY(r.pauseDialog->isVisible());
    QCOMPARE(r.pauseDialog->ComboBox1->currentIndex(), -1);
    QCOMPARE(r.pauseDialog->ComboBox1->currentText(), QString());
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
    QTest::qWait(60);
    QCOMPARE(r.playerCalls().size(), 1);

    // An excerpt can still be chosen again by hand.
    r.window->Abspielen1->trigger();
    r.pauseDialog->ComboBox1->setCurrentIndex(1);
    r.okAndWait(2);
    r.pauseDialog->ComboBox1->setCurrentIndex(0);
    r.okAndWait(3);
    QCOMPARE(r.playerCalls()[2].arguments, r.expectedArguments({{2, 10, 20}, {5, 70, 95}}));
}

void PlaybackRunTest::enterPressesTheFocusedButton() {
    Run r;
    r.window->Abspielen1->trigger();
    r.pauseDialog->Button2->setFocus();
    QTest::keyClick(r.pauseDialog->Button2, Qt::Key_Return);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
    r.window->Abspielen1->trigger();
    r.pauseDialog->Button1->setFocus();
    QTest::keyClick(r.pauseDialog->Button1, Qt::Key_Enter);
    QTRY_COMPARE(r.playerCalls().size(), 1);
}

// The whole way a teacher goes: a table with a pause and an unticked excerpt is saved and
// loaded again, a video file whose name holds a blank, "#" and "%" is chosen, and OK is
// pressed in every pause dialog. Each command line the player gets is compared character
// for character: on Windows as CreateProcessA handed it over, elsewhere as its arguments.
void PlaybackRunTest::wholeRunFromATimesFile_data() {
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("videoFolder");
    QTest::addColumn<QString>("videoName");
    QTest::newRow("code page 1252")
        << QString() << QStringLiteral("Videos") << QStringLiteral("Teil #1 50%.mp4");
    // Turkish, Polish and Cyrillic letters, which code page 1252 cannot hold.
    QTest::newRow("beyond code page 1252")
        << QStringLiteral("Filmarin Şişli ılık Łódź Документы")
        << QStringLiteral("Deutsch Klasse 9ä") << QStringLiteral("Война и мир – Szene 2.mp4");
}

void PlaybackRunTest::wholeRunFromATimesFile() {
    QFETCH(QString, folderName);
    QFETCH(QString, videoFolder);
    QFETCH(QString, videoName);
#ifdef _WIN32
    // Under Wine the test runs as a German Windows: ANSI code page 1252, which cannot hold
    // the names of the second row, and OEM code page 850.
    QCOMPARE(GetACP(), 1252u);
    QCOMPARE(GetOEMCP(), 850u);
#endif
    WindowFixture f(folderName);
    TForm1& w = f.open();
    QTemporaryDir videos;
    QVERIFY(QDir(videos.path()).mkpath(videoFolder));
    const QString video = f.native(videos.filePath(videoFolder + QLatin1Char('/') + videoName));
    QFile file(video);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.chosenFile = video;
    w.Datei1->trigger();
    w.show();
    QTRY_VERIFY(w.playerChecked());

    // Excerpts 1, 2 and 4 ticked, 3 not; a pause after 2.
    const int times[][2] = {{0, 5}, {10, 20}, {30, 40}, {50, 60}};
    w.StringGrid2->setCell(0, 1, QStringLiteral("0"));
    for (int n = 1; n <= 4; ++n) {
        w.StringGrid1->setCell(2, n, QString::number(times[n - 1][0]));
        w.StringGrid2->setCell(2, n, QString::number(times[n - 1][1]));
    }
    w.CheckListBox2->setChecked(2, false);
    w.CheckListBox1->setChecked(1, true);
    w.Button1->click();
    QVERIFY2(f.messages.shown.empty(), "the player check found the player");
    const QString saved = f.native(f.documentsRoot + QStringLiteral("/Unterricht.zei"));
    f.chosenFile = saved;
    w.speichern1->trigger();
    QVERIFY(QFile::exists(saved));
    w.allel1->trigger();
    w.alleabspielen1->trigger();
    w.Pausenlschen1->trigger();
    w.ffnen1->trigger();
    QVERIFY(!w.CheckListBox2->isChecked(2));
    QVERIFY(w.CheckListBox1->isChecked(1));

    const auto encoded = [](QString path) {
        return path.replace(QLatin1Char('%'), QStringLiteral("%25"))
            .replace(QLatin1Char(' '), QStringLiteral("%20"))
            .replace(QLatin1Char('#'), QStringLiteral("%23"));
    };
    const auto item = [&](int n) {
        const QString card =
            f.native(f.documentsRoot + QStringLiteral("/Bilder_VLC/a%1.jpg").arg(n));
        return QStringLiteral(" file:///") + encoded(card) +
               QStringLiteral(" :file-caching=300 :start-time=0.000 :stop-time=2.000 file:///") +
               encoded(video) +
               QStringLiteral(" :start-time=%1.000 :stop-time=%2.000 :audio-language=de")
                   .arg(times[n - 1][0])
                   .arg(times[n - 1][1]);
    };
    const QString start = QLatin1Char('"') + f.playerPath() +
                          QStringLiteral("\"   --mouse-hide-timeout=0 --video-title-timeout=0 "
                                         "--high-priority --no-repeat  --playlist-autostart "
                                         "--no-input-fast-seek --fullscreen --no-video-title-show "
                                         "--play-and-exit --file-caching=1000 ");
    const QStringList expected = {start + item(1) + QLatin1Char(' ') + item(2), start + item(4)};

    w.Abspielen1->trigger();
    QVERIFY(f.pauseDialog->isVisible());
    QCOMPARE(f.pauseDialog->ComboBox1->currentText(), QStringLiteral("Ausschnitt 1"));
    QTest::mouseClick(f.pauseDialog->Button1, Qt::LeftButton);
    QTRY_COMPARE(f.playerCalls().size(), 1);
    QTRY_VERIFY(f.pauseDialog->isVisible());
    QCOMPARE(f.pauseDialog->ComboBox1->currentText(), QStringLiteral("Ausschnitt 4"));
    QTest::mouseClick(f.pauseDialog->Button1, Qt::LeftButton);
    QTRY_COMPARE(f.playerCalls().size(), 2);
    QTRY_VERIFY(w.Panel1->isEnabled());
    QVERIFY(!f.pauseDialog->isVisible());

    const auto calls = f.playerCalls();
    for (int i = 0; i < 2; ++i) {
        if (!calls[i].line.isEmpty()) {
            QCOMPARE(calls[i].line, expected[i]);
        } else {
            // No blank stands inside an argument: they are all encoded.
            const QString quotedPlayer = QLatin1Char('"') + f.playerPath() + QLatin1Char('"');
            QVERIFY(expected[i].startsWith(quotedPlayer));
            const QStringList arguments =
                expected[i].mid(quotedPlayer.size()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QCOMPARE(calls[i].arguments, arguments);
        }
        QCOMPARE(calls[i].folder, f.native(f.programRoot + QStringLiteral("/VLCportable")));
    }
    QVERIFY(f.messages.shown.empty());
    for (int n : {1, 20})
        QVERIFY(QFile::exists(f.documentsRoot + QStringLiteral("/Bilder_VLC/a%1.jpg").arg(n)));
}

void PlaybackRunTest::failedSourceCheckLeavesTitleCards() {
    Run r;
    QFile::remove(*r.chosenFile);
    r.window->Abspielen1->trigger();
    QCOMPARE(r.messages.shown.size(), std::size_t(1));
    QCOMPARE(r.messages.shown[0].text,
             QStringLiteral("Bitte wählen Sie eine Video-DVD oder eine Video-Datei aus."));
    QCOMPARE(r.messages.shown[0].caption, QStringLiteral("Information"));
    QVERIFY(!r.locked());
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(QFile::exists(r.documentsDir.path() + QStringLiteral("/Bilder_VLC/a1.jpg")));
}

void PlaybackRunTest::failedTableCheck() {
    Run r;
    r.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(r.window));
    r.window->StringGrid3->setCell(0, 5, QStringLiteral("0"));
    r.window->Abspielen1->trigger();
    QCOMPARE(r.messages.shown.size(), std::size_t(1));
    QCOMPARE(r.messages.shown[0].text, titleCellMessage());
    QVERIFY(!r.locked());
    QVERIFY(!r.pauseDialog->isVisible());
    // The offending cell, selected while the window was locked, has the focus afterwards.
    QCOMPARE(r.window->StringGrid3->currentRow(), 5);
    QVERIFY(r.window->StringGrid3->isAncestorOf(QApplication::focusWidget()) ||
            r.window->StringGrid3->hasFocus());
}

void PlaybackRunTest::nothingSelected() {
    Run r;
    r.window->Abspielenlschen1->trigger();
    r.window->Abspielen1->trigger();
    QCOMPARE(r.messages.shown.size(), std::size_t(1));
    QCOMPARE(r.messages.shown[0].text,
             QStringLiteral("Sie haben keine Zeiten eingegeben oder keine Ausschnitte ausgewählt "
                            "(Häckchen unter \"Abspielen\")"));
    QVERIFY(!r.locked());
    QVERIFY(!r.pauseDialog->isVisible());
}

void PlaybackRunTest::playerTooOld() {
    Run r;
    r.placePlayer(QStringLiteral("1.6.1"));
    r.window->Abspielen1->trigger();
    QCOMPARE(r.messages.shown.size(), std::size_t(1));
    QVERIFY(r.messages.shown[0].text.startsWith(QStringLiteral("Diese Software funktioniert nur")));
    QVERIFY(!r.locked());
    QVERIFY(!r.pauseDialog->isVisible());
}

// The program's stick is pulled while the pause dialog waits: OK says so and ends the run,
// instead of showing the dialog again as if the excerpts had been played.
void PlaybackRunTest::playerRemovedAfterTheCheck() {
    Run r;
    r.window->Abspielen1->trigger();
    QVERIFY(r.pauseDialog->isVisible());
    QVERIFY(QFile::remove(r.playerPath()));
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    QTRY_COMPARE(r.messages.shown.size(), std::size_t(1));
    QCOMPARE(r.messages.shown[0].caption, QStringLiteral("Fehler"));
    QCOMPARE(r.messages.shown[0].icon, MessageIcon::Error);
    QCOMPARE(r.messages.shown[0].text, playerNotStartedMessage(r.playerPath()));
    QVERIFY(r.messages.shown[0].text.contains(QStringLiteral("\"") + r.playerPath() +
                                              QStringLiteral("\"")));
    QVERIFY(!r.locked());
    QVERIFY(r.window->Abspielen1->isEnabled());
    QTest::qWait(120);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(r.playerCalls().isEmpty());
}

void PlaybackRunTest::unwritableTitleCardsStopTheRun() {
    Run r;
    QFile blockDocuments(r.documentsDir.path() + QStringLiteral("/Bilder_VLC"));
    blockDocuments.open(QIODevice::WriteOnly);
    blockDocuments.close();
    QFile blockProgram(r.programDir.path() + QStringLiteral("/Bilder_VLC"));
    blockProgram.open(QIODevice::WriteOnly);
    blockProgram.close();
    r.window->Abspielen1->trigger();
    QCOMPARE(r.messages.shown.size(), std::size_t(1));
    QCOMPARE(r.messages.shown[0].caption, QStringLiteral("Fehler"));
    QCOMPARE(r.messages.shown[0].text,
             noImageFolderMessage(r.window->documentsFolder(), r.window->programFolder()));
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!r.locked());
}

void PlaybackRunTest::languageComesFromTheMenu() {
    Run r;
    r.window->englisch1->trigger();
    r.language = QStringLiteral("en");
    r.window->Abspielen1->trigger();
    r.okAndWait(1);
    QCOMPARE(r.playerCalls()[0].arguments,
             r.expectedArguments({{2, 10, 20}, {5, 70, 95}, {9, 3600, 3661}}));
}

void PlaybackRunTest::closingTheWindowEndsThePlayer() {
    Run r;
    r.placeStandInPlayer(20000);
    r.window->Abspielen1->trigger();
    QElapsedTimer sinceClose;
    qint64 pid = 0;
    // Closes the window once the player runs, from inside the wait loop.
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        const auto calls = r.playerCalls();
        if (!calls.isEmpty() && !sinceClose.isValid()) {
            pid = calls[0].pid;
            r.window->close();
            sinceClose.start();
        }
    });
    poll.start(20);
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sinceClose.isValid(), 5000);
    // The runner ends and reaps the player: no process with that number is left.
    while (processExists(pid) && sinceClose.elapsed() < 2000)
        QTest::qWait(2);
    const qint64 elapsed = sinceClose.elapsed();
    QVERIFY2(elapsed < 150, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    QVERIFY(r.window->closingFlag());
    QVERIFY(!r.pauseDialog->isVisible());
}

// The portable player's launcher starts the real player as its child and waits for it:
// closing the window ends both.
void PlaybackRunTest::closingTheWindowEndsThePlayersChildren() {
    Run r;
    r.placeStandInPlayer(20000);
    r.writePlayerFile(QStringLiteral("child.txt"), QStringLiteral("1"));
    const QString childFile =
        QDir(r.programDir.path()).filePath(QStringLiteral("VLCportable/child.pid"));
    r.window->Abspielen1->trigger();
    QElapsedTimer sinceClose;
    qint64 launcher = 0;
    qint64 child = 0;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (sinceClose.isValid())
            return;
        const auto calls = r.playerCalls();
        QFile pidFile(childFile);
        if (calls.isEmpty() || !pidFile.open(QIODevice::ReadOnly))
            return;
        child = pidFile.readAll().trimmed().toLongLong();
        if (child == 0)
            return;
        launcher = calls[0].pid;
        r.window->close();
        sinceClose.start();
    });
    poll.start(20);
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(sinceClose.isValid(), 10000);
    QVERIFY(child != launcher);
    while ((processExists(launcher) || processExists(child)) && sinceClose.elapsed() < 3000)
        QTest::qWait(2);
    const qint64 elapsed = sinceClose.elapsed();
    QVERIFY2(!processExists(child), "the player's child still runs");
    QVERIFY2(!processExists(launcher), "the player still runs");
    QVERIFY2(elapsed < 150, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
}

FILMARIN_WINDOW_TEST(PlaybackRunTest, "playbackrun_tests")
#include "playbackrun_test.moc"

namespace {

Backdrop& backdropOf(Run& r) {
    return r.window->Vorfuehrung1->backdrop();
}

} // namespace

// From OK on, the class sees black around the film and the pause dialog; the table comes
// back when the run ends, whichever way.
void PlaybackRunTest::blackFromTheFirstOkToTheEndOfTheRun() {
    Run r;
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    Backdrop& backdrop = backdropOf(r);
    QVERIFY2(!backdrop.covering(), "no black before the first OK");
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    QVERIFY(backdrop.covering());
    QCOMPARE(backdrop.geometry(), r.window->screen()->geometry());
    QTRY_COMPARE(r.playerCalls().size(), 1);
    QTRY_VERIFY(r.pauseDialog->isVisible());
    QVERIFY(backdrop.covering());
    // One screen: the player's command line is the same as without the backdrop.
    QCOMPARE(r.playerCalls()[0].arguments, r.expectedArguments({{2, 10, 20}, {5, 70, 95}}));
    QTRY_COMPARE(QApplication::focusWidget(), r.pauseDialog->Button1);
    QTest::mouseClick(r.pauseDialog->Button2, Qt::LeftButton);
    QVERIFY(!backdrop.covering());

    // To the last excerpt: black until the run is over.
    r.window->Abspielen1->trigger();
    r.pauseDialog->ComboBox1->setCurrentIndex(2);
    r.okAndWait(2);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!backdrop.covering());
    QVERIFY(!r.locked());

    // The close box of the dialog at a pause.
    r.window->Abspielen1->trigger();
    r.okAndWait(3);
    QVERIFY(backdrop.covering());
    r.pauseDialog->close();
    QVERIFY(!backdrop.covering());
}

void PlaybackRunTest::blackCanBeTurnedOff() {
    Run r;
    QVERIFY(r.window->SchwarzerHintergrund1->isChecked());
    r.window->SchwarzerHintergrund1->trigger();
    QVERIFY(!r.window->SchwarzerHintergrund1->isChecked());
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    r.okAndWait(1);
    QVERIFY(!backdropOf(r).covering());
    QTest::keyClick(r.pauseDialog->Button1, Qt::Key_B);
    QVERIFY2(!backdropOf(r).covering(), "B brings no black that is turned off");
    QCOMPARE(r.playerCalls()[0].arguments, r.expectedArguments({{2, 10, 20}, {5, 70, 95}}));
}

// A presenter's remote sends PageDown, Right, Space or Return to go on, PageUp or Left to go
// back one excerpt; with the focus on OK each time the dialog appears, no click is needed.
void PlaybackRunTest::aRemoteDrivesThePauseDialog_data() {
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("firstExcerpt");
    QTest::newRow("PageDown") << QList<int>{Qt::Key_PageDown} << 9;
    QTest::newRow("Right") << QList<int>{Qt::Key_Right} << 9;
    QTest::newRow("Space") << QList<int>{Qt::Key_Space} << 9;
    QTest::newRow("Return") << QList<int>{Qt::Key_Return} << 9;
    QTest::newRow("PageUp, PageDown") << QList<int>{Qt::Key_PageUp, Qt::Key_PageDown} << 5;
    QTest::newRow("Left twice, Right")
        << QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Right} << 2;
    QTest::newRow("Left thrice, Right")
        << QList<int>{Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Right} << 2;
}

void PlaybackRunTest::aRemoteDrivesThePauseDialog() {
    QFETCH(QList<int>, keys);
    QFETCH(int, firstExcerpt);
    Run r;
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    r.okAndWait(1);
    QTRY_COMPARE(QApplication::focusWidget(), r.pauseDialog->Button1);
    QCOMPARE(r.pauseDialog->ComboBox1->currentText(), QStringLiteral("Ausschnitt 9"));
    for (int key : keys) {
        QTRY_COMPARE(QApplication::focusWidget(), r.pauseDialog->Button1);
        QTest::keyClick(r.pauseDialog->Button1, Qt::Key(key));
    }
    QTRY_COMPARE(r.playerCalls().size(), 2);
    QList<std::tuple<int, int, int>> expected = {{2, 10, 20}, {5, 70, 95}, {9, 3600, 3661}};
    while (std::get<0>(expected.first()) != firstExcerpt)
        expected.removeFirst();
    if (firstExcerpt != 9)
        expected.removeLast(); // the pause after 5 ends that segment
    QCOMPARE(r.playerCalls()[1].arguments, r.expectedArguments(expected));
}

void PlaybackRunTest::blackKeysLiftAndBringBackTheBackdrop() {
    Run r;
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    QTest::keyClick(r.pauseDialog->Button1, Qt::Key_B);
    QVERIFY2(!backdropOf(r).covering(), "the showing begins with the first OK");
    r.okAndWait(1);
    QVERIFY(backdropOf(r).covering());
    QTRY_COMPARE(QApplication::focusWidget(), r.pauseDialog->Button1);
    QTest::keyClick(r.pauseDialog->Button1, Qt::Key_B);
    QVERIFY(!backdropOf(r).covering());
    QTRY_COMPARE(QApplication::focusWidget(), r.pauseDialog->Button1);
    QTest::keyClick(r.pauseDialog->Button1, Qt::Key_Period);
    QVERIFY(backdropOf(r).covering());
    QVERIFY(r.pauseDialog->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), r.pauseDialog->Button1);
    // In the text field the keys are text, as ever.
    r.pauseDialog->ComboBox1->lineEdit()->setFocus();
    r.pauseDialog->ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(r.pauseDialog->ComboBox1->lineEdit(), QStringLiteral("b. "));
    QCOMPARE(r.pauseDialog->ComboBox1->currentText(), QStringLiteral("b. "));
    QVERIFY(backdropOf(r).covering());
    QVERIFY(r.playerCalls().size() == 1);
    // Escape still ends the run, and the black with it.
    QTest::keyClick(r.pauseDialog->ComboBox1->lineEdit(), Qt::Key_Escape);
    QVERIFY(!r.pauseDialog->isVisible());
    QVERIFY(!backdropOf(r).covering());
    QVERIFY(!r.locked());
}

void PlaybackRunTest::theScreensMenuListsThisComputersScreens() {
    Run r;
    QStringList entries;
    for (QAction* action : r.window->Vorfuehrung1->actions()) {
        if (!action->isSeparator())
            entries << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
    }
    const QSize size = r.window->screen()->size() * r.window->screen()->devicePixelRatio();
    QCOMPARE(
        entries,
        (QStringList{QStringLiteral("Schwarzer Hintergrund beim Abspielen *"),
                     QStringLiteral("Bildschirm für den Film: automatisch *"),
                     QStringLiteral("Bildschirm 1: %1×%2").arg(size.width()).arg(size.height())}));
    r.window->Vorfuehrung1->screenEntries().last()->trigger();
    QVERIFY(r.window->Vorfuehrung1->screenEntries().last()->isChecked());
    QVERIFY(!r.window->Vorfuehrung1->screenEntries().first()->isChecked());
    QCOMPARE(r.program->showing().playerScreen(), std::nullopt);
}

// With a projector beside the laptop (a display with two screens; skipped with one): the
// menu lists both with their own resolutions, the player is told the projector, and the
// black covers the projector, not the laptop.
void PlaybackRunTest::theFilmAndTheBlackGoOnTheProjector() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        QSKIP("one screen only");
    Run r;
    QStringList entries;
    for (QAction* action : r.window->Vorfuehrung1->screenEntries())
        entries << action->text();
    QCOMPARE(entries, (QStringList{QStringLiteral("Bildschirm für den Film: automatisch"),
                                   QStringLiteral("Bildschirm 1: 1366×768, links (Hauptfenster)"),
                                   QStringLiteral("Bildschirm 2: 1920×1080, rechts")}));
    r.window->CheckListBox1->setChecked(4, true);
    r.window->Abspielen1->trigger();
    QTest::mouseClick(r.pauseDialog->Button1, Qt::LeftButton);
    Backdrop& backdrop = backdropOf(r);
    QVERIFY(backdrop.covering());
    QCOMPARE(backdrop.screen(), screens[1]);
    QTRY_COMPARE(backdrop.frameGeometry(), screens[1]->geometry());
    QTRY_COMPARE(r.playerCalls().size(), 1);
    QVERIFY(
        r.playerCalls()[0].arguments.contains(QStringLiteral("--qt-fullscreen-screennumber=1")));
    QTRY_VERIFY(r.pauseDialog->isVisible());
    QCOMPARE(r.pauseDialog->screen(), r.window->screen());
    QVERIFY(backdrop.covering());
    QTest::mouseClick(r.pauseDialog->Button2, Qt::LeftButton);
    QVERIFY(!backdrop.covering());
}
