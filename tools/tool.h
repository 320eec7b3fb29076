// mirl-tool: object files from the command line, for demo makers and scripts.
#pragma once

#include <string>
#include <vector>

#include "mirl.h"
#include "playergen.h"

// Exit codes, also listed by --help.
enum ExitCode {
    ExitOk = 0,
    ExitUnreadable = 1, // the input is missing or cannot be read
    ExitUsage = 2,      // bad arguments
    ExitIncomplete = 3, // the input is not a complete mirl object
    ExitWriteFailed = 4 // the output could not be written
};

// Prints "mirl-tool: <message>" as one line on standard error.
void printError(const std::string &message);

// Routes the runtime's notices to standard error as one-line messages.
void installNoticeHook();

// Loads an object file into the runtime's record and replays it into mesh.
// On failure prints why and returns the exit code to end with.
ExitCode loadRecordFile(const char *path, Mesh *mesh);

// Reads an object file's record without replaying it, with the same errors.
ExitCode readRecordFile(const char *path, mirlObj *record);

// Saves the runtime's record over the object file, safely replaced; on
// failure prints why and returns ExitWriteFailed.
ExitCode saveRecordFile(const char *path);

ExitCode runInfo(const char *path);
ExitCode runDump(const char *path);
ExitCode runObj(const char *path, const char *outPath);
ExitCode runExport(const char *path, const char *objectName, bool withInclude);
// Change the file in place through a safe replacement; a step out of range
// or one without a parameter (set) or the first step (delete) is refused
// with ExitUsage and leaves the file as it was.
ExitCode runSet(const char *path, unsigned long step, uint8_t value);
ExitCode runDelete(const char *path, unsigned long step);
// objects: NAME=FILE.mrl arguments, already checked; outPath "-" is stdout.
// A player written to a file gets its header beside it (playerHeaderPath).
ExitCode runPlayer(const std::vector<std::string> &objects, PlayerKind kind, const char *outPath);
// The header of a player written to outPath: OUT.h for OUT.c (or OUT),
// mirl.h in the same folder for the player of every operation; "" for
// standard output (no header).
std::string playerHeaderPath(const std::string &outPath, bool everyOperation);
