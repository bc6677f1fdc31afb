// SPDX-License-Identifier: GPL-3.0-or-later
// "Titel und Kapitel…" on a video DVD folder, timed through the program's own windows, its
// drive helper and its disc reader: from the command to the filled list, and the longest the
// window's event loop stood still meanwhile (the largest gap between the ticks of a 1 ms timer).
// The first run is given apart: it makes the dialog.
//   disctitles_bench DISC [RUNS]
#include "app/program.h"
#include "app/titelkapitel.h"
#include "app/unit1.h"
#include "sources/helperdrives.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The program's messages, kept instead of shown: the player check finds no player here.
class KeptMessages : public filmarin::MessageSink {
public:
    void showMessage(const QString&, const QString& text, filmarin::MessageIcon) override {
        texts << text;
    }
    void postMessage(const QString&, const QString& text, filmarin::MessageIcon) override {
        texts << text;
    }
    QStringList texts;
};

struct Run {
    double listedMs = 0;
    double longestStallMs = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: disctitles_bench DISC [RUNS]\n");
        return 2;
    }
    // Before any thread, as the program does: the helper that asks the drives.
    std::shared_ptr<filmarin::DriveSystem> drives = filmarin::startDriveHelper();
    QApplication application(argc, argv);
    const QString disc = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;

    QTemporaryDir folder;
    KeptMessages messages;
    filmarin::WindowEnvironment environment;
    environment.messages = &messages;
    environment.programFolder = folder.path() + QLatin1Char('/');
    environment.documentsFolder = folder.path();
    filmarin::Program program(environment, drives);
    filmarin::TForm1& window = program.mainWindow();
    window.show();
    window.takeDisc(disc, filmarin::SourceKind::DvdVideo);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    QElapsedTimer sinceTick;
    qint64 longestGapNs = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapNs = std::max(longestGapNs, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    ticker.start(1);

    std::vector<Run> done;
    for (int i = 0; i < runs + 1; ++i) {
        QCoreApplication::processEvents();
        sinceTick.restart();
        longestGapNs = 0;
        QElapsedTimer clock;
        clock.start();
        window.TitelundKapitel1->trigger();
        filmarin::TTitelKapitel& dialog = window.titlesDialog();
        while ((dialog.reading() || dialog.TreeView1->topLevelItemCount() == 0) &&
               dialog.isVisible() && clock.elapsed() < 15000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        Run run;
        run.listedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        // What the loop does next counts too: the list is painted.
        QElapsedTimer after;
        after.start();
        while (after.elapsed() < 50)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        run.longestStallMs = static_cast<double>(longestGapNs) / 1e6;
        if (!dialog.isVisible() || dialog.TreeView1->topLevelItemCount() == 0) {
            std::fprintf(stderr, "the disc was not listed: %s\n",
                         qPrintable(messages.texts.join(QStringLiteral(" | "))));
            return 1;
        }
        const int titles = dialog.TreeView1->topLevelItemCount();
        dialog.reject();
        done.push_back(run);
        if (i == 0)
            std::printf("%s: %d titles\n", qPrintable(disc), titles);
    }
    std::vector<double> listed;
    std::vector<double> stalls;
    for (std::size_t i = 1; i < done.size(); ++i) {
        listed.push_back(done[i].listedMs);
        stalls.push_back(done[i].longestStallMs);
    }
    std::printf("first run (makes the dialog): listed after %.1f ms, longest stall %.1f ms\n",
                done[0].listedMs, done[0].longestStallMs);
    std::printf("%d more runs: listed after %.1f ms (median), %.1f ms (slowest); longest stall "
                "%.1f ms (median), %.1f ms (largest)\n",
                runs, median(listed), *std::max_element(listed.begin(), listed.end()),
                median(stalls), *std::max_element(stalls.begin(), stalls.end()));
    return 0;
}
