// SPDX-License-Identifier: GPL-3.0-or-later
// "Titel und Kapitel…" on the test discs that make_test_discs.sh authored, each a folder given
// a drive letter and chosen in the disc browser: the list, a title, a chapter, a run of
// chapters and every chapter taken into the table with the total after it; a disc that does
// not answer, one that cannot be read, and cancelling, each leaving the table as it was.
#include "sources/disctitles.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

// The folder of the test discs; under Wine through drive Z:, which Wine gives to the root.
QString testDisc(const char* name) {
    QString folder = QStringLiteral(FILMARIN_TEST_DISCS "/") + QString::fromUtf8(name);
#ifdef _WIN32
    folder = QDir::toNativeSeparators(QStringLiteral("Z:") + folder);
#endif
    return folder;
}

struct Discs : WindowFixture {
    Discs() {
        QDir(unreadable.path()).mkdir(QStringLiteral("VIDEO_TS"));
        drives->add('C', fakeDrive(3));
        drives->addPath(QStringLiteral("D"), testDisc("Zwei Titel"),
                        fakeDrive(5, true, QStringLiteral("ZWEI")));
        drives->addPath(QStringLiteral("E"), testDisc("99 Titel"),
                        fakeDrive(5, true, QStringLiteral("VIELE")));
        drives->addPath(QStringLiteral("F"), unreadable.path(), fakeDrive(5, true));
    }
    // Chooses the drive in the disc browser, as a teacher does.
    void chooseDisc(const QString& key) {
        window->DVD1->trigger();
        for (int row = 0; row < discBrowser->rowCount(); ++row) {
            if (discBrowser->key(row) == key)
                discBrowser->ListView1->setCurrentItem(discBrowser->ListView1->topLevelItem(row));
        }
        QTest::mouseClick(discBrowser->Button1, Qt::LeftButton);
        QTRY_VERIFY(!discBrowser->isVisible());
    }
    // The window as the user has it, with the keyboard.
    void showWindow() {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("The main window did not become active.");
    }
    // Puts the cell cursor into the row, then opens the titles with F8 and waits for them.
    TTitelKapitel& openTitles(int row) {
        showWindow();
        window->StringGrid1->setCurrentCell(row, 0);
        QTest::keyClick(window, Qt::Key_F8);
        TTitelKapitel& dialog = window->titlesDialog();
        if (!QTest::qWaitFor([&] { return !dialog.reading(); }, 10000))
            qWarning("The disc was not read within 10 s.");
        return dialog;
    }
    TTitelKapitel& dialog() { return window->titlesDialog(); }
    QTreeWidgetItem* titleItem(int index) { return dialog().TreeView1->topLevelItem(index); }
    // Start hours, minutes, seconds, stop hours, minutes, seconds, title, heading.
    QStringList row(int r) const {
        return {window->StringGrid1->cell(0, r), window->StringGrid1->cell(1, r),
                window->StringGrid1->cell(2, r), window->StringGrid2->cell(0, r),
                window->StringGrid2->cell(1, r), window->StringGrid2->cell(2, r),
                window->StringGrid3->cell(0, r), window->StringGrid4->cell(1, r)};
    }
    // Every cell and tick, and the total.
    QStringList table() const {
        QStringList all;
        for (int r = 1; r <= kExcerptCount; ++r)
            all << row(r);
        for (int i = 0; i < window->CheckListBox2->count(); ++i)
            all << QString::number(window->CheckListBox2->isChecked(i));
        for (int i = 0; i < window->CheckListBox1->count(); ++i)
            all << QString::number(window->CheckListBox1->isChecked(i));
        all << window->LabeledEdit1->text();
        return all;
    }
    QString total() const { return window->LabeledEdit1->text(); }

    QTemporaryDir unreadable;
};

QStringList times(int startSeconds, int stopSeconds, int title, int row) {
    const auto hms = [](int s) {
        return QStringList{QString::number(s / 3600), QString::number(s / 60 % 60),
                           QString::number(s % 60)};
    };
    return hms(startSeconds) + hms(stopSeconds) +
           QStringList{QString::number(title),
                       QStringLiteral("Ausschnitt ") + QString::number(row)};
}

} // namespace

class TitelKapitelWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theCommandIsForAVideoDvd();
    void theTitlesAreListedAsAuthored();
    void takingIntoTheRow_data();
    void takingIntoTheRow();
    void everyChapterIntoRowsOfTheirOwn();
    void ninetyNineTitles();
    void cancellingLeavesTheTableUnchanged();
    void aDiscThatDoesNotAnswerIsNamed();
    void aDiscThatCannotBeReadIsNamed();
};

void TitelKapitelWindowTest::theCommandIsForAVideoDvd() {
    Discs f;
    TForm1& w = f.open();
    QCOMPARE(w.TitelundKapitel1->text(), QStringLiteral("Titel und Kapitel…"));
    QCOMPARE(w.TitelundKapitel1->shortcut(), QKeySequence(Qt::Key_F8));
    QVERIFY(!w.TitelundKapitel1->isEnabled());
    f.showWindow();
    QTest::keyClick(&w, Qt::Key_F8);
    QVERIFY(!w.titlesDialog().isVisible());
    f.chooseDisc(QStringLiteral("D"));
    QVERIFY(w.TitelundKapitel1->isEnabled());
    // Locked with the window, as during a showing.
    w.LockControls();
    QVERIFY(!w.TitelundKapitel1->isEnabled());
    w.UnlockControls();
    QVERIFY(w.TitelundKapitel1->isEnabled());
    // A video file as the source.
    QTemporaryFile video;
    QVERIFY(video.open());
    f.chosenFile = video.fileName();
    w.Datei1->trigger();
    QCOMPARE(w.mediaSource().kind, SourceKind::VideoFile);
    QVERIFY(!w.TitelundKapitel1->isEnabled());
    QVERIFY(f.messages.shown.empty());
}

void TitelKapitelWindowTest::theTitlesAreListedAsAuthored() {
    Discs f;
    TForm1& w = f.open();
    f.drives->titlesDelay = std::chrono::milliseconds(300);
    f.chooseDisc(QStringLiteral("D"));
    w.StringGrid1->setCurrentCell(3, 0);
    w.TitelundKapitel1->trigger();
    TTitelKapitel& d = f.dialog();
    QVERIFY(d.isVisible());
    QVERIFY(d.isModal());
    QCOMPARE(d.windowTitle(), QStringLiteral("Titel und Kapitel"));
    // While the disc is read, the dialog says so, and the window goes on.
    QCOMPARE(d.Label1->text(), QStringLiteral("Der Datenträger wird gelesen …"));
    QVERIFY(d.reading());
    QVERIFY(!d.Button1->isEnabled());
    QVERIFY(d.Button3->isEnabled());
    QTRY_VERIFY(!d.reading());
    QCOMPARE(d.TreeView1->topLevelItemCount(), 2);
    QCOMPARE(f.titleItem(0)->text(0),
             QStringLiteral("Titel 1 – 0:00:12 – 2 Kapitel – Ton: de – Hauptfilm"));
    QCOMPARE(f.titleItem(1)->text(0),
             QStringLiteral("Titel 2 – 0:00:07 – 3 Kapitel – Ton: de, en – Untertitel: fr"));
    QVERIFY(f.titleItem(0)->font(0).bold());
    QVERIFY(!f.titleItem(1)->font(0).bold());
    // Opening a title lists its chapters.
    QVERIFY(!f.titleItem(1)->isExpanded());
    d.TreeView1->expandItem(f.titleItem(1));
    QStringList chapters;
    for (int i = 0; i < f.titleItem(1)->childCount(); ++i)
        chapters << f.titleItem(1)->child(i)->text(0);
    QCOMPARE(chapters, (QStringList{QStringLiteral("Kapitel 1 – ab 0:00:00 – Länge 0:00:02"),
                                    QStringLiteral("Kapitel 2 – ab 0:00:02 – Länge 0:00:02"),
                                    QStringLiteral("Kapitel 3 – ab 0:00:04 – Länge 0:00:03")}));
    QCOMPARE(f.titleItem(0)->child(1)->text(0),
             QStringLiteral("Kapitel 2 – ab 0:00:05 – Länge 0:00:07"));
    // The main film is chosen to begin with, for row 3.
    QCOMPARE(d.TreeView1->selectedItems(), QList<QTreeWidgetItem*>{f.titleItem(0)});
    QVERIFY(d.Label1->text().contains(QStringLiteral("als Ausschnitt 3 ein")));
    QVERIFY(d.Button1->isEnabled());
    // Chapters of two titles make no choice.
    f.titleItem(0)->setExpanded(true);
    d.TreeView1->clearSelection();
    f.titleItem(0)->child(0)->setSelected(true);
    f.titleItem(1)->child(0)->setSelected(true);
    QVERIFY(!d.Button1->isEnabled());
    QVERIFY(d.Label1->text().contains(QStringLiteral("nur eines Titels")));
    d.reject();
    const std::lock_guard<std::recursive_mutex> lock(f.drives->mutex);
    QCOMPARE(f.drives->titlesQueries[testDisc("Zwei Titel")], 1);
}

