/* mirl.h - the mirl runtime: quad mesh kernel, modelling operations,
   command record and replay. Valid C99 and C++; every name has C linkage.

   A player links libmirl_runtime.a (and -lm), includes an exported
   Mirljects.h (which includes this header) and rebuilds an object with

       static Mesh mesh;              // zero-initialised: empty
       replayobj(&mrlj0, &mesh);      // mesh now holds the model

   The editor runs exactly the same routines, so a replay gives the same
   mesh bit for bit in both. Nothing here allocates; all state is static.
   Single-threaded: the record and its counters are globals. */
#ifndef MIRL_H
#define MIRL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/*@ prelude */
/* The types a player shares with the runtime; a generated player repeats
   them under the same guard, so it may follow this header. */
#ifndef MIRL_TYPES
#define MIRL_TYPES
#ifndef MIRL_CAPACITY
/* Vertices and quads a Mesh holds. Objects are made for 250000; only the
   fuzz builds set less, so that every capacity refusal is a few steps away. */
#define MIRL_CAPACITY 250000
#endif
#define MIRL_MAXVERTS MIRL_CAPACITY /* vertex capacity of a Mesh */
#define MIRL_MAXQUADS MIRL_CAPACITY /* quad capacity of a Mesh */
#define MIRL_MAXSTEPS 255    /* steps a record can hold (the count is a byte) */
#define MIRL_MAXPICKS 256    /* entries of the pick list */
#define MIRL_NUMOPS 32       /* opcodes 0..31 run through OperationTable */
#define MIRL_OPPICK 50       /* opcode of a face pick; handled by the replay */

/* The opcode each operation records, named after its routine. */
enum mirlOpcode {
    MIRL_OP_SCALE1, MIRL_OP_SCALE2, MIRL_OP_SCALE3, MIRL_OP_SCALE4,
    MIRL_OP_SCALE5, MIRL_OP_SCALE6, MIRL_OP_SCALE7, MIRL_OP_SCALE8,
    MIRL_OP_SCALECE, MIRL_OP_TRANS1, MIRL_OP_TRANS2B, MIRL_OP_TRANS3,
    MIRL_OP_TRANS4, MIRL_OP_TRANS5, MIRL_OP_TRANS6, MIRL_OP_TRANS2,
    MIRL_OP_ROTATE1, MIRL_OP_ROTATE2, MIRL_OP_ROTATE3, MIRL_OP_SELECT1,
    MIRL_OP_SELECT2, MIRL_OP_SELECT3, MIRL_OP_SELECT4, MIRL_OP_SELECT5,
    MIRL_OP_SELECT6, MIRL_OP_SELECT7, MIRL_OP_SELECT8, MIRL_OP_SUBD,
    MIRL_OP_SMOOOTH, MIRL_OP_ADDQUAD, MIRL_OP_DELQUAD, MIRL_OP_ADDCUBE
};

/* ---------------------------------------------------------------------------
   Data */

typedef struct Vec3 {
    float x, y, z;
} Vec3;

typedef struct Quad {
    uint32_t v[4];
} Quad;
/* Four vertex indices. Seen from the side the face normal points to, the
   corners run clockwise. */

typedef struct Mesh {
    uint32_t nverts;                  /* vertices in use */
    uint32_t nquads;                  /* quads in use */
    Quad quads[MIRL_MAXQUADS];        /* faces; [0, nquads) in use */
    Vec3 verts[MIRL_MAXVERTS];        /* positions; [0, nverts) in use */
    Vec3 vnormals[MIRL_MAXVERTS];     /* vertex normals, parallel to verts */
    Vec3 fnormals[MIRL_MAXQUADS];     /* face normals, parallel to quads */
    int32_t selected[MIRL_MAXQUADS];  /* selection flag per quad: 0 or 1 */
} Mesh;
/* A fixed-capacity value of 14,000,008 bytes: copy it as a whole. Entries at
   or beyond a count are leftovers with no meaning. Normals are valid only
   right after setnorm. Empty a mesh by setting both counts to 0. */

#if defined(_MSC_VER) || defined(__GNUC__)
#pragma pack(push, 1)
#endif
typedef struct mirlObj {
    uint8_t count;       /* steps in use, 0..255 */
    uint8_t ops[256];    /* opcode of step i */
    uint8_t params[256]; /* ParamByte of step i */
    uint32_t picks[256]; /* face index of each pick step, in order */
} mirlObj;
#if defined(_MSC_VER) || defined(__GNUC__)
#pragma pack(pop)
#endif
/* The packed 1537-byte command record. It is the layout of an exported
   object (Mirljects.h), so replayobj takes a pointer to one directly, and
   its bytes are the object file image (picks little-endian on disk). */

