// SPDX-License-Identifier: GPL-3.0-or-later
// The disc reader: reads the titles of the video DVD named by its first argument and writes
// them into the file named by its second (sources/dvdreader.h).
#include "dvdreader.h"
#include "platform/process.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    // Qt gives the arguments as the system passed them, on Windows whatever their letters.
    const QCoreApplication application(argc, argv);
    // A disc that makes libdvdread fail badly ends this process at once, with no box.
    filmarin::platform::endQuietlyOnFailure();
    return filmarin::discReaderMain(QCoreApplication::arguments());
}
