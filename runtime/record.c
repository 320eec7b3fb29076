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
        return;
    }
    if (op == MIRL_OPPICK) {
        if (PickCount >= MIRL_MAXPICKS) {
            notify("Too Many Picks=model will not save properly", "ERROR");
            return;
        }
        r->picks[PickCount] = LastPick;
        PickCount += 1; /* the pick list grows with its step, nowhere else */
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

MIRL_SECTION(".unpacko") void dropto(uint32_t n)
{
    mirlObj *r = &CommandRecord;
    while (r->count > n) {
        r->count -= 1;
        if (r->ops[r->count] == MIRL_OPPICK)
            PickCount -= 1;
    }
}

MIRL_SECTION(".unpacko") uint32_t pickidx(const mirlObj *r, uint32_t i)
{
    uint32_t n = 0, k;
    if (i > r->count)
        i = r->count;
    for (k = 0; k < i; k++)
        n += r->ops[k] == MIRL_OPPICK;
    return n;
}

MIRL_SECTION(".unpacko") int32_t haspar(uint8_t op)
{
    return op <= MIRL_OP_ROTATE3;
}

MIRL_SECTION(".unpacko") int32_t setpar(uint32_t i, uint8_t b)
{
    mirlObj *r = &CommandRecord;
    if (i >= r->count || !haspar(r->ops[i]))
        return 0;
    r->params[i] = b;
    return 1;
}

MIRL_SECTION(".unpacko") int32_t delstep(uint32_t i)
{
    mirlObj *r = &CommandRecord;
    uint32_t last = (uint32_t)r->count - 1u;
    if (i == 0 || i >= r->count)
        return 0; /* the first step stays, as with droplast */
    if (r->ops[i] == MIRL_OPPICK) {
        /* Its face goes with it: every later pick step keeps its own face. */
        uint32_t j = pickidx(r, i);
        if (j < PickCount) {
            memmove(&r->picks[j], &r->picks[j + 1], (size_t)(PickCount - j - 1u) * sizeof r->picks[0]);
            PickCount -= 1;
        }
    }
    memmove(&r->ops[i], &r->ops[i + 1], (size_t)(last - i));
    memmove(&r->params[i], &r->params[i + 1], (size_t)(last - i));
    r->count = (uint8_t)last;
    return 1;
}

MIRL_SECTION(".unpacko") int32_t insstep(uint32_t i, uint8_t op, uint8_t b, uint32_t face)
{
    mirlObj *r = &CommandRecord;
    const uint32_t j = pickidx(r, i); /* the face's place in the pick list */
    if (i > r->count || r->count >= MIRL_MAXSTEPS || (op == MIRL_OPPICK && (PickCount >= MIRL_MAXPICKS || j > PickCount)))
        return 0;
    if (op == MIRL_OPPICK) {
        memmove(&r->picks[j + 1], &r->picks[j], (size_t)(PickCount - j) * sizeof r->picks[0]);
        r->picks[j] = face;
        PickCount += 1;
    }
    memmove(&r->ops[i + 1], &r->ops[i], (size_t)(r->count - i));
    memmove(&r->params[i + 1], &r->params[i], (size_t)(r->count - i));
    r->ops[i] = op;
    r->params[i] = b;
    r->count += 1;
    return 1;
}

MIRL_SECTION(".unpacko") void setrec(const mirlObj *r)
{
    CommandRecord = *r;
    PickCount = pickidx(r, r->count);
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
