#include "dialogs.h"

#include <cstdlib>

#include "mirl.h"

static const DialogBackend *Chosen;

static const DialogBackend &backend()
{
    if (!Chosen) {
        const char *console = std::getenv("MIRL_CONSOLE_DIALOGS");
        if (console && *console)
            Chosen = &ConsoleDialogs;
        else if (const DialogBackend *system = systemDialogs())
            Chosen = system;
        else
            Chosen = &ConsoleDialogs;
    }
    return *Chosen;
}

void setDialogBackend(const DialogBackend *b)
{
    Chosen = b;
}

int chooseObjectFile(FileChoice purpose, char *name, size_t size)
{
    return backend().chooseFile(purpose, name, size);
}

void showNotice(const char *title, const char *text)
{
    backend().showNotice(title, text);
}

void installNoticeHook()
{
    setnote(showNotice);
}
