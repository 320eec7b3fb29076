// File chooser and notices. The program uses the system's dialogs (GTK 3 on
// Linux when a display can be opened, the common dialog and message box on
// Windows) and falls back to the console otherwise; tests install a backend
// of their own with scripted answers.
#pragma once

#include <cstddef>

enum FileChoice { ChooseToLoad, ChooseToSave };

enum { FileNameCapacity = 4096 };

struct DialogBackend {
    // 1 and the chosen name (NUL-terminated, at most size bytes) when the
    // user chose a file; 0 when cancelled.
    int (*chooseFile)(FileChoice purpose, char *name, size_t size);
    // A modal notice: the title is the message, the text "ERROR" or
    // "FATAL ERROR"; returns when the user has acknowledged it.
    void (*showNotice)(const char *title, const char *text);
};

// Reads a name from standard input, prints notices to standard error.
extern const DialogBackend ConsoleDialogs;

// The system's dialogs (dialogs_gtk.cpp or dialogs_win32.cpp), or nullptr
// when they cannot be shown (GTK without a display).
const DialogBackend *systemDialogs();

// Installs a backend; nullptr goes back to the automatic choice: console
// when MIRL_CONSOLE_DIALOGS is set to a non-empty value or the system's
// cannot be shown, the system's otherwise (decided at the first dialog).
void setDialogBackend(const DialogBackend *backend);

int chooseObjectFile(FileChoice purpose, char *name, size_t size);
void showNotice(const char *title, const char *text);

// Routes the runtime's notices to showNotice.
void installNoticeHook();
