// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialog with a path typed into its file name field: nothing is looked up on the
// window's thread while typing; on OK the path is looked up away from it, and a place that
// does not answer is named while the dialog stays.
#include "app/filedialog.h"
#include "windowfixture.h"
#include "windowtests.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace filmarin;

namespace {

struct Looks {
    // The looks asked for, each answered by the test or never.
    QStringList paths;
    std::shared_ptr<PendingAnswer<PathKind>> last;
    FileDialog::Look look() {
        return [this](const QString& path) {
            paths << path;
            last = std::make_shared<PendingAnswer<PathKind>>();
            return last;
        };
    }
    // As the answering thread does; here on the window's own.
    void answer(PathKind kind) {
        {
            const std::lock_guard<std::mutex> lock(last->mutex);
            last->value = kind;
        }
        last->answer(false);
    }
};

// The dialog's own file name field; where the system's dialog is used (Windows), the test is
// skipped: that dialog is the system's.
#define NAME_FIELD(dialog, name)                                                                   \
    auto* name = (dialog).findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));                   \
    if (!name)                                                                                     \
        QSKIP("the system's own file dialog is used here");

} // namespace

class FileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void typingLooksNothingUp();
    void okLooksAwayFromTheWindowFirst();
    void aPlaceThatDoesNotAnswerIsNamed();
    void cancellingGivesTheLookUp();
    void theDialogGoesWhileItsMessageIsOpen();
};

void FileDialogTest::typingLooksNothingUp() {
    Looks looks;
    FileDialog dialog(nullptr, looks.look(), {});
    NAME_FIELD(dialog, name);
    QVERIFY(!name->completer());
    QTest::keyClicks(name, QStringLiteral("/media/lehrer/NETZ/film.mp4"));
    QVERIFY(looks.paths.isEmpty());
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QVERIFY(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Open);
    QVERIFY(ok);
    QVERIFY(ok->isEnabled());
    name->clear();
    QVERIFY(!ok->isEnabled());
}

void FileDialogTest::okLooksAwayFromTheWindowFirst() {
    QTemporaryDir folder;
    QFile film(folder.filePath(QStringLiteral("Film 1.mp4")));
    QVERIFY(film.open(QIODevice::WriteOnly));
    film.close();
    Looks looks;
    QStringList told;
    FileDialog dialog(nullptr, looks.look(), [&told](const QString& text) { told << text; });
    NAME_FIELD(dialog, name);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(folder.path());
    dialog.show();
    name->setText(QStringLiteral("Film 1.mp4"));
    dialog.accept();
    QCOMPARE(looks.paths, QStringList{film.fileName()});
    QVERIFY(dialog.isVisible()); // waits for the answer
    looks.answer(PathKind::File);
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedFiles(), QStringList{film.fileName()});
    QVERIFY(told.isEmpty());
}

void FileDialogTest::aPlaceThatDoesNotAnswerIsNamed() {
    Looks looks;
    QStringList told;
    FileDialog dialog(nullptr, looks.look(), [&told](const QString& text) { told << text; });
    NAME_FIELD(dialog, name);
    dialog.setDirectory(QStringLiteral("/"));
    dialog.show();
    name->setText(QStringLiteral("/media/lehrer/NETZ/"));
    dialog.accept();
    dialog.accept(); // OK again while looking asks nothing more
    QCOMPARE(looks.paths.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(told.size(), 1, 4000);
    QCOMPARE(told[0], FileDialog::notAnsweringMessage(QStringLiteral("/media/lehrer/NETZ")));
    QVERIFY(dialog.isVisible());
    QCOMPARE(name->text(), QStringLiteral("/media/lehrer/NETZ/"));
}

void FileDialogTest::cancellingGivesTheLookUp() {
    Looks looks;
    QStringList told;
    FileDialog dialog(nullptr, looks.look(), [&told](const QString& text) { told << text; });
    NAME_FIELD(dialog, name);
    dialog.show();
    name->setText(QStringLiteral("/media/lehrer/NETZ/film.mp4"));
    dialog.accept();
    dialog.reject();
    looks.answer(PathKind::File);
    QTest::qWait(2500);
    QVERIFY(told.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

// The message about a place that does not answer comes from the dialog's timer; the dialog
// may be closed, and gone, while it is open.
void FileDialogTest::theDialogGoesWhileItsMessageIsOpen() {
    Looks looks;
    filmarin::testing::LoopingMessages messages;
    auto* dialog = new FileDialog(nullptr, looks.look(), [&messages](const QString& text) {
        messages.showMessage(QStringLiteral("Information"), text, MessageIcon::Information);
    });
    QPointer<FileDialog> watched(dialog);
    messages.whileShown = [dialog] {
        dialog->reject();
        delete dialog;
    };
    if (!dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        delete dialog;
        QSKIP("the system's own file dialog is used here");
    }
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    dialog->setDirectory(QStringLiteral("/"));
    dialog->show();
    name->setText(QStringLiteral("/media/lehrer/NETZ/"));
    dialog->accept();
    QTRY_COMPARE_WITH_TIMEOUT(messages.shown.size(), std::size_t(1), 4000);
    QCOMPARE(messages.shown[0].text,
             FileDialog::notAnsweringMessage(QStringLiteral("/media/lehrer/NETZ")));
    QVERIFY(!watched);
    QTest::qWait(100);
}

FILMARIN_WINDOW_TEST(FileDialogTest, "filedialog_tests")
#include "filedialog_test.moc"
