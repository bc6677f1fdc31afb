// SPDX-License-Identifier: GPL-3.0-or-later
// The portable player's place on Linux. It takes the arguments the program gives the
// portable player, leaves out "--high-priority" and "--rc-quiet" (Windows-only options the
// Linux player stops at) and replaces itself with the system's vlc, the other arguments in their
// order. Like a ready-configured portable player, vlc then asks no privacy question on its first
// start (the dialog would cover the film) and looks up no metadata on the network. It plays
// by itself even where the user's vlc settings allow only one instance: handed to a vlc that
// is already open, the excerpts would play there while the program went on to the pause.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char* argv[]) {
    std::vector<char*> arguments;
    static char vlc[] = "vlc";
    static char noPrivacyQuestion[] = "--no-qt-privacy-ask";
    static char noNetworkMetadata[] = "--no-metadata-network-access";
    static char ownInstance[] = "--no-one-instance";
    arguments.push_back(vlc);
    arguments.push_back(noPrivacyQuestion);
    arguments.push_back(noNetworkMetadata);
    arguments.push_back(ownInstance);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--high-priority") != 0 && std::strcmp(argv[i], "--rc-quiet") != 0)
            arguments.push_back(argv[i]);
    }
    arguments.push_back(nullptr);
    ::execvp("vlc", arguments.data());
    const int error = errno;
    if (error == ENOENT)
        std::fprintf(stderr, "Der Player VLC wurde nicht gefunden. Bitte installieren Sie VLC "
                             "(Debian: apt-get install vlc).\n");
    else
        std::fprintf(stderr, "Der Player VLC konnte nicht gestartet werden: %s\n",
                     std::strerror(error));
    return 127;
}
