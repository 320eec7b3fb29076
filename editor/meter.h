// The byte meter: how full the record is and what the object will cost in
// an intro, in the window's top-right corner. `h` hides and shows it.
#pragma once

#include "mirl.h"

struct MeterReading {
    int steps, picks;       // used, of 255 and 256
    int faces, vertices;    // of the mesh on screen
    int playerBytes;        // compressed code of this object's player
    int recordBytes;        // the compressed record
};

// Shown at start; Restart keeps it, like the view switches.
extern int MeterShown;

// From the record as it stands (a preview's step included) and the mesh.
MeterReading readMeter(const Mesh *m);

// The player's fixed part plus each operation the record uses, once.
int estimatePlayerBytes(const mirlObj *r);
// The record's used bytes as an LZMA-like coder would pack them.
int estimateRecordBytes(const mirlObj *r, uint32_t picks);

void toggleMeter(); // the `h` key
void drawMeter(const Mesh *m); // the last thing a frame draws
