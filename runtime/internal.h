/* internal.h - shared by the runtime's own files; not part of the player
   interface.

   The runtime is also the source of every player: `mirl-tool player` cuts
   the marked blocks out of these files (a comment line "@ NAME..." opens
   one, naming what it defines; "@ end" closes it) and pastes the ones an
   object needs into one C file.
   Code outside such blocks is the editor's alone; code inside them must be
   valid C99 and C++ and may use only what other blocks define. Where the
   player needs a smaller form of something, the two forms sit side by side
   under #ifdef MIRL_PLAYER, the player's in a block.

   The generator decides, as it writes a file, every conditional inside a
   block that names only MIRL_PLAYER (defined) and what it measured by
   replaying the file's objects; a written player holds no such conditional.
   So a guard that only some records reach, or a smaller form valid only up
   to a size, sits in a player block under #if on a measured value:
     MIRL_MOST_VERTS, MIRL_MOST_FACES  largest counts after any step
     MIRL_SMOOTH_FACES                 largest face count before a smooth or
                                       subdivide; MIRL_SMOOTH_WORK the sum of
                                       its squares per object (the largest)
     MIRL_EXTRUDE_WORK                 sum of selected faces times faces over
                                       an object's extrudes (the largest)
     MIRL_REFUSED_CUBE, _EXTRUDE,      1 if such a step is refused for
       _SMOOTH                         capacity (smooth: or subdivide)
     MIRL_PICK_OUTSIDE                 1 if a pick is at or beyond the faces
     MIRL_SIMILAR_USED                 1 if select similar is used
     MIRL_SIMILAR_FIRST                1 if one runs before an object's first pick
     MIRL_SIMILAR_NOFACE               1 if one runs while the last pick names
                                       no face
     MIRL_SKIPPED_STEPS                1 if a step has an opcode with no operation
   In a block that the editor compiles too, such a condition starts with
   "!defined(MIRL_PLAYER) ||", so that the editor keeps the general text.
   The general player (of every operation, for any record) takes each at its
   largest, so it keeps every guard and general form. The file's top lists
   what a choice assumed; a line "@ assume: TEXT" in a block adds TEXT to that
   list whenever the block is used. */
#ifndef MIRL_INTERNAL_H
#define MIRL_INTERNAL_H

#include <string.h>

#include "mirl.h"

/*@ prelude */
/* Each runtime routine lives in a code section named after it, so a demo's
   linker script (or --gc-sections) can keep exactly the operations it uses. */
#if defined(__GNUC__)
#define MIRL_SECTION(name) __attribute__((section(name)))
#else
#define MIRL_SECTION(name)
#endif
/* A routine that mirl.h declares: public in the runtime, private in a player. */
#define MIRL_ROUTINE(name) MIRL_CALL MIRL_LOCAL MIRL_SECTION(name)
/*@ end */

#ifdef MIRL_PLAYER
/*@ prelude */
/* In a player every routine but replayobj is private to its file, and small
   helpers stay out of line: one call is shorter than the inlined body. The
   value forms of exact.h are the bodies of the vector routines: inlined
   into them, so that each routine keeps its code in its own section.
   MIRL_APART keeps a routine out of line even where it is called once:
   its caller then needs fewer registers, which 32-bit x86 lacks. */
#define MIRL_LOCAL static
#define MIRL_INLINE static
/* 32-bit x86 passes arguments on the stack; a player's private routines,
   the operations of its table too, take theirs in registers. */
#if defined(__GNUC__) && !defined(__clang__) && defined(__i386__) && defined(__SSE2__)
#define MIRL_CALL __attribute__((regparm(3), sseregparm))
#else
#define MIRL_CALL
#endif
#if defined(__GNUC__)
#define MIRL_EXACT static inline __attribute__((always_inline))
#define MIRL_APART __attribute__((noinline))
#else
#define MIRL_EXACT static inline
#define MIRL_APART
#endif
/* GCC's -Os still spends bytes on speed: these options give about a tenth
   less packed code on 32-bit x86 and leave the arithmetic alone (none of
   them may reorder or contract a float operation). They hold for this file
   only: MIRL_OPTIONS_END, at its end, gives the demo its own back. */
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 8
#pragma GCC push_options
#pragma GCC optimize("omit-frame-pointer", "no-code-hoisting", "no-early-inlining", "no-expensive-optimizations")
#pragma GCC optimize("no-guess-branch-probability", "no-if-conversion", "no-lra-remat", "no-schedule-insns2")
#pragma GCC optimize("no-shrink-wrap", "no-tree-ch", "no-tree-loop-distribute-patterns", "no-tree-loop-im")
#pragma GCC optimize("no-tree-loop-ivcanon", "no-tree-pta", "no-tree-reassoc", "no-caller-saves", "no-gcse-lm")
#pragma GCC optimize("no-ipa-cp")
#define MIRL_OPTIONS_END _Pragma("GCC pop_options")
#else
#define MIRL_OPTIONS_END
#endif
/*@ end */
#else
#define MIRL_LOCAL
#define MIRL_INLINE static inline
#define MIRL_CALL
#define MIRL_APART
#endif

/* The exact arithmetic, with the helper form chosen above. */
#include "exact.h"

/* An entry of the operation table; a player writes 0 for the operations
   its objects never use. */
#define MIRL_OPENTRY(routine) routine

/* Vertex marks of the selection: after selmark(m), SelMark[v] is 1 exactly
   when v is a corner of a quad with a nonzero flag (what vselect answers),
   for every v below nverts. One pass over vertices and quads. */
#ifdef __cplusplus
extern "C" { /* plain names across the runtime's own files, as a C player links them */
#endif
extern uint8_t SelMark[MIRL_MAXVERTS];
void selmark(const Mesh *m);
#ifdef __cplusplus
}
#endif

#ifdef MIRL_PLAYER
/*@ putsel */
/* *p = *n where mark is 1. */
static void putsel(Vec3 *p, const Vec3 *n, uint8_t mark)
{
    if (mark)
        *p = *n;
}
/*@ end */
#else
/* keep where keepmask is all ones, put where it is zero, bit for bit. */
static inline float mirl_pick(float keep, float put, uint32_t keepmask)
{
    uint32_t k, p;
    memcpy(&k, &keep, sizeof k);
    memcpy(&p, &put, sizeof p);
    k = (k & keepmask) | (p & ~keepmask);
    memcpy(&keep, &k, sizeof k);
    return keep;
}

/* *p = *n where mark is 1, *p unchanged where it is 0, without a branch: over
   a scattered selection a branch per vertex mispredicts at every turn. One
   component at a time, in registers (a blend through memory stalls). */
static inline void putsel(Vec3 *p, const Vec3 *n, uint8_t mark)
{
    const uint32_t keep = (uint32_t)mark - 1u; /* all ones for 0 */
    p->x = mirl_pick(p->x, n->x, keep);
    p->y = mirl_pick(p->y, n->y, keep);
    p->z = mirl_pick(p->z, n->z, keep);
}
#endif

#ifdef MIRL_PLAYER
/*@ capnote recordstep */
/* A player neither records nor tells anyone anything. */
#define capnote() ((void)0)
#define recordstep(opcode, p) ((void)0)
/*@ end */
#else
/* An operation whose result would not fit the Mesh changes nothing but still
   records its step, so records, undo and replay stay aligned. Only the
   editor (Recorder on) tells the user; a replay refuses the same step the
   same way, silently. */
static inline void capnote(void)
{
    if (RecorderOn)
        notify("Exceeded mesh capacity", "ERROR");
}
#endif

#endif /* MIRL_INTERNAL_H */