typedef void (*mirlOp)(Mesh *m, float p);
/* An operation: edits m in place, then records its step. */

/* Compile-time checks of the layouts the files and the exports rely on. */
#if MIRL_CAPACITY == 250000
typedef char mirl_check_mesh_size[(sizeof(Mesh) == 14000008) ? 1 : -1];
#endif
typedef char mirl_check_obj_size[(sizeof(mirlObj) == 1537) ? 1 : -1];
#endif /* MIRL_TYPES */
/*@ end */
#if defined(__GNUC__)
/* An exported object initialises a mirlObj with one flat list of 769 values,
   which is valid C and C++; -Wall would still ask for braces around each
   array, so a player built with -Werror could not include Mirljects.h. */
#pragma GCC diagnostic ignored "-Wmissing-braces"
#endif

typedef void (*mirlNotice)(const char *title, const char *text);
/* A notice: title is the message, text is "ERROR" or "FATAL ERROR". */

/* ---------------------------------------------------------------------------
   Runtime state */

extern mirlObj CommandRecord;
/* The record the editor builds; replayobj(&CommandRecord, m) replays it. */

extern mirlOp OperationTable[MIRL_NUMOPS];
/* Operation of each opcode 0..31; writable, in the data section .functio. */

extern int32_t HeaderPending;
/* Follows the table in .functio: 1 until the first export of a run has
   written the header line of Mirljects.h. */

extern uint32_t PickCount;
/* picks entries in use: the number of opcode-50 steps below count. */

extern uint32_t LastPick;
/* Face index the Recorder stores for the pick step it records next. */

extern int32_t RecorderOn;
/* The Recorder appends steps only while this is nonzero. */

extern int32_t LastPickedFace;
/* Face that the latest pick selected, -1 for none. */

/* ---------------------------------------------------------------------------
   Vector routines. Component by component in the order x, y, z; each
   component is evaluated in double precision from the 32-bit inputs and
   stored as a float before the next, so out may be an input (not for
   maths11). */

void maths1(const Vec3 *a, const Vec3 *b, Vec3 *out);
/* out = a + b */
void maths2(const Vec3 *a, const Vec3 *b, Vec3 *out);
/* out = a - b */
void maths3(const Vec3 *a, const Vec3 *b, Vec3 *out);
/* out = (a.x*b.x, a.y*b.y, a.z*b.z) */
void maths4(const Vec3 *a, float s, const Vec3 *b, Vec3 *out);
/* out = a*s + b */
void maths7(const Vec3 *src, Vec3 *dst);
/* dst = src */
void maths8(const Vec3 *a, const Vec3 *b, float t, Vec3 *out);
/* out = a*(1 - t) + b*t, 1 - t formed first */
void maths9(Vec3 *v, float s);
/* v = v*s */
float maths10(const Vec3 *a, const Vec3 *b);
/* dot product, summed as a.z*b.z + a.y*b.y, then + a.x*b.x */
void maths11(const Vec3 *a, const Vec3 *b, Vec3 *out);
/* out = out + a x b; out must not be a or b */
float maths12(const Vec3 *v);
/* squared length, summed as x*x + y*y, then + z*z */
float maths13(const Vec3 *v);
/* length: square root of maths12 */
void maths14(Vec3 *v);
/* v = v * (1/length); a zero vector becomes NaN */

/* ---------------------------------------------------------------------------
   Mesh routines. They never check capacities: callers keep the counts
   within MIRL_MAXVERTS / MIRL_MAXQUADS. */

int32_t vinq(uint32_t v, const Quad *q);
/* 1 if v is one of the four corners of q, else 0. */
void addQ(Mesh *m, uint32_t a, uint32_t b, uint32_t c, uint32_t d, int32_t flag);
/* Appends quad (a, b, c, d) with selection flag. */
void delquad(Mesh *m, uint32_t i, uint32_t n);
/* Removes quads i..i+n-1; later quads and their flags move down in order.
   Normals are not moved. A run outside [0, nquads) is ignored. */
