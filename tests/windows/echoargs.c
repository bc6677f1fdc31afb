// SPDX-License-Identifier: GPL-3.0-or-later
/* Writes the command line it received and its current folder into echo.txt beside itself;
   with "--wait" among its arguments it then waits half a minute. With "--tree" it starts
   itself again with "--wait" as its child, writes the child's process number to child.pid
   beside itself and waits for the child, as the portable player's launcher does; with
   "--handover" it does the same but ends at once, leaving its child to run. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(void) {
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, self, MAX_PATH);
    while (n > 0 && self[n - 1] != '\\')
        --n;
    self[n] = '\0';
    strcat(self, "echo.txt");
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* out = fopen(self, "wb");
    if (out) {
        fprintf(out, "%s\n%s\n", GetCommandLineA(), folder);
        fclose(out);
    }
    const int handover = strstr(GetCommandLineA(), "--handover") != NULL;
    if (handover || strstr(GetCommandLineA(), "--tree")) {
        char exe[MAX_PATH];
        GetModuleFileNameA(NULL, exe, MAX_PATH);
        char line[MAX_PATH + 16];
        snprintf(line, sizeof line, "\"%s\" --wait", exe);
        STARTUPINFOA startup;
        ZeroMemory(&startup, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info;
        ZeroMemory(&info, sizeof info);
        if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
            return 2;
        self[n] = '\0';
        strcat(self, "child.pid");
        FILE* pid = fopen(self, "wb");
        if (pid) {
            fprintf(pid, "%lu\n", (unsigned long)info.dwProcessId);
            fclose(pid);
        }
        if (!handover)
            WaitForSingleObject(info.hProcess, INFINITE);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        return 0;
    }
    if (strstr(GetCommandLineA(), "--wait"))
        Sleep(30000);
    return 0;
}
