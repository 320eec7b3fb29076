// Records that reach the runtime's guards, each named: steps refused for
// capacity, picks beyond the faces, select similar with no face to go by,
// skipped opcodes. The player tests embed them, alone and with others.
#pragma once

#include <vector>

#include "samplerecs.h"

std::vector<SampleRecord> guardRecords();