void TitelKapitelWindowTest::takingIntoTheRow_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("title"); // counted from 0
    QTest::addColumn<QList<int>>("chapters");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("total");
    // At start-up excerpt 1 plays 10 hours; every excerpt is ticked.
    QTest::newRow("a title") << 3 << 1 << QList<int>{} << times(0, 7, 2, 3)
                             << QStringLiteral("10h 0min 7sec");
    QTest::newRow("the main film, chosen at first")
        << 20 << -1 << QList<int>{} << times(0, 12, 1, 20) << QStringLiteral("10h 0min 12sec");
    QTest::newRow("one chapter") << 1 << 0 << QList<int>{2} << times(5, 12, 1, 1)
                                 << QStringLiteral("0h 0min 7sec");
    QTest::newRow("a run of chapters")
        << 4 << 1 << QList<int>{2, 3} << times(2, 7, 2, 4) << QStringLiteral("10h 0min 5sec");
    QTest::newRow("a title and one of its chapters")
        << 1 << 1 << QList<int>{0, 3} << times(0, 7, 2, 1) << QStringLiteral("0h 0min 7sec");
}

void TitelKapitelWindowTest::takingIntoTheRow() {
    QFETCH(int, row);
    QFETCH(int, title);
    QFETCH(QList<int>, chapters);
    QFETCH(QStringList, written);
    QFETCH(QString, total);
    Discs f;
    TForm1& w = f.open();
    f.chooseDisc(QStringLiteral("D"));
    w.CheckListBox1->setChecked(2, true); // a pause tick, to be kept
    QStringList before = f.table();
    TTitelKapitel& d = f.openTitles(row);
    QCOMPARE(w.tableRow(), row);
    if (title >= 0) {
        d.TreeView1->clearSelection();
        QTreeWidgetItem* item = f.titleItem(title);
        item->setExpanded(true);
        if (chapters.isEmpty())
            item->setSelected(true);
        for (int chapter : chapters)
            (chapter == 0 ? item : item->child(chapter - 1))->setSelected(true);
    }
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(f.row(row), written);
    // Nothing else changed: the other rows, the headings, the ticks.
    QStringList after = f.table();
    for (int i = 0; i < written.size(); ++i)
        before[(row - 1) * written.size() + i] = written[i];
    before.last() = total;
    QCOMPARE(after, before);
    QCOMPARE(f.total(), total);
    QVERIFY(f.messages.shown.empty());
}

