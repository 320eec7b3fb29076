// Object files: saving and loading the command record in its text form.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "internal.h"
#include "mirlfile.h"

MIRL_SECTION(".unpacko") int saveobj(const char *name)
{
    static unsigned char image[MIRL_IMAGE_SIZE];
    static unsigned char text[MIRL_TEXT_MAX];
    static mirlRepl out;
    encobj(&CommandRecord, image);
    size_t n = totext(image, text);
    if (!repopen(&out, name)) {
        notify("Unable to save to file", "FATAL ERROR");
        return 0;
    }
    int ok = fwrite(text, 1, n, out.f) == n;
    if (!repdone(&out, ok)) {
        notify("Unable to save to file", "FATAL ERROR");
        return 0;
    }
    return 1;
}

// The record of a file's first bytes, refused unless they hold a whole image.
MIRL_SECTION(".unpacko") static int decodetxt(const unsigned char *text, size_t n, mirlObj *r)
{
    static unsigned char image[MIRL_IMAGE_SIZE];
    // A short file would fill only the start of the record: refuse it before
    // anything changes.
    if (untext(text, n, image) < MIRL_IMAGE_SIZE) {
        notify("Not a complete mirl object", "FATAL ERROR");
        return 0;
    }
    decobj(image, r);
    return 1;
}

// Takes the record as the editor's own and replays it into the emptied mesh.
MIRL_SECTION(".unpacko") static int replayloaded(const mirlObj *r, Mesh *m)
{
    setrec(r);
    // With the Recorder on, the replay would append to the record it reads.
    int32_t recorder = RecorderOn;
    recordoff();
    m->nquads = 0;
    m->nverts = 0;
    replayobj(&CommandRecord, m);
    RecorderOn = recorder;
    return 1;
}

MIRL_SECTION(".unpacko") int loadtxt(const unsigned char *text, size_t n, Mesh *m)
{
    static mirlObj r;
    return decodetxt(text, n, &r) && replayloaded(&r, m);
}

// Opens name for reading without ever waiting: a pipe or a terminal would
// block the open or the read. Returns the descriptor, or -1 after the notice.
MIRL_SECTION(".unpacko") static int openregular(const char *name)
{
#ifdef _WIN32
    int fd = open(name, O_RDONLY | O_BINARY);
#else
    int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
#endif
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        fd = -1;
    }
    if (fd < 0) {
#ifdef _WIN32
        // Windows refuses to open a folder as "access denied": say what it is.
        if (errno == EACCES && stat(name, &st) == 0 && S_ISDIR(st.st_mode))
            errno = EISDIR;
#endif
        notify("Unable to read from file", "FATAL ERROR");
        return -1;
    }
    if (S_ISREG(st.st_mode))
        return fd;
    close(fd);
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        notify("Unable to read from file", "FATAL ERROR");
    } else {
        // A pipe, a device or a socket: its bytes are no object file.
        errno = 0;
        notify("Not a regular file", "FATAL ERROR");
    }
    return -1;
}

MIRL_SECTION(".unpacko") int readobj(const char *name, mirlObj *r)
{
    // A whole image never needs more than MIRL_TEXT_MAX file bytes; the rest
    // of a longer file is ignored.
    static unsigned char text[MIRL_TEXT_MAX];
    int fd = openregular(name);
    if (fd < 0)
        return 0;
    size_t n = 0;
    while (n < sizeof text) {
        ssize_t got = read(fd, text + n, (unsigned)(sizeof text - n));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            int saved = errno;
            close(fd);
            errno = saved;
            notify("Unable to read from file", "FATAL ERROR");
            return 0;
        }
        if (got == 0)
            break;
        n += (size_t)got;
    }
    close(fd);
    errno = 0;
    return decodetxt(text, n, r);
}

MIRL_SECTION(".unpacko") int loadobj(const char *name, Mesh *m)
{
    static mirlObj r;
    return readobj(name, &r) && replayloaded(&r, m);
}
