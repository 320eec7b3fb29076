// Players cut from the runtime's own sources: a single C file holding the
// objects, replayobj and exactly the routines those objects need.
#pragma once

#include <string>
#include <vector>

#include "mirl.h"

struct SourceFile {
    const char *name;
    const char *text;
};

// The runtime's files as they were when mirl-tool was built (generated).
extern const SourceFile RuntimeSources[];
extern const int RuntimeSourceCount;

struct PlayerObject {
    std::string name; // a C identifier
    mirlObj record;
};

// The text of a player for the objects; with everyOperation, one that
// replays any record (what a demo that exports from the editor links).
// Returns "" and sets *error if the sources' marked blocks do not fit
// together (a fault of the build, not of the user's input).
std::string makePlayer(const std::vector<PlayerObject> &objects, bool everyOperation, std::string *error);

// Names a player reserves for itself (the types, replayobj, the macros of
// mirl.h), which an object must not take.
bool isPlayerName(const std::string &name);
