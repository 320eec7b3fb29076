// Names of the recorded operations, for listings.
#pragma once

#include <cstdint>

// The runtime routine of an opcode ("addcube", "select9"), or nullptr for an
// opcode that the replay skips.
const char *operationName(uint8_t opcode);

// What the operation does, in a few words, or nullptr for a skipped opcode.
const char *operationSummary(uint8_t opcode);
