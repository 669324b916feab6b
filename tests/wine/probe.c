/* Stands in for what a command line may start under Wine. As app.exe it records how it was
 * started: its command line, then each argument of its C runtime's argv, in UTF-8, each
 * ending in a NUL byte, into record.txt of the current folder. Under any other name it is a
 * decoy: running it means that a command was injected, and it leaves a mark saying so. */
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <windows.h>

static void writeUtf8(FILE *file, const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
    char *bytes = malloc(size);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, size, NULL, NULL);
    fwrite(bytes, 1, size, file); /* with its NUL */
    free(bytes);
}

static int leaveMark(const wchar_t *name)
{
    const wchar_t *testCase = _wgetenv(L"CENTINELA_CASE");
    wchar_t mark[MAX_PATH];
    swprintf(mark, MAX_PATH, L"ran %ls in case %ls", name, testCase ? testCase : L"?");
    FILE *file = _wfopen(mark, L"wb");
    if (file)
        fclose(file);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(NULL, self, MAX_PATH);
    const wchar_t *name = wcsrchr(self, L'\\') ? wcsrchr(self, L'\\') + 1 : self;
    if (_wcsicmp(name, L"app.exe") != 0)
        return leaveMark(name);

    /* Written aside and renamed, so that the driver never reads half a record. */
    FILE *record = _wfopen(L"record.tmp", L"wb");
    if (!record)
        return 1;
    writeUtf8(record, GetCommandLineW());
    for (int i = 1; i < argc; ++i)
        writeUtf8(record, argv[i]);
    fclose(record);
    return MoveFileW(L"record.tmp", L"record.txt") ? 0 : 1;
}
