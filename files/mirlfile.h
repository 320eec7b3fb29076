/* mirlfile.h - object files (.mrl) and the C header export (Mirljects.h).
   C linkage, like the runtime; failures are reported through the runtime's
   notice hook (setnote) with the text "FATAL ERROR", with errno still
   telling the cause when the hook runs. */
#ifndef MIRLFILE_H
#define MIRLFILE_H

#include <stddef.h>
#include <stdio.h>

#include "mirl.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MIRL_IMAGE_SIZE 1537 /* bytes of a record image */
#define MIRL_TEXT_MAX 3074   /* longest file an image needs: every byte 0x0A */
#define MIRL_PATH_MAX 4096

/* ---------------------------------------------------------------------------
   The record image and its text form */

void encobj(const mirlObj *r, unsigned char image[MIRL_IMAGE_SIZE]);
/* The on-disk image of a record: count, ops, params, then the picks as
   32-bit little-endian words, whatever the host's byte order. */
void decobj(const unsigned char image[MIRL_IMAGE_SIZE], mirlObj *r);
/* The record of an on-disk image. */

size_t totext(const unsigned char image[MIRL_IMAGE_SIZE], unsigned char text[MIRL_TEXT_MAX]);
/* The file bytes of an image: each 0x0A becomes 0x0D 0x0A, every other byte
   is kept. Returns their number, 1537 to 3074. */
size_t untext(const unsigned char *text, size_t n, unsigned char image[MIRL_IMAGE_SIZE]);
/* Reads image bytes from n file bytes: a 0x0D directly followed by 0x0A is
   dropped, every other byte (0x1A included) is data. Stops when the image
   is full; returns the number of image bytes, at most 1537. */

/* ---------------------------------------------------------------------------
   Object files */

int saveobj(const char *name);
/* Writes CommandRecord to the file in its text form. Writes a temporary
   file beside it and renames it over the target, so the old file survives
   any failure. 1 on success; else 0 after the notice "Unable to save to
   file". */

int loadobj(const char *name, Mesh *m);
/* Reads a record (bytes past the image are ignored) into CommandRecord,
   empties m and replays the record into it with the Recorder off and, as in
   a player, no last picked face (LastPickedFace -1 at the start). 1 on
   success. A file that cannot be read ("Unable to read from file") or holds
   less than a whole image ("Not a complete mirl object") changes nothing
   (record, PickCount, LastPickedFace, mesh) and returns 0. */

int loadtxt(const unsigned char *text, size_t n, Mesh *m);
/* loadobj once the file's first bytes are in memory: MIRL_TEXT_MAX bytes
   are always enough for a whole image. */

int readobj(const char *name, mirlObj *r);
/* Reads an object file's record into *r without replaying it; nothing else
   changes. 1 on success; else 0 after the same notices as loadobj. */

/* ---------------------------------------------------------------------------
   Replacing a file safely: the new content goes to a temporary file in the
   target's folder, which is flushed, synced and renamed over the target
   only when everything was written. A target that exists but is neither a
   regular file nor a folder (a terminal, /dev/null, a pipe) is written
   directly: there is no content to keep. */

typedef struct mirlRepl {
    FILE *f;                        /* write the new content here */
    char target[MIRL_PATH_MAX];     /* the file replaced (links resolved) */
    char temp[MIRL_PATH_MAX + 16];  /* the temporary file, "" if direct */
} mirlRepl;

int repopen(mirlRepl *s, const char *name);
/* 1 with s->f open for writing; 0 with errno set when the target cannot be
   replaced (a folder, a missing folder, a file without write permission). */
int repdone(mirlRepl *s, int ok);
/* Finishes the write: with ok nonzero flushes, syncs and renames the
   temporary file over the target and returns 1 if all of that worked.
   Otherwise (or with ok 0) removes the temporary file, leaves the target
   as it was and returns 0 with errno telling why. */

/* ---------------------------------------------------------------------------
   C header export */

int exportobj(const char *name);
/* Appends CommandRecord as "mirlObj <name> = {...};" to Mirljects.h in the
   current directory; the first export of a run (HeaderPending) starts the
   file afresh with the include line, after renaming an existing one to
   Mirljects.h.bak (standard output says so; when the rename fails the old
   file stays and the export fails). 1 on success; else 0 after the notice
   "Unable to open Mirljects.h file - not saving", with the file as it was
   before this export. */

int exportfp(FILE *f, const char *name);
/* Writes the initialiser text of CommandRecord (picks up to PickCount) to f,
   exactly as exportobj appends it. 1 unless a write failed. */

#ifdef __cplusplus
}
#endif

#endif /* MIRLFILE_H */
