/* Hands command lines to cmd.exe as Centinela does on Windows: each line is converted to the
 * ANSI code page as QString::toLocal8Bit does there (WideCharToMultiByte with CP_ACP, best
 * fit included) and given to msvcrt's system().
 *
 *   driver roundtrip IN OUT  writes each line of IN as it comes back from the ANSI code page
 *   driver run IN            runs each line N of IN (from 0), with CENTINELA_CASE=N in the
 *                            environment, waits for app.exe's record.txt and renames it to
 *                            record-N.txt
 *
 * Files are UTF-8, one line each. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

static wchar_t *convert(UINT from, const char *bytes, int length, int *converted)
{
    const int size = MultiByteToWideChar(from, 0, bytes, length, NULL, 0);
    wchar_t *text = malloc((size + 1) * sizeof(wchar_t));
    MultiByteToWideChar(from, 0, bytes, length, text, size);
    text[size] = 0;
    *converted = size;
    return text;
}

static char *encode(UINT to, const wchar_t *text, int length, int *encoded)
{
    const int size = WideCharToMultiByte(to, 0, text, length, NULL, 0, NULL, NULL);
    char *bytes = malloc(size + 1);
    WideCharToMultiByte(to, 0, text, length, bytes, size, NULL, NULL);
    bytes[size] = 0;
    *encoded = size;
    return bytes;
}

static char *readAll(const wchar_t *path, long *size)
{
    FILE *file = _wfopen(path, L"rb");
    if (!file)
        return NULL;
    fseek(file, 0, SEEK_END);
    *size = ftell(file);
    fseek(file, 0, SEEK_SET);
    char *bytes = malloc(*size + 1);
    *size = (long)fread(bytes, 1, *size, file);
    bytes[*size] = 0;
    fclose(file);
    return bytes;
}

/* The lines of a UTF-8 text as wide strings: *count of them. */
static wchar_t **readLines(const wchar_t *path, int *count)
{
    long size = 0;
    char *bytes = readAll(path, &size);
    if (!bytes)
        return NULL;
    int capacity = 16;
    wchar_t **lines = malloc(capacity * sizeof(wchar_t *));
    *count = 0;
    for (char *start = bytes; start < bytes + size;) {
        char *end = memchr(start, '\n', bytes + size - start);
        if (!end)
            end = bytes + size;
        if (*count == capacity)
            lines = realloc(lines, (capacity *= 2) * sizeof(wchar_t *));
        int length = 0;
        lines[(*count)++] = convert(CP_UTF8, start, (int)(end - start), &length);
        start = end + 1;
    }
    free(bytes);
    return lines;
}

static int roundTrip(const wchar_t *in, const wchar_t *out)
{
    int count = 0;
    wchar_t **lines = readLines(in, &count);
    FILE *file = _wfopen(out, L"wb");
    if (!lines || !file)
        return 1;
    for (int i = 0; i < count; ++i) {
        int length = 0;
        char *local = encode(CP_ACP, lines[i], -1, &length);
        wchar_t *back = convert(CP_ACP, local, length, &length);
        char *utf8 = encode(CP_UTF8, back, length, &length);
        fprintf(file, "%s\n", utf8);
        free(local);
        free(back);
        free(utf8);
    }
    fclose(file);
    return 0;
}

static int run(const wchar_t *in)
{
    int count = 0;
    wchar_t **lines = readLines(in, &count);
    if (!lines)
        return 1;
    for (int i = 0; i < count; ++i) {
        wchar_t setting[64];
        swprintf(setting, 64, L"CENTINELA_CASE=%d", i);
        _wputenv(setting);
        DeleteFileW(L"record.txt");

        int length = 0;
        char *local = encode(CP_ACP, lines[i], -1, &length);
        const int status = system(local);
        free(local);

        /* start returns before the program it started has run. */
        for (int waited = 0;
             waited < 10000 && GetFileAttributesW(L"record.txt") == INVALID_FILE_ATTRIBUTES;
             waited += 20)
            Sleep(20);
        wchar_t kept[64];
        swprintf(kept, 64, L"record-%d.txt", i);
        const int recorded = MoveFileW(L"record.txt", kept);
        printf("case %d: system() returned %d, %s\n", i, status,
               recorded ? "recorded" : "no record");
        fflush(stdout);
    }
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 4 && wcscmp(argv[1], L"roundtrip") == 0)
        return roundTrip(argv[2], argv[3]);
    if (argc == 3 && wcscmp(argv[1], L"run") == 0)
        return run(argv[2]);
    fputs("usage: driver roundtrip IN OUT | driver run IN\n", stderr);
    return 2;
}
