// The fallback without a display: a prompt on the console.
#include <cstdio>
#include <cstring>

#include "dialogs.h"

static int consoleChooseFile(FileChoice purpose, char *name, size_t size)
{
    std::printf("\n %s mirl object (.mrl), file name (empty line cancels): ",
                purpose == ChooseToLoad ? "Load" : "Save");
    std::fflush(stdout);
    char line[FileNameCapacity + 2];
    if (!std::fgets(line, sizeof line, stdin))
        return 0;
    size_t n = std::strcspn(line, "\r\n");
    line[n] = '\0';
    if (n == 0 || n >= size)
        return 0;
    std::memcpy(name, line, n + 1);
    return 1;
}

static void consoleNotice(const char *title, const char *text)
{
    std::fprintf(stderr, "mirl: %s: %s\n", text, title);
    std::fflush(stderr);
}

const DialogBackend ConsoleDialogs = {consoleChooseFile, consoleNotice};
