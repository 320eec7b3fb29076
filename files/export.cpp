// The C header export: one mirlObj initialiser per export, appended to
// Mirljects.h in the current directory.
#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
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

// The header of an earlier run becomes Mirljects.h.bak (beside the file a
// link names), so its objects are not lost when this run starts afresh.
// 0 when it cannot be moved: then it must not be replaced either.
MIRL_SECTION(".unpacko") static int keepEarlierHeader(const char *target)
{
    struct stat st;
    if (stat(target, &st) != 0)
        return 1; // nothing to keep
    char backup[MIRL_PATH_MAX + 8];
    snprintf(backup, sizeof backup, "%s.bak", target);
    const char *base = strrchr(backup, '/');
#ifdef _WIN32
    const char *back = strrchr(backup, '\\');
    if (back && (!base || back > base))
        base = back;
    // rename() there never replaces an existing file.
    if (!MoveFileExA(target, backup, MOVEFILE_REPLACE_EXISTING)) {
        errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
#else
    if (rename(target, backup) != 0) {
#endif
        printf(" (Mirljects.h could not become Mirljects.h.bak: %s)", strerror(errno));
        return 0;
    }
    printf(" (the earlier Mirljects.h kept as %s)", base ? base + 1 : backup);
    return 1;
}

// Starts Mirljects.h afresh with the include line. Through a temporary file,
// written before the earlier header moves aside: when this fails, the
// header of an earlier run is still there.
MIRL_SECTION(".unpacko") static int startHeader(void)
{
    static mirlRepl out;
    if (!repopen(&out, HeaderFile))
        return 0;
#ifdef _WIN32
    _setmode(_fileno(out.f), _O_TEXT); // the header is text, as appended objects are
#endif
    int ok = fputs("#include \"mirl.h\"\n\n", out.f) >= 0 && fflush(out.f) == 0;
    // Written directly (no temporary file): a device or a pipe keeps nothing.
    if (ok && out.temp[0])
        ok = keepEarlierHeader(out.target);
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
