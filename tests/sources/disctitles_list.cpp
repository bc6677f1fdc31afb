// SPDX-License-Identifier: GPL-3.0-or-later
// Lists the titles of the video DVD in the folder or drive given, as the program reads them:
// one line per title with its number and its length in milliseconds. Used by
// dvdlengths_test.sh beside the real player.
#include "sources/dvdtables.h"

#include <cstdio>
#include <exception>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: disctitles_list DISC\n");
        return 2;
    }
    try {
        for (const filmarin::DiscTitle& title :
             filmarin::readDiscTitles(QString::fromLocal8Bit(argv[1])))
            std::printf("%d %lld\n", title.number, static_cast<long long>(title.lengthMs));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
