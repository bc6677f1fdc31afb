// SPDX-License-Identifier: GPL-3.0-or-later
// "Titel und Kapitel…" on a video DVD folder, timed through the program's own windows, its
// drive helper and its disc reader: from the command to the filled list, and the longest the
// window's event loop stood still meanwhile: the largest gap between the ticks of a 1 ms timer,
// which the machine's other work lengthens too, and the longest single event, in wall-clock
// and in the window thread's processor time. The first run is given apart: it makes the dialog.
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
#include <ctime>
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

// Times each event the window's thread handles, outermost only: its longest handling is what
// the window stood still for, in wall-clock time and in the thread's own processor time
// (which the machine's other work does not lengthen).
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth++ > 0) {
            const bool handled = QApplication::notify(receiver, event);
            --m_depth;
            return handled;
        }
        timespec cpuStart{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
        QElapsedTimer wall;
        wall.start();
        const bool handled = QApplication::notify(receiver, event);
        timespec cpuEnd{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuEnd);
        const double cpuMs = static_cast<double>(cpuEnd.tv_sec - cpuStart.tv_sec) * 1e3 +
                             static_cast<double>(cpuEnd.tv_nsec - cpuStart.tv_nsec) / 1e6;
        longestEventMs = std::max(longestEventMs, static_cast<double>(wall.nsecsElapsed()) / 1e6);
        longestEventCpuMs = std::max(longestEventCpuMs, cpuMs);
        --m_depth;
        return handled;
    }
    double longestEventMs = 0;
    double longestEventCpuMs = 0;

private:
    int m_depth = 0;
};

struct Run {
    double listedMs = 0;
    double longestStallMs = 0;
    double longestEventMs = 0;
    double longestEventCpuMs = 0;
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
    TimedApplication application(argc, argv);
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

    // The same measure while nothing is asked: what the machine's load alone makes of it.
    QCoreApplication::processEvents();
    sinceTick.restart();
    longestGapNs = 0;
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double idleStallMs = static_cast<double>(longestGapNs) / 1e6;

    std::vector<Run> done;
    for (int i = 0; i < runs + 1; ++i) {
        QCoreApplication::processEvents();
        sinceTick.restart();
        longestGapNs = 0;
        application.longestEventMs = application.longestEventCpuMs = 0;
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
        run.longestEventMs = application.longestEventMs;
        run.longestEventCpuMs = application.longestEventCpuMs;
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
    std::vector<double> events;
    std::vector<double> eventsCpu;
    for (std::size_t i = 1; i < done.size(); ++i) {
        listed.push_back(done[i].listedMs);
        stalls.push_back(done[i].longestStallMs);
        events.push_back(done[i].longestEventMs);
        eventsCpu.push_back(done[i].longestEventCpuMs);
    }
    std::printf("idle for 2 s beforehand: longest stall %.1f ms\n", idleStallMs);
    std::printf("first run (makes the dialog): listed after %.1f ms, longest stall %.1f ms, "
                "longest event %.1f ms (%.1f ms of processor time)\n",
                done[0].listedMs, done[0].longestStallMs, done[0].longestEventMs,
                done[0].longestEventCpuMs);
    std::printf("%d more runs: listed after %.1f ms (median), %.1f ms (slowest); longest stall "
                "%.1f ms (median), %.1f ms (largest)\n",
                runs, median(listed), *std::max_element(listed.begin(), listed.end()),
                median(stalls), *std::max_element(stalls.begin(), stalls.end()));
    std::printf("  longest event %.1f ms (median), %.1f ms (largest); of processor time %.1f ms "
                "(median), %.1f ms (largest)\n",
                median(events), *std::max_element(events.begin(), events.end()), median(eventsCpu),
                *std::max_element(eventsCpu.begin(), eventsCpu.end()));
    return 0;
}
