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

struct PlayerFiles {
    std::string source; // the player: a C file
    std::string header; // its interface: the types, replayobj, the objects
    std::vector<std::string> assumptions; // what the source assumes of the records, one line each
};

// How general a player is.
enum PlayerKind {
    PlayerSpecialised, // the objects' operations, made for the objects alone
    PlayerGeneral,     // the objects' operations, for any record that uses only those
    PlayerEveryOperation // every operation, for any record (what a demo that exports from the editor links)
};

// A player for the objects. Specialised, it replays them to the runtime's
// bits, leaving out every guard they do not reach and choosing the smaller
// form of an operation where their sizes allow; general, it keeps every
// guard and general form. headerName is the file name the header will have
// (its include guard follows it). Returns false and sets *error if the
// sources' marked blocks do not fit together (a fault of the build, not of
// the user's input).
bool makePlayer(const std::vector<PlayerObject> &objects, PlayerKind kind, const std::string &headerName,
                PlayerFiles *out, std::string *error);

// Names a player reserves for itself (the types, replayobj, the macros of
// mirl.h), which an object must not take.
bool isPlayerName(const std::string &name);
