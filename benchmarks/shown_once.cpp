// SPDX-License-Identifier: GPL-3.0-or-later
// The program, ended as soon as its main window has been shown and the events waiting then
// are handled: what start-up costs, counted by callgrind in instructions.
#include "app/program.h"
#include "app/unit1.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    return filmarin::runFilmarin(
        argc, argv, [](filmarin::TForm1&) { QTimer::singleShot(0, qApp, &QApplication::quit); });
}
