// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start-up: a bare Qt window with one table and one menu.
// With the argument "--once" it ends as soon as it has been shown, as shown_once does.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>
#include <QTimer>
#include <cstring>

int main(int argc, char* argv[]) {
    const bool once = argc > 1 && std::strcmp(argv[1], "--once") == 0;
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Datei"))->addAction(QStringLiteral("Beenden"));
    window.setCentralWidget(new QTableWidget(21, 3, &window));
    window.resize(873, 636);
    window.show();
    if (once)
        QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
