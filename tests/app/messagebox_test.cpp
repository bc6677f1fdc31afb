// SPDX-License-Identifier: GPL-3.0-or-later
// The message boxes: shown ones wait for the user, posted ones are modal without a loop of
// their own and follow one another.
#include "windowfixture.h"
#include "windowtests.h"

#include <QMessageBox>
#include <QPointer>
#include <QtTest>
#include <memory>

using namespace filmarin;
using namespace filmarin::testing;

namespace {

QList<QMessageBox*> openBoxes(QWidget& parent) {
    QList<QMessageBox*> boxes;
    for (QMessageBox* box : parent.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            boxes << box;
    }
    return boxes;
}

} // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
private slots:
    void postedMessagesFollowOneAnother();
    void theWindowMayGoWhilePostedBoxesAreOpen();
};

void MessageBoxTest::postedMessagesFollowOneAnother() {
    WindowFixture f;
    f.boxes = true;
    TForm1& window = f.open(false);
    window.show();
    MessageSink& sink = window.messages();
    QCOMPARE(&sink, static_cast<MessageSink*>(&window));
    sink.postMessage(QStringLiteral("Information"), QStringLiteral("erste\rZeile"),
                     MessageIcon::Warning);
    sink.postMessage(QStringLiteral("Fehler"), QStringLiteral("zweite"), MessageIcon::Error);
    // Nothing waited: both are there, one of them open.
    QTRY_COMPARE(openBoxes(window).size(), 1);
    QMessageBox* first = openBoxes(window).first();
    QCOMPARE(first->windowTitle(), QStringLiteral("Information"));
    QCOMPARE(first->text(), QStringLiteral("erste\nZeile"));
    QCOMPARE(first->icon(), QMessageBox::Warning);
    QCOMPARE(first->windowModality(), Qt::ApplicationModal);
    QCOMPARE(first->textFormat(), Qt::PlainText);
    QPointer<QMessageBox> gone(first);
    first->button(QMessageBox::Ok)->click();
    QTRY_VERIFY(!gone);
    QTRY_COMPARE(openBoxes(window).size(), 1);
    QMessageBox* second = openBoxes(window).first();
    QCOMPARE(second->windowTitle(), QStringLiteral("Fehler"));
    QCOMPARE(second->icon(), QMessageBox::Critical);
    second->button(QMessageBox::Ok)->click();
    QTRY_COMPARE(openBoxes(window).size(), 0);
    // A new one after the queue has run dry opens at once.
    sink.postMessage(QStringLiteral("Information"), QStringLiteral("dritte"),
                     MessageIcon::Information);
    QTRY_COMPARE(openBoxes(window).size(), 1);
}

void MessageBoxTest::theWindowMayGoWhilePostedBoxesAreOpen() {
    WindowFixture f;
    f.boxes = true;
    TForm1& window = f.open(false);
    window.show();
    window.postMessage(QStringLiteral("Information"), QStringLiteral("a"),
                       MessageIcon::Information);
    window.postMessage(QStringLiteral("Information"), QStringLiteral("b"),
                       MessageIcon::Information);
    QTRY_COMPARE(openBoxes(window).size(), 1);
    // The window owns its boxes and takes them, and the one still waiting, along.
    f.program.reset();
    QTest::qWait(50);
}

FILMARIN_WINDOW_TEST(MessageBoxTest, "messagebox_tests")
#include "messagebox_test.moc"