int32_t adjquad(const Mesh *m, uint32_t p, uint32_t q);
/* Number of equal corner pairs (j of p, k of q), 0..16. */
uint32_t dupvert(const Mesh *m, const Vec3 *p, uint32_t s);
/* Lowest i, s <= i < nverts, with verts[i] == *p exactly; nverts if none. */
uint32_t addvert(Mesh *m, const Vec3 *p, uint32_t s);
/* dupvert, then stores *p at that index, appending when it is nverts. */
int32_t vselect(const Mesh *m, uint32_t v);
/* 1 if v is a corner of a quad with a nonzero flag, else 0. O(nquads). */
void centroi(const Mesh *m, uint32_t q, Vec3 *out);
/* out = average of the quad's corners: summed in order, then times 0.25. */
int32_t quadsel(const Mesh *m, uint32_t q);
/* selected[q] */
int32_t countsel(const Mesh *m);
/* Sum of the flags of quads [0, nquads): the number selected. */
void setnorm(Mesh *m);
/* Recomputes face normals (sum of corner cross products: twice the area,
   not normalised) and vertex normals (sum of the face normals using it). */

/* ---------------------------------------------------------------------------
   Command record */

void recordon(void);
/* RecorderOn = 1 */
void recordoff(void);
/* RecorderOn = 0 */
void recordstep(int32_t opcode, float p);
/* The Recorder: while on, appends (opcode & 255, encpar(p)); a pick step
   also stores LastPick at picks[PickCount] and counts it. A full record
   (255 steps) or pick list (256) refuses the step with a notice. */
void droplast(void);
/* Removes the last step, never the first; a removed pick lowers PickCount. */
void resetrecord(void);
/* Empties the record: count 0, PickCount 0, LastPickedFace -1. */
/* The routines above and below are the only code that changes the record;
   each keeps PickCount the number of pick steps, and the n-th pick step's
   face picks[n]. */
void dropto(uint32_t n);
/* Cuts the record back to its first n steps (the first step too, unlike
   droplast); each pick dropped lowers PickCount. */
int32_t delstep(uint32_t i);
/* Removes step i, 0 < i < count (1), else changes nothing (0). A pick step
   takes its face out of picks; later pick steps keep theirs. */
int32_t insstep(uint32_t i, uint8_t op, uint8_t b, uint32_t face);
/* Puts the step (op, ParamByte b) before step i, i <= count (1); a pick
   step's face goes in its place in picks. 0, changing nothing, when the
   record (255) or, for a pick, the pick list (256) is full. */
int32_t setpar(uint32_t i, uint8_t b);
/* ParamByte of step i = b (1), if i < count and haspar of its opcode;
   otherwise changes nothing (0). */
int32_t haspar(uint8_t op);
/* 1 for the opcodes whose parameter changes the model: the scalings, moves
   and rotations, 0 to 18. */
void setrec(const mirlObj *r);
/* Takes *r as the record, leftovers included, PickCount its pick steps. */
uint32_t pickidx(const mirlObj *r, uint32_t i);
/* Pick steps among r's first i steps: where step i's face is in picks when
   step i is a pick, and where a replay from step i finds its next face. */
int32_t numsteps(void);
/* CommandRecord.count */
int32_t numpicks(void);
/* PickCount */
void replayobj(const mirlObj *r, Mesh *m);
/* Applies r's steps to m (which the caller empties first). Opcodes below 32
   run through OperationTable; opcode 50 picks the next pick-list face; other
   opcodes are skipped. The normals are computed where they are read (before
   each trans2) and after the last step: the same mesh as computing them
   after every step but the selections 19..26. LastPickedFace starts at -1,
   so the result depends on the record alone; the record and PickCount are
   only read. Keep the Recorder off. A damaged record cannot make it read or
   write out of bounds: out-of-range picks and steps beyond the mesh
   capacity change nothing. */
void replayfrom(const mirlObj *r, Mesh *m, uint32_t first);
/* Goes on with r's steps from `first`, on a mesh that holds the replay of
   the steps before it and LastPickedFace as that replay left it; the first
   pick from there takes picks[pickidx(r, first)] (the editor's undo, redo
   and step edits; not in a player). */
uint8_t encpar(float p);
/* ParamByte of p: low 8 bits of (p + 8) * 15.9375, rounded half to even.
   A NaN or infinite p is stored as 128, the byte of 0.0. */
float decpar(uint8_t b);
/* Value of a ParamByte: b * c - 8, c the float nearest 1/15.9375. */

void setnote(mirlNotice fn);
/* Routes the runtime's notices (record limits, mesh capacity, file errors)
   to fn; NULL restores the default, one line on standard error. */
void notify(const char *title, const char *text);
/* Sends one notice through the current hook. */

/* ---------------------------------------------------------------------------
   Operations (the OperationTable entries; each records its step last) */

