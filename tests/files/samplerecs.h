// A few hand-built and random records shared by the file, tool, player and
// fuzz tests: the starting cube, picks, the bytes the text form treats
// specially (0x0A, 0x0D, 0x1A), odd steps, a full record, random records.
#pragma once

#include <string>
#include <vector>

#include "mirl.h"

struct SampleRecord {
    std::string name;
    mirlObj record;
};

std::vector<SampleRecord> sampleRecords();

// The starting record of the editor: one step, the cube (31, 128).
mirlObj startingRecord();

// Puts r into the runtime's CommandRecord with PickCount as a replay would
// leave it (the number of pick steps), ready for saveobj or exportobj.
void useRecord(const mirlObj &r);
