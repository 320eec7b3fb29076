/* The command record and the Recorder that appends to it. */
#include <math.h>

#include "internal.h"

mirlObj CommandRecord;
int32_t RecorderOn;
/*@ PickCount */
MIRL_LOCAL uint32_t PickCount;
/*@ end */
/*@ LastPickedFace */
MIRL_LOCAL int32_t LastPickedFace = -1;
/*@ end */
/*@ LastPick */
MIRL_LOCAL uint32_t LastPick;
/*@ end */

MIRL_SECTION(".unpacko") uint8_t encpar(float p)
{
    double v = ((double)p + 8.0) * 15.9375;
    if (!(v - v == 0.0)) /* NaN or infinite */
        return 128;
    double r = floor(v);
    double frac = v - r;
    if (frac > 0.5 || (frac == 0.5 && fmod(r, 2.0) != 0.0))
        r += 1.0;
    double low = fmod(r, 256.0); /* exact: r is an integer */
    if (low < 0.0)
        low += 256.0;
    return (uint8_t)low;
}

#ifdef MIRL_PLAYER
/*@ decpar */
/* The player's form: the value is exact in double and never a NaN, so the
   conversion alone stores it. */
MIRL_ROUTINE(".unpacko") float decpar(uint8_t b)
{
    return (float)(b * (double)(float)(1 / 15.9375) - 8);
}
/*@ end */
#else
MIRL_ROUTINE(".unpacko") float decpar(uint8_t b)
{
    /* One ParamByte step is the float nearest 1/15.9375; b times it is exact
       in double, and so is the subtraction of 8. */
    return mirl_f32((double)b * (double)(float)(1.0 / 15.9375) - 8.0);
}
#endif

MIRL_SECTION(".unpacko") void recordon(void)
{
    RecorderOn = 1;
}

MIRL_SECTION(".unpacko") void recordoff(void)
{
    RecorderOn = 0;
}

MIRL_SECTION(".unpacko") void recordstep(int32_t opcode, float p)
{
    if (!RecorderOn)
        return;
    uint8_t op = (uint8_t)(opcode & 255);
    mirlObj *r = &CommandRecord;
    if (r->count >= MIRL_MAXSTEPS) {
        notify("Exceeded max number of modelling commands", "ERROR");
        if (op == MIRL_OPPICK)
            PickCount -= 1; /* cancels the increment select9 makes next */
        return;
    }
    if (op == MIRL_OPPICK) {
        if (PickCount >= MIRL_MAXPICKS) {
            notify("Too Many Picks=model will not save properly", "ERROR");
            PickCount -= 1;
            return;
        }
        r->picks[PickCount] = LastPick;
    }
    r->ops[r->count] = op;
    r->params[r->count] = encpar(p);
    r->count += 1;
}

MIRL_SECTION(".unpacko") void droplast(void)
{
    mirlObj *r = &CommandRecord;
    if (r->count <= 1)
        return; /* the first step (the starting cube) stays */
    r->count -= 1;
    if (r->ops[r->count] == MIRL_OPPICK)
        PickCount -= 1;
}

MIRL_SECTION(".unpacko") void resetrecord(void)
{
    LastPickedFace = -1;
    PickCount = 0;
    CommandRecord.count = 0;
}

MIRL_SECTION(".unpacko") int32_t numsteps(void)
{
    return CommandRecord.count;
}

MIRL_SECTION(".unpacko") int32_t numpicks(void)
{
    return (int32_t)PickCount;
}

/*@ countsel */
MIRL_ROUTINE(".unpacko") int32_t countsel(const Mesh *m)
{
    int32_t n = 0;
    for (uint32_t i = 0; i < m->nquads; i++)
        n += m->selected[i];
    return n;
}
/*@ end */
