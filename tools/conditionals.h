// The preprocessor conditionals of a player's sources that the generator can
// decide itself: those on MIRL_PLAYER and on what it measured of the objects.
// It keeps the branch that holds for the objects and drops the directives,
// so the written file has no conditional that a compiler would decide
// differently; conditionals on anything else (the compiler, the target) stay.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

// A macro the generator decides: its value for the objects and its value for
// any record (the general player).
struct KnownMacro {
    int64_t value;
    int64_t general;
};

struct ResolvedText {
    std::string text;
    // The macros whose value for the objects chose another branch than the
    // general value would: what the text assumes of the records.
    std::set<std::string> assumed;
};

// Resolves every #if/#ifdef/#ifndef group whose conditions name only known
// macros (and numbers, defined, operators); leaves the others as they are.
// Fails (false, *error) on an unbalanced group or one that mixes known and
// unknown conditions: a fault of the sources, not of the objects.
bool resolveConditionals(const std::string &text, const std::map<std::string, KnownMacro> &known, ResolvedText *out,
                         std::string *error);

// Whether a directive line's condition names a known macro (for the check
// that none is left in a written file).
bool namesKnownMacro(const std::string &line, const std::map<std::string, KnownMacro> &known);
