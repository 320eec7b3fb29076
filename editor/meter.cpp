// The byte meter: steps and picks used, the mesh's size and the estimated
// compressed size of the object in an intro (its player and its record).
#include "meter.h"

#include <GL/freeglut.h>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "editor_state.h"
#include "platform.h"
#include "player_sizes.h"
#include "render.h"

int MeterShown = 1;

int estimatePlayerBytes(const mirlObj *r)
{
    // A player holds each operation its objects use once, whatever the count.
    bool used[51] = {};
    int bytes = PlayerFixedBytes;
    for (int i = 0; i < r->count; i++) {
        int op = r->ops[i];
        if (op < 51 && !used[op]) {
            used[op] = true;
            bytes += PlayerOperationBytes[op];
        }
    }
    return bytes;
}

// A greedy LZ77 parse of the record's used bytes priced like LZMA's coder:
// literals by an adaptive order-0 model, a match at 16 bits plus twice its
// distance's bits, a repeat of the last distance at 8; the zero tails and
// the coder's framing add 22 bytes. Fitted to xz (raw LZMA1, preset 9e) on 54
// sample and random records: 3 % off on average, 13 % at worst, with no
// compressor to ship and cheap enough to run on every change.
static int packedBytes(const unsigned char *data, int n)
{
    int counts[256] = {}, literals = 0, lastDistance = 0;
    double bits = 0.0;
    for (int i = 0; i < n;) {
        int best = 0, bestDistance = 0;
        if (lastDistance > 0) {
            int l = 0;
            while (i + l < n && data[i + l] == data[i + l - lastDistance])
                l++;
            if (l >= 2) {
                best = l;
                bestDistance = lastDistance;
            }
        }
        for (int j = 0; j < i; j++) {
            int l = 0;
            while (i + l < n && data[j + l] == data[i + l])
                l++;
            // A new distance must beat a repeat by two bytes to pay for itself.
            int needed = best + (best > 0 && bestDistance == lastDistance ? 1 : 0);
            if (l > needed && l >= 3) {
                best = l;
                bestDistance = i - j;
            }
        }
        if (best >= 2) {
            bits += bestDistance == lastDistance ? 8.0 : 16.0 + 2.0 * std::log2((double)bestDistance);
            lastDistance = bestDistance;
            i += best;
        } else {
            int s = data[i++];
            bits -= std::log2((counts[s] + 0.5) / (literals + 128.0));
            counts[s]++;
            literals++;
        }
    }
    return (int)std::lround(bits / 8.0) + 22;
}

int estimateRecordBytes(const mirlObj *r, uint32_t picks)
{
    // Only a change of the record costs a new parse; frames reuse the last.
    static mirlObj lastRecord;
    static uint32_t lastPicks;
    static int lastBytes = -1;
    if (lastBytes >= 0 && picks == lastPicks && std::memcmp(r, &lastRecord, sizeof *r) == 0)
        return lastBytes;
    unsigned char used[255 * 2 + 256 * 4];
    int n = 0;
    for (int i = 0; i < r->count; i++)
        used[n++] = r->ops[i];
    for (int i = 0; i < r->count; i++)
        used[n++] = r->params[i];
    for (uint32_t i = 0; i < picks && i < 256; i++)
        for (int b = 0; b < 4; b++)
            used[n++] = (unsigned char)(r->picks[i] >> (8 * b)); // as stored: little-endian
    lastRecord = *r;
    lastPicks = picks;
    lastBytes = packedBytes(used, n);
    return lastBytes;
}

MeterReading readMeter(const Mesh *m)
{
    MeterReading reading;
    reading.steps = numsteps();
    reading.picks = numpicks();
    reading.faces = (int)m->nquads;
    reading.vertices = (int)m->nverts;
    reading.playerBytes = estimatePlayerBytes(&CommandRecord);
    reading.recordBytes = estimateRecordBytes(&CommandRecord, PickCount);
    return reading;
}

void toggleMeter()
{
    MeterShown = !MeterShown;
    platform().postRedisplay();
}

void drawMeter(const Mesh *m)
{
    if (!MeterShown)
        return;
    MeterReading r = readMeter(m);
    char lines[4][48];
    std::snprintf(lines[0], sizeof lines[0], "steps %d/255  picks %d/256", r.steps, r.picks);
    std::snprintf(lines[1], sizeof lines[1], "faces %d  vertices %d", r.faces, r.vertices);
    std::snprintf(lines[2], sizeof lines[2], "intro ~%d bytes (xz)", r.playerBytes + r.recordBytes);
    std::snprintf(lines[3], sizeof lines[3], "player %d + record %d", r.playerBytes, r.recordBytes);

    // Window pixels, origin at the bottom left; a fixed box of 30 columns of
    // the 8x13 font, so it does not jump as the numbers grow.
    const int w = Editor.windowWidth, h = Editor.windowHeight;
    const int pitch = 15, pad = 6, boxW = 30 * 8 + 2 * pad, boxH = 4 * pitch + 2 * pad;
    const int right = w - 4, top = h - 4, left = right - boxW;
    beginPanel(left, top - boxH, right, top);
    glColor3fv(DefaultColour);
    for (int i = 0; i < 4; i++) {
        glRasterPos2i(left + pad, top - pad - 10 - i * pitch);
        glutBitmapString(GLUT_BITMAP_8_BY_13, reinterpret_cast<const unsigned char *>(lines[i]));
    }
    glEnable(GL_DEPTH_TEST);
}
