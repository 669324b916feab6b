/* The programs that the Windows suites have cmd.exe start, acting by the name they are
 * started under:
 *   app.exe or setx.exe ARGUMENT...  records its command line, then its C runtime's argv, one
 *                                    a line in UTF-8, in record.txt of the current folder
 *   any other name                   a decoy: leaves a mark, as its running means an injection */
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

static const char *utf8(const wchar_t *text)
{
    static char bytes[4 * 32768];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
    return bytes;
}

int wmain(int argc, wchar_t **argv)
{
    wchar_t self[MAX_PATH], mark[MAX_PATH + 64];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    const wchar_t *program = wcsrchr(self, L'\\') + 1;
    if (_wcsicmp(program, L"app.exe") != 0 && _wcsicmp(program, L"setx.exe") != 0) {
        swprintf(mark, MAX_PATH + 64, L"ran %ls in case %ls", program, _wgetenv(L"CENTINELA_CASE"));
        return fclose(_wfopen(mark, L"wb"));
    }
    FILE *record = _wfopen(L"record.tmp", L"wb");
    fprintf(record, "%s\n", utf8(GetCommandLineW()));
    for (int i = 1; i < argc; ++i)
        fprintf(record, "%s\n", utf8(argv[i]));
    fclose(record);
    /* Renamed once whole, so that the suite never reads half a record. */
    return !MoveFileW(L"record.tmp", L"record.txt");
}
