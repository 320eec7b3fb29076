/* mirlfile.h - object files (.mrl) and the C header export (Mirljects.h).
   C linkage, like the runtime; failures are reported through the runtime's
   notice hook (setnote) with the text "FATAL ERROR". */
#ifndef MIRLFILE_H
#define MIRLFILE_H

#include <stdio.h>

#include "mirl.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MIRL_IMAGE_SIZE 1537 /* bytes of a record image */

void encodeobj(const mirlObj *r, unsigned char image[MIRL_IMAGE_SIZE]);
/* The on-disk image of a record: count, ops, params, then the picks as
   32-bit little-endian words, whatever the host's byte order. */
void decodeobj(const unsigned char image[MIRL_IMAGE_SIZE], mirlObj *r);
/* The record of an on-disk image. */

int saveobj(const char *name);
/* Writes CommandRecord to the file, each image byte 0x0A stored as 0x0D 0x0A.
   Writes a temporary file beside it and renames it over the target, so the
   old file survives any failure. 1 on success; else 0 after the notice
   "Unable to save to file". */

int loadobj(const char *name, Mesh *m);
/* Reads a record image (0x0D 0x0A read as 0x0A; bytes past the image are
   ignored) into CommandRecord, empties m and replays the record into it.
   1 on success. A file that cannot be opened ("Unable to read from file")
   or holds less than a whole image ("Not a complete mirl object") changes
   nothing and returns 0. */

int exportobj(const char *name);
/* Appends CommandRecord as "mirlObj <name> = {...};" to Mirljects.h in the
   current directory; the first export of a run (HeaderPending) starts the
   file afresh with the include line. 1 on success; else 0 after the notice
   "Unable to open Mirljects.h file - not saving". */

int exportfp(FILE *f, const char *name);
/* Writes the initialiser text of CommandRecord (picks up to PickCount) to f,
   exactly as exportobj appends it. 1 unless a write failed. */

#ifdef __cplusplus
}
#endif

#endif /* MIRLFILE_H */
