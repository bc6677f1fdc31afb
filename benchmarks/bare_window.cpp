// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start-up: a bare Qt window with one table and one menu.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("Datei"))->addAction(QStringLiteral("Beenden"));
    window.setCentralWidget(new QTableWidget(21, 3, &window));
    window.resize(873, 636);
    window.show();
    return QApplication::exec();
}
