// The Windows side of the dialog seam: the common open-file dialog and the
// message box. The set-up is public so that a test can check it field by
// field; the program uses it through systemDialogs().
#pragma once

#include <windows.h>

#include <commdlg.h>

#include "dialogs.h"

enum { Win32FileNameCapacity = MAX_PATH }; // 260 characters, NUL included

// Fills ofn for a Load or a Save: the full structure of this target, every
// field zero but the owner (Load: the first top-level window the system
// finds, FindWindowA(NULL, NULL); Save: none), the one filter "mirl objects"
// / "*.mrl" shown first, the initial folder "." and the name buffer (at
// least Win32FileNameCapacity characters, emptied here). No flags, no
// default extension, no title.
void setUpOpenFileName(OPENFILENAMEA *ofn, FileChoice purpose, char *buffer);

// The uType of every notice: an OK button, modal for this thread's windows
// although it has no owner.
enum { Win32NoticeStyle = MB_OK | MB_TASKMODAL };
