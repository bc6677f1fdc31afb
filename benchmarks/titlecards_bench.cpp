// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of writing the 20 title cards, beside libjpeg-turbo's cjpeg encoding 20 pictures of
// the same size at the same quality.
//   cmake --preset bench && cmake --build --preset bench && build-bench/benchmarks/titlecards_bench
#include "../tests/table/memorytable.h"
#include "playback/titlecards.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

using namespace filmarin;

namespace {

testing::MemoryGrid standardHeadings() {
    testing::MemoryGrid headings(2, 21);
    for (int row = 1; row <= 20; ++row)
        headings.setCell(1, row, QStringLiteral("Ausschnitt %1").arg(row));
    return headings;
}

void WriteTitleCards20(benchmark::State& state) {
    QTemporaryDir documents;
    const testing::MemoryGrid headings = standardHeadings();
    QString folder;
    for (auto _ : state) {
        const CardResult result = writeTitleCards(headings, documents.path(),
                                                  documents.path() + QLatin1Char('/'), folder);
        if (!result.ok)
            state.SkipWithError("cards not written");
    }
}
BENCHMARK(WriteTitleCards20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// cjpeg on 20 PPM pictures of the cards, one process per picture, as a command line user
// would run it.
void Cjpeg20(benchmark::State& state) {
    QTemporaryDir dir;
    const testing::MemoryGrid headings = standardHeadings();
    QString folder;
    writeTitleCards(headings, dir.path(), dir.path() + QLatin1Char('/'), folder);
    QStringList inputs;
    for (int n = 1; n <= 20; ++n) {
        const QString ppm = dir.filePath(QStringLiteral("c%1.ppm").arg(n));
        QImage(titleCardPath(folder, n)).convertToFormat(QImage::Format_RGB888).save(ppm, "PPM");
        inputs << ppm;
    }
    const QByteArray cjpeg = qgetenv("CJPEG").isEmpty() ? QByteArray("cjpeg") : qgetenv("CJPEG");
    for (auto _ : state) {
        for (const QString& input : inputs) {
            const QByteArray in = QFile::encodeName(input);
            const QByteArray out = in + ".jpg";
            const pid_t pid = ::fork();
            if (pid == 0) {
                execlp(cjpeg.constData(), cjpeg.constData(), "-quality", "100", "-outfile",
                       out.constData(), in.constData(), static_cast<char*>(nullptr));
                _exit(127);
            }
            int status = 0;
            ::waitpid(pid, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                state.SkipWithError("cjpeg failed (install libjpeg-turbo-progs)");
        }
    }
}
BENCHMARK(Cjpeg20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
