// FILE menu: undo, load, save, information, export, restart, about, exit.
#include <cstdio>
#include <cstdlib>

#include "commands.h"
#include "dialogs.h"
#include "editor.h"
#include "editor_state.h"
#include "history.h"
#include "mirlfile.h"

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
    // A refused file (reported by loadobj) leaves model, record and history.
    if (loadobj(name, committedMesh()))
        resetHistory();
}

void saveObjectCommand()
{
    Editor.interactionMode = ModePick;
    recordoff();
    char name[FileNameCapacity];
    if (!chooseObjectFile(ChooseToSave, name, sizeof name))
        return;
    saveobj(name);
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
    exportobj(name);
    Editor.exportCounter += 1; // whatever the outcome: names never repeat
    Editor.interactionMode = ModePick;
}

void commandRestart()
{
    restartScene(committedMesh());
    resetHistory();
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
