// FILE menu: undo, load, save, information, export, restart, about, exit.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "commands.h"
#include "dialogs.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "mirlfile.h"
#include "step_list.h"

// The cause of the last file notice, taken when the notice comes: the message
// box it opens may change errno before the command can print it.
static int FileErrno;
static char FileNoticeTitle[128];

static void rememberFileNotice(const char *title, const char *text)
{
    FileErrno = errno;
    std::snprintf(FileNoticeTitle, sizeof FileNoticeTitle, "%s", title);
    showNotice(title, text);
}

static void watchFileNotices()
{
    FileErrno = 0;
    FileNoticeTitle[0] = '\0';
    setnote(rememberFileNotice);
}

// The message box names neither file nor cause: the console line does.
static void reportFileFailure(int ok, const char *what, const char *path)
{
    installNoticeHook();
    if (!ok)
        std::printf("\n %s: %s: %s\n", what, path, FileErrno ? std::strerror(FileErrno) : FileNoticeTitle);
}

void commandUndo()
{
    undoLastCommand(committedMesh());
    Editor.interactionMode = ModePick;
}

void commandRedo()
{
    const char *why = nullptr;
    if (!redoLastUndone(committedMesh(), &why))
        std::printf(" %s.", why);
    Editor.interactionMode = ModePick;
}

void loadObjectCommand()
{
    Editor.interactionMode = ModePick;
    recordoff(); // the replay must record nothing
    char name[FileNameCapacity];
    if (!chooseObjectFile(ChooseToLoad, name, sizeof name))
        return;
    watchFileNotices();
    const int loaded = loadobj(name, committedMesh());
    reportFileFailure(loaded, "Not loaded", name);
    // A refused file (reported by loadobj) leaves model, record and history.
    if (loaded) {
        resetHistory();
        selectStep(-1);
    }
}

void saveObjectCommand()
{
    Editor.interactionMode = ModePick;
    recordoff();
    char name[FileNameCapacity];
    if (!chooseObjectFile(ChooseToSave, name, sizeof name))
        return;
    watchFileNotices();
    reportFileFailure(saveobj(name), "Not saved", name);
}

void commandObjectInfo()
{
    const Mesh *m = committedMesh();
    std::printf("\n\nModel Info:\n");
    std::printf("Vertices (%d, max %d)  Faces (%d, max %d)\n", (int)m->nverts, MIRL_MAXVERTS, (int)m->nquads,
                MIRL_MAXQUADS);
    std::printf("Number of Modelling commands: (%d)\n", CommandHistory.count);
    std::printf("Number of Mirl Commands: (%d, max 256)\n", numsteps());
    std::printf("Number of Picks: (%d, max 256)\n", numpicks());
    std::printf("Number of Selected Faces: (%d)\n\n", countsel(m));
    Editor.interactionMode = ModePick;
}

void exportCommand()
{
    char name[64];
    std::snprintf(name, sizeof name, "mrlj%d", Editor.exportCounter);
    watchFileNotices();
    reportFileFailure(exportobj(name), "Not exported", "Mirljects.h");
    Editor.exportCounter += 1; // whatever the outcome: names never repeat
    Editor.interactionMode = ModePick;
}

void commandRestart()
{
    restartScene(committedMesh());
    resetHistory();
    selectStep(-1);
    Editor.interactionMode = ModePick;
}

void commandAbout()
{
    printAbout();
    Editor.interactionMode = ModePick;
}

void commandSeparator()
{
    Editor.interactionMode = ModePick;
}

void commandExit()
{
    std::fflush(stdout);
    std::exit(0);
}
