// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/discbrowser.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

// Drives whose captions are real folders, so that OK can look at their content.
struct Drives : WindowFixture {
    Drives() {
        QDir(dvd.path()).mkdir(QStringLiteral("VIDEO_TS"));
        QFile track(cd.filePath(QStringLiteral("Track01.cda")));
        track.open(QIODevice::WriteOnly);
        track.close();
        drives->addPath(QStringLiteral("C"), disk.path(), fakeDrive(3));
        drives->addPath(QStringLiteral("D"), dvd.path(),
                        fakeDrive(5, true, QStringLiteral("FILM")));
        drives->addPath(QStringLiteral("E"), cd.path(),
                        fakeDrive(5, true, QStringLiteral("MUSIK")));
        drives->add('A', fakeDrive(2));
    }
    int rowOf(const QString& key) const {
        for (int row = 0; row < discBrowser->rowCount(); ++row)
            if (discBrowser->key(row) == key)
                return row;
        return -1;
    }
    void choose(const QString& key) {
        QTreeWidgetItem* item = discBrowser->ListView1->topLevelItem(rowOf(key));
        discBrowser->ListView1->setCurrentItem(item);
    }
    bool locked() const { return !window->Panel1->isEnabled(); }

    QTemporaryDir disk;
    QTemporaryDir dvd;
    QTemporaryDir cd;
};

} // namespace

class DiscBrowserWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listAtStartUp();
    void refreshCycleRunsWhileHidden();
    void okOnAVideoDvd();
    void okOnAnAudioCd();
    void okOnANotReadyDrive();
    void okOnADiskWithoutContent();
    void theBrowserClosesWhileItsMessageIsOpen();
    void theCycleWaitsUntilTheMessageIsRead();
    void closeBoxAndReopen();
    void closingDuringASlowOkChangesNothing();
    void theWindowAnswersDuringASlowOk();
    void enterPressesTheFocusedOk();
    void longCaptionsShowTheirLastPart();
};

void DiscBrowserWindowTest::listAtStartUp() {
    Drives f;
    f.open();
    TDVD_CD_oeffnen& b = *f.discBrowser;
    QCOMPARE(b.windowTitle(), QStringLiteral("Video-DVD/CD öffnen"));
    QCOMPARE(b.ListView1->headerItem()->text(0), QStringLiteral("Laufwerk"));
    QCOMPARE(b.ListView1->headerItem()->text(3), QStringLiteral("Status"));
    QCOMPARE(b.rowCount(), 4);
    QCOMPARE(b.caption(0), QStringLiteral("A:"));
    QCOMPARE(b.cell(0, 0), QStringLiteral("3½-Diskette"));
    QCOMPARE(b.cell(0, 2), QStringLiteral("nicht bereit"));
    QCOMPARE(b.cell(f.rowOf(QStringLiteral("D")), 1), QStringLiteral("FILM"));
    QCOMPARE(b.state().currentRow, f.rowOf(QStringLiteral("D")));
    QVERIFY(b.ListView1->topLevelItem(f.rowOf(QStringLiteral("D")))->isSelected());
    QVERIFY(!b.isVisible());
    QVERIFY(b.Timer1->isActive());
    QVERIFY(!b.Timer2->isActive());
    QCOMPARE(b.Timer1->interval(), 250);
}

void DiscBrowserWindowTest::refreshCycleRunsWhileHidden() {
    Drives f;
    f.open();
    f.drives->add('G', fakeDrive(2));
    QTRY_COMPARE_WITH_TIMEOUT(f.discBrowser->rowCount(), 5, 2000);
    QCOMPARE(f.discBrowser->cell(4, 0), QStringLiteral("Wechseldatenträger"));
    f.drives->remove('G');
    f.drives->remove('A');
    QTRY_COMPARE_WITH_TIMEOUT(f.discBrowser->rowCount(), 3, 2000);
}

void DiscBrowserWindowTest::okOnAVideoDvd() {
    Drives f;
    TForm1& w = f.open();
    w.mediaSource().videoFilePath = QStringLiteral("/alt/film.avi");
    w.DVD1->trigger();
    QVERIFY(f.discBrowser->isVisible());
    QVERIFY(f.locked());
    QVERIFY(!w.Video1->menuAction()->isEnabled());
    QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
    QTRY_VERIFY(!f.discBrowser->isVisible());
    QVERIFY(f.messages.shown.empty());
    QCOMPARE(w.mediaSource().kind, SourceKind::DvdVideo);
    QCOMPARE(w.mediaSource().driveRoot, f.dvd.path());
    QCOMPARE(w.mediaSource().videoFilePath, QStringLiteral("/alt/film.avi"));
    QCOMPARE(f.discBrowser->state().chosenDrive, f.dvd.path());
    QVERIFY(w.Abspielen1->isEnabled());
    QVERIFY(!f.discBrowser->isVisible());
    QVERIFY(!f.locked());
    QVERIFY(!f.discBrowser->Timer1->isActive());
    QVERIFY(!f.discBrowser->Timer2->isActive());
}

