// The C header export: one mirlObj initialiser per export, appended to
// Mirljects.h in the current directory.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

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

// Starts Mirljects.h afresh with the include line. Through a temporary file:
// when this fails, the header of an earlier run is still there.
MIRL_SECTION(".unpacko") static int startHeader(void)
{
    static mirlRepl out;
    if (!repopen(&out, HeaderFile))
        return 0;
#ifdef _WIN32
    _setmode(_fileno(out.f), _O_TEXT); // the header is text, as appended objects are
#endif
    int ok = fputs("#include \"mirl.h\"\n\n", out.f) >= 0;
    return repdone(&out, ok);
}

// Appends one object; a failed write is cut off again, so the file never
// ends in half an initialiser.
MIRL_SECTION(".unpacko") static int appendObject(const char *name)
{
    // A text file: where lines end in CR LF, these do, like the include line.
    FILE *f = fopen(HeaderFile, "a");
    if (!f)
        return 0;
    struct stat st;
    int regular = fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode);
    int ok = exportfp(f, name);
    ok = fflush(f) == 0 && ok;
    int saved = errno;
    if (fclose(f) != 0 && ok) {
        saved = errno;
        ok = 0;
    }
    if (!ok && regular && truncate(HeaderFile, st.st_size) != 0) {
        // The notice follows; nothing more can be done about the tail.
    }
    errno = saved;
    return ok;
}

MIRL_SECTION(".unpacko") int exportobj(const char *name)
{
    if (HeaderPending) {
        if (!startHeader()) {
            notify("Unable to open Mirljects.h file - not saving", "FATAL ERROR");
            return 0;
        }
        HeaderPending = 0;
    }
    if (!appendObject(name)) {
        notify("Unable to open Mirljects.h file - not saving", "FATAL ERROR");
        return 0;
    }
    return 1;
}
