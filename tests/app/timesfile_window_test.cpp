// SPDX-License-Identifier: GPL-3.0-or-later
#include "../timesfile/golden.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

QStringList allCells(TForm1& w) {
    QStringList cells;
    for (StringGrid* grid : {w.StringGrid1, w.StringGrid2, w.StringGrid3, w.StringGrid4})
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int column = 0; column < grid->columnCount(); ++column)
                cells << grid->cell(column, row);
    for (CheckListBox* list : {w.CheckListBox1, w.CheckListBox2})
        for (int i = 0; i < list->count(); ++i)
            cells << (list->isChecked(i) ? QStringLiteral("x") : QStringLiteral("-"));
    cells << w.LabeledEdit1->text();
    for (QAction* a : w.Sprache1->actions())
        cells << (a->isChecked() ? a->text() : QString());
    return cells;
}

} // namespace

class TimesFileWindowTest : public QObject {
    Q_OBJECT
private slots:
    void tableSavedAfterStartUpIsTheDocumentedImage();
    void savedTableComesBackAfterARestart();
    void cancelledDialogsDoNothing();
};

void TimesFileWindowTest::tableSavedAfterStartUpIsTheDocumentedImage() {
    WindowFixture f;
    TForm1& w = f.open();
    f.chosenFile = f.documentsDir.filePath(QStringLiteral("start.zei"));
    w.speichern1->trigger();
    QCOMPARE(f.lastDialog, w.SaveDialogZeiten);
    QCOMPARE(w.SaveDialogZeiten->directory().absolutePath(),
             QDir(f.documentsDir.path()).absolutePath());
    QFile file(*f.chosenFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    GoldenFile g;
    g.freshTable();
    g.int32At(0, 11);
    g.doubleAt(GoldenFile::stopTime(0, 1), 10);
    for (int k = 0; k < 21; ++k)
        g.byteAt(GoldenFile::playFlag(k), 1);
    g.shortStringAt(GoldenFile::languageCode(), "de");
    for (int row = 1; row <= 20; ++row)
        g.shortStringAt(GoldenFile::heading(1, row),
                        QByteArray("Ausschnitt ") + QByteArray::number(row));
    QCOMPARE(bytes.size(), 17697);
    QCOMPARE(bytes, g.bytes);
    QVERIFY(f.messages.shown.empty());
}

void TimesFileWindowTest::savedTableComesBackAfterARestart() {
    QStringList before;
    QTemporaryDir keep;
    const QString path = keep.filePath(QStringLiteral("Unterricht.zei"));
    {
        WindowFixture f;
        TForm1& w = f.open();
        w.StringGrid1->setCell(1, 3, QStringLiteral("2"));
        w.StringGrid2->setCell(1, 3, QStringLiteral("4,5"));
        w.StringGrid3->setCell(0, 3, QStringLiteral("7"));
        w.StringGrid4->setCell(1, 3, QStringLiteral("Der Höhepunkt – ½ Stunde"));
        w.CheckListBox2->setChecked(0, false);
        w.CheckListBox1->setChecked(2, true);
        w.franzsisch1->trigger();
        f.chosenFile = path;
        w.speichern1->trigger();
        QVERIFY(f.messages.shown.empty());
        w.Button1->click();
        before = allCells(w);
        QCOMPARE(w.StringGrid2->cell(2, 3), QStringLiteral("30"));
    }
    WindowFixture f;
    TForm1& w = f.open();
    QVERIFY(allCells(w) != before);
    f.chosenFile = path;
    w.ffnen1->trigger();
    QCOMPARE(f.lastDialog, w.OpenDialogZeiten);
    QCOMPARE(w.OpenDialogZeiten->directory().absolutePath(),
             QDir(f.documentsDir.path()).absolutePath());
    QVERIFY(f.messages.shown.empty());
    QCOMPARE(allCells(w), before);
    QVERIFY(w.franzsisch1->isChecked());
    QCOMPARE(w.StringGrid4->cell(1, 3), QStringLiteral("Der Höhepunkt – ½ Stunde"));
}

void TimesFileWindowTest::cancelledDialogsDoNothing() {
    WindowFixture f;
    TForm1& w = f.open();
    const QStringList before = allCells(w);
    f.chosenFile.reset();
    w.speichern1->trigger();
    w.ffnen1->trigger();
    QCOMPARE(allCells(w), before);
    QVERIFY(f.messages.shown.empty());
    QVERIFY(QDir(f.documentsDir.path()).entryList(QDir::Files).isEmpty());
}

FILMARIN_WINDOW_TEST(TimesFileWindowTest, "timesfile_window_tests")
#include "timesfile_window_test.moc"