void DiscBrowserWindowTest::okOnAnAudioCd() {
    Drives f;
    TForm1& w = f.open();
    w.DVD1->trigger();
    f.choose(QStringLiteral("E"));
    QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
    QTRY_COMPARE(w.mediaSource().kind, SourceKind::AudioCd);
    QCOMPARE(w.mediaSource().driveRoot, f.cd.path());
    QVERIFY(!f.discBrowser->isVisible());
}

void DiscBrowserWindowTest::okOnANotReadyDrive() {
    Drives f;
    TForm1& w = f.open();
    w.DVD1->trigger();
    f.discBrowser->close();
    w.DVD1->trigger();
    QVERIFY(f.discBrowser->Timer1->isActive()); // the rows are refreshed while it is shown
    f.choose(QStringLiteral("A"));
    QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
    QCOMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].text, notReadyMessage(QStringLiteral("A:")));
    QCOMPARE(f.messages.shown[0].icon, MessageIcon::Warning);
    QVERIFY(f.discBrowser->isVisible());
    QVERIFY(f.discBrowser->Timer1->isActive()); // a failed OK starts the cycle again
    QVERIFY(f.locked());
    QCOMPARE(w.mediaSource().kind, SourceKind::None);
}

void DiscBrowserWindowTest::okOnADiskWithoutContent() {
    Drives f;
    TForm1& w = f.open();
    w.DVD1->trigger();
    f.choose(QStringLiteral("C"));
    QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
    QTRY_COMPARE(f.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.messages.shown[0].text, noContentMessage(f.disk.path()));
    QVERIFY(f.discBrowser->isVisible());
    QCOMPARE(w.mediaSource().kind, SourceKind::None);
    QVERIFY(!w.Abspielen1->isEnabled());
}

// OK's answer comes from the drive's lane; its message may still be open when the browser
// closes or the program goes.
void DiscBrowserWindowTest::theBrowserClosesWhileItsMessageIsOpen() {
    for (const bool programGoes : {false, true}) {
        Drives f;
        TForm1& w = f.open();
        f.messages.whileShown = [&f, programGoes] {
            f.discBrowser->close();
            if (programGoes)
                f.program.reset();
        };
        w.DVD1->trigger();
        f.choose(QStringLiteral("C"));
        QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
        QTRY_COMPARE(f.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.messages.shown[0].text, noContentMessage(f.disk.path()));
        QCOMPARE(f.messages.posted.size(), 1); // the drive's answer runs no loop
        if (f.program) {
            f.discBrowser->close();
            QVERIFY(!f.locked());
            if (programGoes)
                f.program.reset();
        }
        QTest::qWait(600); // the browser's timers would have ticked
    }
}

// With the program's own boxes: after a failed OK the rows are refreshed again once the
// user has confirmed why, not while the box is still open; a browser closed meanwhile
// stays as it was closed.
void DiscBrowserWindowTest::theCycleWaitsUntilTheMessageIsRead() {
    for (const bool closedMeanwhile : {false, true}) {
        Drives f;
        f.boxes = true;
        TForm1& w = f.open();
        w.show();
        w.DVD1->trigger();
        f.choose(QStringLiteral("C"));
        QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
        QMessageBox* box = nullptr;
        QTRY_VERIFY(box = [&w]() -> QMessageBox* {
            for (QMessageBox* open : w.findChildren<QMessageBox*>())
                if (open->isVisible())
                    return open;
            return nullptr;
        }());
        QCOMPARE(box->text(), noContentMessage(f.disk.path()));
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QVERIFY(f.discBrowser->Button1->isEnabled());
        QTest::qWait(50);
        QVERIFY2(!f.discBrowser->Timer1->isActive(), "no refresh while the box is open");
        QVERIFY(!f.discBrowser->Timer2->isActive());
        if (closedMeanwhile)
            f.discBrowser->close();
        const QPointer<QMessageBox> watched(box);
        box->button(QMessageBox::Ok)->click();
        QTRY_VERIFY(!watched);
        QCOMPARE(f.discBrowser->Timer1->isActive(), !closedMeanwhile);
        QCOMPARE(f.discBrowser->isVisible(), !closedMeanwhile);
    }
}

void DiscBrowserWindowTest::closeBoxAndReopen() {
    Drives f;
    TForm1& w = f.open();
    w.DVD1->trigger();
    QTest::keyClick(f.discBrowser, Qt::Key_Escape);
    QVERIFY(!f.discBrowser->isVisible());
    QVERIFY(!f.locked());
    QCOMPARE(w.mediaSource().kind, SourceKind::None);
    QVERIFY(!f.discBrowser->Timer1->isActive());
    f.drives->add('G', fakeDrive(2));
    QTest::qWait(700);
    QCOMPARE(f.discBrowser->rowCount(), 4); // closed, it is no longer refreshed
    // Shown again, the rows are current.
    w.DVD1->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(f.discBrowser->rowCount(), 5, 2000);
    f.drives->remove('G');
    QTRY_COMPARE_WITH_TIMEOUT(f.discBrowser->rowCount(), 4, 2000);
}