void scale1(Mesh *m, float p); /* 0: x *= p, all vertices */
void scale2(Mesh *m, float p); /* 1: y *= p, all vertices */
void scale3(Mesh *m, float p); /* 2: z *= p, all vertices */
void scale4(Mesh *m, float p); /* 3: x, y, z *= p, all vertices */
void scale5(Mesh *m, float p); /* 4: x *= p, vertices of selected faces */
void scale6(Mesh *m, float p); /* 5: y *= p, vertices of selected faces */
void scale7(Mesh *m, float p); /* 6: z *= p, vertices of selected faces */
void scale8(Mesh *m, float p); /* 7: x, y, z *= p, vertices of selected faces */
void scalece(Mesh *m, float p);
/* 8: each selected face scaled by p about its own centre, in index order */
void trans1(Mesh *m, float p);  /* 9: x += p, all vertices */
void trans2b(Mesh *m, float p); /* 10: y += p, all vertices */
void trans3(Mesh *m, float p);  /* 11: z += p, all vertices */
void trans4(Mesh *m, float p);  /* 12: x += p, vertices of selected faces */
void trans5(Mesh *m, float p);  /* 13: y += p, vertices of selected faces */
void trans6(Mesh *m, float p);  /* 14: z += p, vertices of selected faces */
void trans2(Mesh *m, float p);
/* 15: each selected face's corners += p * its stored face normal */
void rotate1(Mesh *m, float p); /* 16: selection about X by p * 22.5 degrees */
/* (Any float p: beyond +-8.125 the angle is first reduced by whole turns,
   16 units of p, exactly.) */
void rotate2(Mesh *m, float p); /* 17: selection about Y */
void rotate3(Mesh *m, float p); /* 18: selection about Z */
void select1(Mesh *m, float p); /* 19: select all */
void select2(Mesh *m, float p); /* 20: select none; LastPickedFace = -1 */
void select3(Mesh *m, float p); /* 21: invert; LastPickedFace = -1 */
void select4(Mesh *m, float p); /* 22: grow by the faces sharing a vertex */
void select5(Mesh *m, float p); /* 23: those faces only, dropping the old */
void select6(Mesh *m, float p); /* 24: similar to LastPickedFace along X */
void select7(Mesh *m, float p); /* 25: same along Y */
void select8(Mesh *m, float p); /* 26: same along Z */
void subd(Mesh *m, float p);    /* 27: every face into four */
void smoooth(Mesh *m, float p); /* 28: into four, Catmull-Clark positions */
void addquad(Mesh *m, float p); /* 29: extrude the selected faces */
void delQuad(Mesh *m, float p); /* 30: delete the selected faces */
void addcube(Mesh *m, float p); /* 31: append the cube, its faces selected */
/* Capacity: a step whose result would exceed 250000 vertices or faces changes
   nothing and is still recorded (with the notice "Exceeded mesh capacity"
   while the Recorder is on). addcube needs 8 vertices and 6 faces, addquad 4
   vertices and 4 faces per selected face, subd/smoooth 4N faces (N faces
   now) and N + (edge points not shared) new vertices. */

void select9(Mesh *m, uint32_t f);
/* Opcode 50, a pick: toggles face f (a face at or beyond nquads is left
   alone), sets LastPickedFace to f if now selected else -1, LastPick = f,
   then records the step (the Recorder counts the face it stores). */

/* Shared routines of the operations */
void transob(Mesh *m, const Vec3 *offset, int32_t scope);
/* Adds offset to every vertex (scope 0) or to the selection (scope 1). */
void scaleob(Mesh *m, const Vec3 *factors, int32_t whole);
/* Multiplies every vertex (whole 1) or the selection (0) by factors. */
void rotobj(Mesh *m, float p, int32_t axis);
/* Rotates the selection by p * 22.5 degrees about X (0), Y (1) or Z, for
   any float p: beyond +-8.125 by p less its nearest whole turns (16). */
void trigon(double t, double *c, double *s);
/* c = cos t, s = sin t for |t| <= 3.2, with + - * / in double only: the
   same bits on every platform, whatever its maths library. */
void smooth(Mesh *m, int32_t smoothing);
/* Splits every face into four; with smoothing, Catmull-Clark positions
   (a vertex that no face uses stays where it is). Records nothing; refuses
   a result beyond the capacity as above. */
void selrang(Mesh *m, uint32_t first, uint32_t end, int32_t value);
/* Flags of faces first..end-1 = value. */
void selinvr(Mesh *m);
/* Flag 0 becomes 1, anything else 0. */
void expands(Mesh *m, int32_t keep);
/* Adds the faces sharing a vertex index with a selected face; the faces
   selected before get keep (0 or 1). Linear time. */
void axissel(Mesh *m, int32_t axis);
/* Selects the faces whose centre lies within LastPickedFace's range along
   the axis (0 X, 1 Y, 2 Z). Nothing when there is no valid last pick. */

#ifdef __cplusplus
}
#endif

#endif /* MIRL_H */
