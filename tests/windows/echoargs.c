/* Writes the command line it received and its current folder into echo.txt beside itself;
   with "--wait" among its arguments it then waits half a minute. */
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
    if (strstr(GetCommandLineA(), "--wait"))
        Sleep(30000);
    return 0;
}