void DiscBrowserWindowTest::closingDuringASlowOkChangesNothing() {
    // A share that takes its time to show what it holds; the browser is closed meanwhile,
    // by its close box or by Escape.
    for (const bool escape : {false, true}) {
        Drives f;
        f.drives->contentDelay = std::chrono::milliseconds(1500);
        TForm1& w = f.open();
        w.DVD1->trigger();
        QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
        QVERIFY(f.discBrowser->checking());
        QVERIFY(!f.discBrowser->Button1->isEnabled());
        QTest::qWait(300);
        if (escape)
            QTest::keyClick(f.discBrowser, Qt::Key_Escape);
        else
            f.discBrowser->close();
        QVERIFY(!f.discBrowser->checking());
        QVERIFY(!f.locked());
        QTest::qWait(1800); // the answer has come by now
        QCOMPARE(w.mediaSource().kind, SourceKind::None);
        QVERIFY(f.messages.shown.empty());
        // Opened again, OK works as before.
        f.drives->contentDelay = std::chrono::milliseconds(0);
        w.DVD1->trigger();
        QVERIFY(f.discBrowser->Button1->isEnabled());
        QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
        QTRY_COMPARE(w.mediaSource().kind, SourceKind::DvdVideo);
    }
}

void DiscBrowserWindowTest::theWindowAnswersDuringASlowOk() {
    Drives f;
    f.drives->contentDelay = std::chrono::milliseconds(800);
    TForm1& w = f.open();
    w.DVD1->trigger();
    const int dvdRow = f.rowOf(QStringLiteral("D"));
    QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton);
    // Another row chosen meanwhile does not change what OK looks into.
    f.choose(QStringLiteral("C"));
    QTest::mouseClick(f.discBrowser->Button1, Qt::LeftButton); // a second OK waits
    QTRY_VERIFY(!f.discBrowser->isVisible());
    QCOMPARE(w.mediaSource().kind, SourceKind::DvdVideo);
    QCOMPARE(w.mediaSource().driveRoot, f.dvd.path());
    QVERIFY(f.messages.shown.empty());
    QCOMPARE(dvdRow, f.rowOf(QStringLiteral("D")));
    const std::lock_guard<std::recursive_mutex> lock(f.drives->mutex);
    QCOMPARE(f.drives->contentQueries[f.dvd.path()], 1);
    QCOMPARE(f.drives->contentQueries[f.disk.path()], 0);
}

void DiscBrowserWindowTest::enterPressesTheFocusedOk() {
    Drives f;
    TForm1& w = f.open();
    w.DVD1->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(f.discBrowser));
    // Enter in the drive list presses nothing.
    f.discBrowser->ListView1->setFocus();
    QTest::keyClick(f.discBrowser->ListView1, Qt::Key_Return);
    QVERIFY(f.discBrowser->isVisible());
    QCOMPARE(w.mediaSource().kind, SourceKind::None);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        w.DVD1->trigger();
        f.discBrowser->Button1->setFocus();
        QTest::keyClick(f.discBrowser->Button1, key);
        QTRY_VERIFY(!f.discBrowser->isVisible());
        QCOMPARE(w.mediaSource().kind, SourceKind::DvdVideo);
        QVERIFY(!f.locked());
        w.mediaSource().kind = SourceKind::None;
    }
}

void DiscBrowserWindowTest::longCaptionsShowTheirLastPart() {
    Drives f;
    f.open();
    TDVD_CD_oeffnen& b = *f.discBrowser;
    const int row = f.rowOf(QStringLiteral("D"));
    QTreeWidgetItem* item = b.ListView1->topLevelItem(row);
    QCOMPARE(b.caption(row), f.dvd.path());
    QCOMPARE(item->text(0), QFileInfo(f.dvd.path()).fileName());
    QCOMPARE(item->toolTip(0), f.dvd.path());
    QCOMPARE(b.ListView1->topLevelItem(f.rowOf(QStringLiteral("A")))->text(0),
             QStringLiteral("A:"));
    // OK works on the whole path.
    f.choose(QStringLiteral("D"));
    f.window->DVD1->trigger();
    QTest::mouseClick(b.Button1, Qt::LeftButton);
    QTRY_COMPARE(f.window->mediaSource().driveRoot, f.dvd.path());
}

FILMARIN_WINDOW_TEST(DiscBrowserWindowTest, "discbrowser_window_tests")
#include "discbrowser_window_test.moc"
