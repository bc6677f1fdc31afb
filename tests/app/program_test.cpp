// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program through its entry as a user would: Qt's own options on the command
// line, a fresh home folder whose config folder holds settings of Qt's file dialogs. Each
// file dialog is opened and cancelled, then the window is closed. The options change
// nothing, the settings are not read, and the home folder is left exactly as it was.

#include "app/program.h"
#include "app/unit1.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <map>

namespace {

int failures = 0;
int checks = 0;

void check(bool ok, const char* what) {
    ++checks;
    if (!ok) {
        ++failures;
        std::fprintf(stderr, "FAIL: %s\n", what);
    }
}

// Every file and folder below `root` with its content.
std::map<QString, QByteArray> snapshot(const QString& root) {
    std::map<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        entries[QDir(root).relativeFilePath(path)] =
            file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<folder>");
    }
    return entries;
}

} // namespace

int main(int, char*[]) {
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral(".config"));
    QDir().mkpath(config);
    const QString visited = QStringLiteral("/usr/share");
    QFile seeded(config + QStringLiteral("/QtProject.conf"));
    seeded.open(QIODevice::WriteOnly);
    // As Qt 6 writes them after a visit to that folder.
    seeded.write("[FileDialog]\nhistory=file://" + visited.toUtf8() + "\nlastVisited=file://" +
                 visited.toUtf8() + "\nqtVersion=6.4.2\nsidebarWidth=90\nviewMode=Detail\n");
    seeded.close();
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
    for (const char* name : {"XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(name);
    const std::map<QString, QByteArray> before = snapshot(home.path());

    char name[] = "filmarin";
    char title[] = "-qwindowtitle";
    char hallo[] = "Hallo";
    char geometry[] = "-geometry";
    char corner[] = "+0+0";
    char reverse[] = "-reverse";
    char style[] = "-style";
    char windows[] = "windows";
    char* argv[] = {name, title, hallo, geometry, corner, reverse, style, windows, nullptr};
    int argc = 8;

    int fileDialogs = 0;
    bool settingsRead = false;
    const int exitCode = filmarin::runFilmarin(argc, argv, [&](filmarin::TForm1& form) {
        check(form.windowTitle() == QStringLiteral("Filmarin 2.2 abspielen mit VLC "),
              "-qwindowtitle leaves the caption alone");
        check(QApplication::layoutDirection() == Qt::LeftToRight, "-reverse is ignored");
        check(QApplication::style()->name() != QStringLiteral("windows"), "-style is ignored");
        check(QCoreApplication::arguments().size() == 1, "Qt sees the program's name only");
        // Cancels every dialog that comes up: the file dialogs and the player message.
        auto* closer = new QTimer(&form);
        QObject::connect(closer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
                ++fileDialogs;
                settingsRead = settingsRead || files->history().contains(visited);
            }
            dialog->reject();
        });
        closer->start(20);
        QTimer::singleShot(200, &form, [&form] {
            form.Datei1->trigger();
            form.ffnen1->trigger();
            form.speichern1->trigger();
            form.close();
        });
    });

    check(exitCode == 0, "the program ends normally");
    check(fileDialogs == 3, "each file dialog was opened and cancelled");
    check(!settingsRead, "the file dialogs' settings are not read");
    const std::map<QString, QByteArray> after = snapshot(home.path());
    check(after == before, "nothing is written into the home folder");
    for (const auto& [path, content] : after) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != content)
            std::fprintf(stderr, "  changed: %s\n", qPrintable(path));
    }
    std::printf("%d passed, %d failed\n", checks - failures, failures);
    return failures == 0 ? 0 : 1;
}
