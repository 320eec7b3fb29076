// The C header export: one mirlObj initialiser per export, appended to
// Mirljects.h in the current directory.
#include <stdio.h>

#include "internal.h"
#include "mirlfile.h"

static const char HeaderFile[] = "Mirljects.h";

MIRL_SECTION(".unpacko") int exportfp(FILE *f, const char *name)
{
    const mirlObj *r = &CommandRecord;
    int ok = fprintf(f, "\nmirlObj %s = {\n", name) >= 0;
    ok = fprintf(f, "%d,\n", r->count) >= 0 && ok;
    for (int i = 0; i < 256; i++) {
        ok = fprintf(f, "%d,", i < r->count ? r->ops[i] : 0) >= 0 && ok;
        if (i % 40 == 39)
            ok = fputs("\n", f) >= 0 && ok;
    }
    ok = fputs("\n", f) >= 0 && ok;
    for (int i = 0; i < 256; i++) {
        ok = fprintf(f, "%u,", i < r->count ? (unsigned)r->params[i] : 0u) >= 0 && ok;
        if (i % 40 == 39)
            ok = fputs("\n", f) >= 0 && ok;
    }
    ok = fputs("\n", f) >= 0 && ok;
    for (uint32_t i = 0; i < 256; i++) {
        ok = fprintf(f, "%u", i < PickCount ? (unsigned)r->picks[i] : 0u) >= 0 && ok;
        if (i < 255)
            ok = fputs(",", f) >= 0 && ok;
        if (i % 20 == 19)
            ok = fputs("\n", f) >= 0 && ok;
    }
    ok = fputs("\n};\n", f) >= 0 && ok;
    return ok;
}

MIRL_SECTION(".unpacko") int exportobj(const char *name)
{
    if (HeaderPending) {
        FILE *f = fopen(HeaderFile, "w");
        if (!f) {
            notify("Unable to open Mirljects.h file - not saving", "FATAL ERROR");
            return 0;
        }
        int ok = fputs("#include \"mirl.h\"\n\n", f) >= 0;
        ok = fclose(f) == 0 && ok;
        if (!ok) {
            notify("Unable to open Mirljects.h file - not saving", "FATAL ERROR");
            return 0;
        }
        HeaderPending = 0;
    }
    FILE *f = fopen(HeaderFile, "a");
    if (!f) {
        notify("Unable to open Mirljects.h file - not saving", "FATAL ERROR");
        return 0;
    }
    int ok = exportfp(f, name);
    ok = fclose(f) == 0 && ok;
    if (!ok)
        notify("Unable to open Mirljects.h file - not saving", "FATAL ERROR");
    return ok;
}
