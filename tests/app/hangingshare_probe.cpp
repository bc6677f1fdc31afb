// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program through its entry while a network share below /media does not
// answer (tests/app/hangingshare_test.sh mounts one). The window must appear within 2 s
// and keep answering: its menu opens, and the disc browser lists the other drives, the
// share as not ready. A second share answers whether it is there but not what it holds:
// OK on it waits with the window's events handled, and closing the browser gives it up. A
// third share takes 3 s to show its video folder: OK asks it once.

#include "app/laufwerk_oeffnen.h"
#include "app/program.h"
#include "app/titelkapitel.h"
#include "app/unit1.h"
#include "sources/discbrowser.h"
#include "sources/disctitles.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

int failures = 0;

void check(bool ok, const char* what) {
    std::fprintf(stderr, "%s: %s\n", ok ? "ok" : "FAIL", what);
    if (!ok)
        ++failures;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: hangingshare_probe HANGING-SHARE HALF-ANSWERING-SHARE "
                             "SLOW-SHARE\n");
        return 2;
    }
    const QString share = QString::fromLocal8Bit(argv[1]);
    const QString half = QString::fromLocal8Bit(argv[2]);
    const QString slow = QString::fromLocal8Bit(argv[3]);
    QElapsedTimer clock;
    clock.start();
    char name[] = "filmarin";
    char* programArgv[] = {name, nullptr};
    const int exitCode = filmarin::runFilmarin(1, programArgv, [&](filmarin::TForm1& form) {
        std::fprintf(stderr, "window shown after %lld ms\n",
                     static_cast<long long>(clock.elapsed()));
        check(clock.elapsed() < 2000, "the window appears within 2 s");
        auto* list = form.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
        check(list != nullptr, "the disc browser exists");

        // The event loop keeps running: the menu opens, and the list comes.
        QTimer::singleShot(300, &form, [&form, list, share, half, slow, &clock] {
            const qint64 late = clock.elapsed();
            form.Video1->popup(form.mapToGlobal(QPoint(10, 10)));
            check(form.Video1->isVisible(), "the menu \"Video\" opens");
            form.Video1->hide();
            QElapsedTimer waited;
            waited.start();
            bool listed = false;
            while (!listed && waited.elapsed() < 5000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                for (int row = 0; list && row < list->topLevelItemCount(); ++row) {
                    if (list->topLevelItem(row)->toolTip(0) == share)
                        listed = true;
                }
            }
            std::fprintf(stderr, "menu asked after %lld ms, list waited %lld ms\n",
                         static_cast<long long>(late), static_cast<long long>(waited.elapsed()));
            check(listed, "the disc browser lists the share");
            bool rootListed = false;
            for (int row = 0; list && row < list->topLevelItemCount(); ++row) {
                QTreeWidgetItem* item = list->topLevelItem(row);
                std::fprintf(stderr, "  %s | %s | %s\n", qPrintable(item->toolTip(0)),
                             qPrintable(item->text(1)), qPrintable(item->text(3)));
                if (item->toolTip(0) == QStringLiteral("/"))
                    rootListed = item->text(3) == QStringLiteral("bereit");
                if (item->toolTip(0) == share)
                    check(item->text(3) == QStringLiteral("nicht bereit"),
                          "the share is not ready");
            }
            check(rootListed, "the root file system is listed and ready");

            // OK on the second share: the browser waits for it without blocking the window,
            // and closing the browser gives the look up.
            auto* browser = form.findChild<filmarin::TDVD_CD_oeffnen*>();
            check(browser != nullptr, "the disc browser is the main window's");
            if (!browser || !list) {
                form.close();
                return;
            }
            form.DVD1->trigger();
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                if (list->topLevelItem(row)->toolTip(0) == half)
                    list->setCurrentItem(list->topLevelItem(row));
            }
            browser->Button1->click();
            check(browser->checking(), "OK looks into the share");
            int pumped = 0;
            QElapsedTimer asked;
            asked.start();
            while (asked.elapsed() < 1000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ++pumped;
            }
            std::fprintf(stderr, "OK waited %lld ms, %d event rounds\n",
                         static_cast<long long>(asked.elapsed()), pumped);
            check(browser->checking(), "the share has not said what it holds");
            check(pumped >= 20, "the window's events are handled while OK waits");
            browser->close();
            check(!browser->checking(), "closing the browser gives the look up");
            check(form.Panel1->isEnabled(), "the main window is unlocked");
            check(form.mediaSource().kind == filmarin::SourceKind::None,
                  "the source stays as it was");

            // OK on a share whose video folder takes 3 s to answer: it is asked once.
            form.DVD1->trigger();
            for (int row = 0; row < list->topLevelItemCount(); ++row) {
                if (list->topLevelItem(row)->toolTip(0) == slow)
                    list->setCurrentItem(list->topLevelItem(row));
            }
            QElapsedTimer looked;
            looked.start();
            browser->Button1->click();
            while (browser->checking() && looked.elapsed() < 12000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            std::fprintf(stderr, "OK on the slow share took %lld ms\n",
                         static_cast<long long>(looked.elapsed()));
            check(form.mediaSource().kind == filmarin::SourceKind::DvdVideo,
                  "the slow share holds a video DVD");
            check(looked.elapsed() < 3500, "OK asks the slow share once");

            // The share's path typed into "Video-Datei öffnen": the window keeps answering.
            qint64 longestPause = 0;
            QElapsedTimer sinceTick;
            sinceTick.start();
            QTimer ticker;
            QObject::connect(&ticker, &QTimer::timeout,
                             [&] { longestPause = std::max(longestPause, sinceTick.restart()); });
            ticker.start(20);
            QTimer::singleShot(100, &form, [&form, share] {
                auto* dialog = form.findChild<QFileDialog*>(QStringLiteral("OpenDialogVideo"));
                auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                                    : nullptr;
                check(name != nullptr, "the file dialog has its file name field");
                if (!name)
                    return;
                QTest::keyClicks(name, share + QLatin1Char('/'));
                // OK on the typed path: the share does not answer, and the user is told.
                QTimer::singleShot(300, dialog, [dialog, name] {
                    QTest::keyClick(name, Qt::Key_Return);
                    // The message comes after the 2 s the place has; a loaded machine may
                    // take a little longer.
                    auto* looking = new QTimer(dialog);
                    auto* waited = new QElapsedTimer;
                    waited->start();
                    QObject::connect(looking, &QTimer::timeout, dialog, [dialog, looking, waited] {
                        QMessageBox* told = nullptr;
                        for (QWidget* window : QApplication::topLevelWidgets()) {
                            auto* box = qobject_cast<QMessageBox*>(window);
                            if (!box || !box->isVisible())
                                continue;
                            if (box->text().contains(QStringLiteral("antwortet nicht")))
                                told = box;
                            else
                                box->accept(); // the player check's, which comes first
                        }
                        if (!told && waited->elapsed() < 8000)
                            return;
                        looking->stop();
                        std::fprintf(stderr, "the message came after %lld ms\n",
                                     static_cast<long long>(waited->elapsed()));
                        delete waited;
                        check(told != nullptr, "a typed place that does not answer is named");
                        if (!told) {
                            dialog->reject();
                            return;
                        }
                        told->accept();
                        QTimer::singleShot(200, dialog, [dialog] {
                            check(dialog->isVisible(), "the file dialog stays");
                            QTest::keyClick(dialog, Qt::Key_Escape);
                        });
                    });
                    looking->start(50);
                });
            });
            form.Datei1->trigger();
            ticker.stop();
            std::fprintf(stderr, "the window's longest pause with the file dialog: %lld ms\n",
                         static_cast<long long>(longestPause));
            check(longestPause < 500, "typing the share's path leaves the window answering");
            form.Sprache1->popup(form.mapToGlobal(QPoint(10, 10)));
            check(form.Sprache1->isVisible(), "another menu opens after the file dialog");
            form.Sprache1->hide();

            // "Titel und Kapitel…" on the share that answers only whether it is there, taken
            // as a video DVD: the dialog says it reads, the window keeps answering, and after
            // 10 s the disc is named; the table stays as it was.
            form.takeDisc(half, filmarin::SourceKind::DvdVideo);
            check(form.TitelundKapitel1->isEnabled(), "\"Titel und Kapitel\" is enabled");
            const QString rowBefore = form.StringGrid2->cell(0, 1) + form.StringGrid3->cell(0, 1);
            longestPause = 0;
            sinceTick.restart();
            ticker.start(20);
            QElapsedTimer reading;
            reading.start();
            form.TitelundKapitel1->trigger();
            filmarin::TTitelKapitel& titles = form.titlesDialog();
            check(titles.isVisible() && titles.reading(), "the dialog reads the disc");
            QMessageBox* named = nullptr;
            bool lookedAtTheDialog = false;
            while (!named && reading.elapsed() < 20000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    auto* box = qobject_cast<QMessageBox*>(window);
                    if (box && box->isVisible() &&
                        box->text().contains(QStringLiteral("antwortet nicht")) &&
                        box->text().contains(half))
                        named = box;
                }
                if (!lookedAtTheDialog && reading.elapsed() > 500) {
                    lookedAtTheDialog = true;
                    check(titles.isVisible() &&
                              titles.Label1->text() == filmarin::discReadingText(),
                          "the dialog says, half a second on, that it reads the disc");
                }
            }
            ticker.stop();
            std::fprintf(stderr,
                         "the disc was named after %lld ms; the window's longest pause meanwhile: "
                         "%lld ms\n",
                         static_cast<long long>(reading.elapsed()),
                         static_cast<long long>(longestPause));
            check(named != nullptr, "a disc that does not answer is named in a message");
            check(reading.elapsed() >= 9900, "the disc has 10 s to answer");
            check(longestPause < 500, "the window answers while the disc is read");
            check(!titles.isVisible(), "the dialog has closed");
            check(form.StringGrid2->cell(0, 1) + form.StringGrid3->cell(0, 1) == rowBefore,
                  "the table is unchanged");
            if (named)
                named->accept();

            // The share that does not answer is still being asked; the program ends at once
            // all the same (the test command measures it).
            std::fprintf(stderr, "closing\n");
            std::fflush(stderr);
            form.close();
        });
    });
    check(exitCode == 0, "the program ends normally");
    std::fprintf(stderr, "%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
