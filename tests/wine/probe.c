/* The Windows side of tst_windowslaunch, acting by the name it is started under. Files are
 * UTF-8, one item a line.
 *   driver.exe roundtrip IN OUT  each line of IN as it comes back from the ANSI code page
 *   driver.exe run IN            each line N of IN to msvcrt's system() as Centinela hands it
 *                                over on Windows (WideCharToMultiByte with CP_ACP, best fit
 *                                included); app.exe's record then kept as record-N.txt
 *   app.exe ARGUMENT...          records its command line, then its C runtime's argv, in
 *                                record.txt; setx.exe the same
 *   any other name               a decoy: leaves a mark, as its running means an injection */
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <windows.h>

#define LENGTH 32768
static wchar_t line[LENGTH];
static char bytes[4 * LENGTH];

static const char *encoded(UINT codePage, const wchar_t *text)
{
    WideCharToMultiByte(codePage, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    return bytes;
}

static int nextLine(FILE *file)
{
    if (!fgetws(line, LENGTH, file))
        return 0;
    line[wcscspn(line, L"\n")] = 0;
    return 1;
}

int wmain(int argc, wchar_t **argv)
{
    wchar_t self[MAX_PATH], name[64];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    const wchar_t *program = wcsrchr(self, L'\\') + 1;
    if (_wcsicmp(program, L"app.exe") == 0 || _wcsicmp(program, L"setx.exe") == 0) {
        FILE *record = _wfopen(L"record.tmp", L"wb");
        fprintf(record, "%s\n", encoded(CP_UTF8, GetCommandLineW()));
        for (int i = 1; i < argc; ++i)
            fprintf(record, "%s\n", encoded(CP_UTF8, argv[i]));
        fclose(record);
        /* Renamed once whole, so that the driver never reads half a record. */
        return !MoveFileW(L"record.tmp", L"record.txt");
    }
    if (_wcsicmp(program, L"driver.exe") != 0) {
        swprintf(line, LENGTH, L"ran %ls in case %ls", program, _wgetenv(L"CENTINELA_CASE"));
        return fclose(_wfopen(line, L"wb"));
    }
    FILE *input = _wfopen(argv[2], L"r, ccs=UTF-8");
    FILE *output = wcscmp(argv[1], L"roundtrip") == 0 ? _wfopen(argv[3], L"wb") : NULL;
    for (int n = 0; nextLine(input); ++n) {
        if (output) {
            MultiByteToWideChar(CP_ACP, 0, encoded(CP_ACP, line), -1, line, LENGTH);
            fprintf(output, "%s\n", encoded(CP_UTF8, line));
            continue;
        }
        swprintf(name, 64, L"CENTINELA_CASE=%d", n);
        _wputenv(name);
        system(encoded(CP_ACP, line));
        /* start returns before the program it started has run. */
        for (int waited = 0; waited < 10000 && _waccess(L"record.txt", 0) != 0; waited += 20)
            Sleep(20);
        swprintf(name, 64, L"record-%d.txt", n);
        MoveFileW(L"record.txt", name);
    }
    return output ? fclose(output) : 0;
}
