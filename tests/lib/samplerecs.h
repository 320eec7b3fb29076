// Records shared by the file, tool, player and fuzz tests: the starting
// cube, picks, the bytes the text form treats specially, odd steps, a full
// record and random records.
#pragma once

#include <string>
#include <vector>

#include "mirl.h"

struct SampleRecord {
    std::string name;
    mirlObj record;
};

std::vector<SampleRecord> sampleRecords();

// Records that reach the runtime's guards, each named: steps refused for
// capacity, picks beyond the faces, select similar with no face to go by,
// skipped opcodes. The player tests embed them, alone and with others.
std::vector<SampleRecord> guardRecords();
