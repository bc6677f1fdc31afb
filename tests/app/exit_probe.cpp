// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the program through its entry while a drive never answers its question, and reports
// into a file: "shown" once the window is shown, "closing" as it closes the window itself
// (with "close"), "window closed" when the window has been closed, however, and "returned"
// once the entry has returned. tests/app/exit_test.sh measures how soon the process is gone.
//   exit_probe REPORT close   closes its window after 1.5 s
//   exit_probe REPORT wait    waits to be ended by the system
#include "../sources/fakedrives.h"
#include "app/program.h"
#include "app/unit1.h"

#include <QTimer>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>

namespace {

// A network drive whose server has gone: asking whether it is ready never returns.
class NeverAnswering : public filmarin::testing::FakeDrives {
public:
    bool driveReady(const QString& key) override {
        if (key != QStringLiteral("N"))
            return FakeDrives::driveReady(key);
        std::unique_lock<std::mutex> lock(m_never);
        m_wakes.wait(lock, [] { return false; });
        return false;
    }

private:
    std::mutex m_never;
    std::condition_variable m_wakes;
};

void report(const std::string& file, const char* line) {
    std::ofstream out(file, std::ios::app);
    out << line << '\n';
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: exit_probe REPORT close|wait\n");
        return 2;
    }
    const std::string file = argv[1];
    const bool closeItself = std::string(argv[2]) == "close";
    auto drives = std::make_shared<NeverAnswering>();
    drives->add('C', filmarin::testing::fakeDrive(3));
    drives->add('N', filmarin::testing::fakeDrive(4));
    char name[] = "filmarin";
    char* programArgv[] = {name, nullptr};
    const int code = filmarin::runFilmarin(
        1, programArgv,
        [&file, closeItself](filmarin::TForm1& form) {
            QObject::connect(&form, &filmarin::TForm1::closed,
                             [&file] { report(file, "window closed"); });
            // Long enough for the drive list to ask the drive that never answers.
            QTimer::singleShot(1500, &form, [&form, &file, closeItself] {
                report(file, "shown");
                if (!closeItself)
                    return;
                report(file, "closing");
                form.close();
            });
        },
        drives);
    report(file, "returned");
    return code;
}
