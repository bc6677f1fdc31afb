// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program through its entry while a network share below /media does not
// answer (tests/app/hangingshare_test.sh mounts one). The window must appear within 2 s
// and keep answering: its menu opens, and the disc browser lists the other drives, the
// share as not ready. A second share answers whether it is there but not what it holds:
// OK on it waits with the window's events handled, and closing the browser gives it up.

#include "app/laufwerk_oeffnen.h"
#include "app/program.h"
#include "app/unit1.h"
#include "sources/discbrowser.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
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
    if (argc < 3) {
        std::fprintf(stderr, "usage: hangingshare_probe HANGING-SHARE HALF-ANSWERING-SHARE\n");
        return 2;
    }
    const QString share = QString::fromLocal8Bit(argv[1]);
    const QString half = QString::fromLocal8Bit(argv[2]);
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
        QTimer::singleShot(300, &form, [&form, list, share, half, &clock] {
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
            check(form.mediaSource().kind == 0, "the source stays as it was");
            form.close();
        });
    });
    check(exitCode == 0, "the program ends normally");
    std::fprintf(stderr, "%d failed\n", failures);
    return failures == 0 ? 0 : 1;
}
