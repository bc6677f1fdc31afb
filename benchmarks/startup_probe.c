// SPDX-License-Identifier: GPL-3.0-or-later
/* Starts a program and measures the time until its first top-level window is mapped on
 * the X display, and the program's resident memory a second later.
 * Prints "<milliseconds> <kilobytes>". Usage: startup_probe PROGRAM [ARGUMENTS...] */
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static long rss_kb(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "VmRSS: %ld kB", &kb) == 1)
            break;
    fclose(f);
    return kb;
}

int main(int argc, char* argv[]) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    const double start = now_ms();
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execv(argv[1], argv + 1);
        _exit(127);
    }
    double mapped = -1;
    struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    while (mapped < 0 && now_ms() - start < 10000) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                mapped = now_ms() - start;
                break;
            }
        }
        if (mapped < 0)
            poll(&fd, 1, 100);
    }
    usleep(1000 * 1000);
    const long kb = rss_kb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    XCloseDisplay(display);
    if (mapped < 0) {
        fprintf(stderr, "no window appeared\n");
        return 1;
    }
    printf("%.1f %ld\n", mapped, kb);
    return 0;
}