void TitelKapitelWindowTest::everyChapterIntoRowsOfTheirOwn() {
    Discs f;
    TForm1& w = f.open();
    f.chooseDisc(QStringLiteral("D"));
    w.Abspielenlschen1->trigger();
    w.CheckListBox2->setChecked(0, true);
    w.CheckListBox2->setChecked(1, true);
    // Title 1 (the main film) from row 1: both chapters.
    TTitelKapitel& d = f.openTitles(1);
    QTest::mouseClick(d.Button2, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(f.row(1), times(0, 5, 1, 1));
    QCOMPARE(f.row(2), times(5, 12, 1, 2));
    QCOMPARE(f.row(3), times(0, 0, 1, 3));
    QCOMPARE(f.total(), QStringLiteral("0h 0min 12sec"));
    QCOMPARE(f.messages.posted,
             QStringList{QStringLiteral("2 Kapitel wurden als Ausschnitte 1 bis 2 eingetragen.")});
    // Chapters 1 to 3 of title 2 from row 19: two rows are left.
    f.openTitles(19);
    d.TreeView1->clearSelection();
    f.titleItem(1)->setExpanded(true);
    f.titleItem(1)->child(0)->setSelected(true);
    f.titleItem(1)->child(2)->setSelected(true);
    QTest::mouseClick(d.Button2, Qt::LeftButton);
    QCOMPARE(f.row(19), times(0, 2, 2, 19));
    QCOMPARE(f.row(20), times(2, 4, 2, 20));
    QCOMPARE(f.row(18), times(0, 0, 1, 18));
    QCOMPARE(f.messages.posted.last(),
             QStringLiteral("2 Kapitel wurden als Ausschnitte 19 bis 20 eingetragen. 1 weiteres "
                            "Kapitel passte nicht mehr in die Tabelle, die mit Ausschnitt 20 "
                            "endet."));
}

void TitelKapitelWindowTest::ninetyNineTitles() {
    Discs f;
    TForm1& w = f.open();
    f.chooseDisc(QStringLiteral("E"));
    TTitelKapitel& d = f.openTitles(2);
    QCOMPARE(d.TreeView1->topLevelItemCount(), 99);
    QCOMPARE(f.titleItem(2)->text(0),
             QStringLiteral("Titel 3 – 0:00:03 – 1 Kapitel – Ton: ? – Hauptfilm"));
    QCOMPARE(f.titleItem(98)->text(0), QStringLiteral("Titel 99 – 0:00:03 – 1 Kapitel – Ton: ?"));
    d.TreeView1->clearSelection();
    f.titleItem(98)->setSelected(true);
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    QCOMPARE(f.row(2), times(0, 3, 99, 2));
    QCOMPARE(w.StringGrid3->cell(0, 2), QStringLiteral("99"));
}

void TitelKapitelWindowTest::cancellingLeavesTheTableUnchanged() {
    Discs f;
    TForm1& w = f.open();
    f.chooseDisc(QStringLiteral("D"));
    const QStringList before = f.table();
    // After the list has come.
    TTitelKapitel& d = f.openTitles(4);
    d.TreeView1->clearSelection();
    f.titleItem(1)->setSelected(true);
    QTest::mouseClick(d.Button3, Qt::LeftButton);
    QVERIFY(!d.isVisible());
    QCOMPARE(f.table(), before);
    // With Escape, while the disc is still read: its answer changes nothing.
    f.drives->titlesDelay = std::chrono::milliseconds(600);
    w.StringGrid1->setCurrentCell(5, 0);
    w.TitelundKapitel1->trigger();
    QVERIFY(d.reading());
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.reading());
    QTest::qWait(900);
    QCOMPARE(d.TreeView1->topLevelItemCount(), 0);
    QCOMPARE(f.table(), before);
    QVERIFY(f.messages.shown.empty());
}

void TitelKapitelWindowTest::aDiscThatDoesNotAnswerIsNamed() {
    Discs f;
    TForm1& w = f.open();
    f.chooseDisc(QStringLiteral("D"));
    const QStringList before = f.table();
    f.drives->titlesDelay = std::chrono::milliseconds(2500);
    TTitelKapitel& d = w.titlesDialog();
    d.setDeadline(std::chrono::milliseconds(700));
    // The window's events go on while the disc is read.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    w.StringGrid1->setCurrentCell(2, 0);
    w.TitelundKapitel1->trigger();
    QTest::qWait(300);
    QVERIFY(d.isVisible());
    QCOMPARE(d.Label1->text(), QStringLiteral("Der Datenträger wird gelesen …"));
    QVERIFY(ticks >= 5);
    QTRY_VERIFY(!d.isVisible());
    QCOMPARE(f.messages.posted, QStringList{discNotAnsweringMessage(testDisc("Zwei Titel"))});
    QCOMPARE(f.table(), before);
    // The late answer changes nothing.
    QTest::qWait(2500);
    QCOMPARE(f.messages.posted.size(), 1);
    QCOMPARE(f.table(), before);
}

void TitelKapitelWindowTest::aDiscThatCannotBeReadIsNamed() {
    Discs f;
    TForm1& w = f.open();
    f.chooseDisc(QStringLiteral("F"));
    QCOMPARE(w.mediaSource().kind, SourceKind::DvdVideo);
    const QStringList before = f.table();
    TTitelKapitel& d = f.openTitles(1);
    QVERIFY(!d.isVisible());
    QCOMPARE(f.messages.posted, QStringList{discUnreadableMessage(f.unreadable.path())});
    QCOMPARE(f.table(), before);
}

FILMARIN_WINDOW_TEST(TitelKapitelWindowTest, "titelkapitel_window_tests")
#include "titelkapitel_window_test.moc"
