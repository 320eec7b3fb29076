// The Windows dialogs: GetOpenFileNameA for Load and Save, MessageBoxA for
// the notices.
#include "dialogs_win32.h"

#include <cstdio>
#include <cstring>

void setUpOpenFileName(OPENFILENAMEA *ofn, FileChoice purpose, char *buffer)
{
    std::memset(ofn, 0, sizeof *ofn);
    ofn->lStructSize = sizeof *ofn;
    ofn->hwndOwner = purpose == ChooseToLoad ? FindWindowA(nullptr, nullptr) : nullptr;
    ofn->lpstrFilter = "mirl objects\0*.mrl\0"; // the literal's own NUL ends the list
    ofn->nFilterIndex = 0;
    ofn->lpstrInitialDir = ".";
    buffer[0] = '\0';
    ofn->lpstrFile = buffer;
    ofn->nMaxFile = Win32FileNameCapacity;
}

// While a dialog without this program as its owner is open, its message loop
// would still run the editor's callbacks (a pick, a second dialog from the
// menu): the editor's windows are disabled meanwhile, as an owner would be.
struct DisabledWindows {
    HWND windows[16];
    int count;
};

static BOOL CALLBACK disableWindow(HWND window, LPARAM list)
{
    DisabledWindows *disabled = reinterpret_cast<DisabledWindows *>(list);
    if (disabled->count < 16 && IsWindowVisible(window) && IsWindowEnabled(window)) {
        disabled->windows[disabled->count++] = window;
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

static int win32ChooseFile(FileChoice purpose, char *name, size_t size)
{
    char buffer[Win32FileNameCapacity];
    OPENFILENAMEA ofn;
    setUpOpenFileName(&ofn, purpose, buffer);

    // The dialog may leave the current folder where the file was chosen;
    // Mirljects.h and the next dialog's "." stay where the editor started.
    wchar_t folder[MAX_PATH * 4];
    DWORD folderLength = GetCurrentDirectoryW(sizeof folder / sizeof folder[0], folder);
    // The Load dialog's owner is whatever window the system finds first,
    // which gets the focus back when the dialog closes: the editor's window
    // takes it again, so its keys work without a click.
    HWND previous = GetForegroundWindow();
    DisabledWindows disabled = {};
    EnumThreadWindows(GetCurrentThreadId(), disableWindow, reinterpret_cast<LPARAM>(&disabled));

    BOOL chosen = GetOpenFileNameA(&ofn);
    DWORD error = chosen ? 0 : CommDlgExtendedError();

    for (int i = 0; i < disabled.count; i++)
        EnableWindow(disabled.windows[i], TRUE);
    if (folderLength > 0 && folderLength < sizeof folder / sizeof folder[0])
        SetCurrentDirectoryW(folder);
    if (previous && IsWindow(previous))
        SetForegroundWindow(previous);

    if (error == FNERR_BUFFERTOOSMALL)
        std::printf("\n The chosen name is longer than %d characters.\n", Win32FileNameCapacity - 1);
    else if (error)
        std::printf("\n The file dialog failed (error 0x%lx).\n", static_cast<unsigned long>(error));
    if (!chosen || std::strlen(buffer) >= size)
        return 0;
    std::memcpy(name, buffer, std::strlen(buffer) + 1);
    return 1;
}

static void win32Notice(const char *title, const char *text)
{
    MessageBoxA(nullptr, text, title, Win32NoticeStyle);
}

static const DialogBackend Win32Dialogs = {win32ChooseFile, win32Notice};

const DialogBackend *systemDialogs()
{
    return &Win32Dialogs;
}
