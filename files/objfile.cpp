// Object files: the record image as a text stream, where every image byte
// 0x0A is stored as 0x0D 0x0A. The translation is done here byte by byte so
// that files are the same on every platform, whatever the C library's text
// mode does.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "internal.h"
#include "mirlfile.h"

MIRL_SECTION(".unpacko") void encodeobj(const mirlObj *r, unsigned char image[MIRL_IMAGE_SIZE])
{
    image[0] = r->count;
    memcpy(image + 1, r->ops, 256);
    memcpy(image + 257, r->params, 256);
    for (int i = 0; i < 256; i++) {
        uint32_t p = r->picks[i];
        unsigned char *b = image + 513 + 4 * i;
        b[0] = (unsigned char)p;
        b[1] = (unsigned char)(p >> 8);
        b[2] = (unsigned char)(p >> 16);
        b[3] = (unsigned char)(p >> 24);
    }
}

MIRL_SECTION(".unpacko") void decodeobj(const unsigned char image[MIRL_IMAGE_SIZE], mirlObj *r)
{
    r->count = image[0];
    memcpy(r->ops, image + 1, 256);
    memcpy(r->params, image + 257, 256);
    for (int i = 0; i < 256; i++) {
        const unsigned char *b = image + 513 + 4 * i;
        r->picks[i] = (uint32_t)b[0] | (uint32_t)b[1] << 8 | (uint32_t)b[2] << 16 | (uint32_t)b[3] << 24;
    }
}

// Writes the image with its line-end translation; 1 when every byte went out.
static int writeImage(FILE *f, const unsigned char *image)
{
    static unsigned char text[2 * MIRL_IMAGE_SIZE];
    size_t n = 0;
    for (int i = 0; i < MIRL_IMAGE_SIZE; i++) {
        if (image[i] == 0x0A)
            text[n++] = 0x0D;
        text[n++] = image[i];
    }
    return fwrite(text, 1, n, f) == n;
}

// Creates the temporary file next to the target, so that the final rename
// stays within one file system.
static FILE *openTemporary(const char *target, char *tmpName, size_t size)
{
    int len = snprintf(tmpName, size, "%s.tmpXXXXXX", target);
    if (len < 0 || (size_t)len >= size)
        return NULL;
    int fd = mkstemp(tmpName);
    if (fd < 0)
        return NULL;
    // Keep the permissions of the file being replaced; a new file gets the
    // usual ones.
    struct stat st;
    mode_t mode;
    if (stat(target, &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);
    FILE *f = fdopen(fd, "wb");
    if (!f) {
        close(fd);
        unlink(tmpName);
    }
    return f;
}

MIRL_SECTION(".unpacko") int saveobj(const char *name)
{
    static unsigned char image[MIRL_IMAGE_SIZE];
    static char tmpName[4096 + 16];
    encodeobj(&CommandRecord, image);

    // Saving through a link updates the file it points to.
    static char resolved[4096];
    const char *target = realpath(name, resolved) ? resolved : name;

    FILE *f = openTemporary(target, tmpName, sizeof tmpName);
    if (!f) {
        notify("Unable to save to file", "FATAL ERROR");
        return 0;
    }
    int ok = writeImage(f, image);
    ok = fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = fclose(f) == 0 && ok;
    if (ok && rename(tmpName, target) == 0)
        return 1;
    int saved = errno;
    unlink(tmpName);
    errno = saved;
    notify("Unable to save to file", "FATAL ERROR");
    return 0;
}

// Reads image bytes, undoing the translation, until the image is full or the
// file ends. Returns the number of image bytes read.
static size_t readImage(FILE *f, unsigned char *image)
{
    size_t n = 0;
    int c = getc(f);
    while (n < MIRL_IMAGE_SIZE && c != EOF) {
        if (c == 0x0D) {
            int next = getc(f);
            if (next == 0x0A) {
                image[n++] = 0x0A;
                c = getc(f);
            } else {
                image[n++] = 0x0D;
                c = next;
            }
        } else {
            image[n++] = (unsigned char)c;
            c = getc(f);
        }
    }
    return n;
}

MIRL_SECTION(".unpacko") int loadobj(const char *name, Mesh *m)
{
    static unsigned char image[MIRL_IMAGE_SIZE];
    FILE *f = fopen(name, "rb");
    if (!f) {
        notify("Unable to read from file", "FATAL ERROR");
        return 0;
    }
    size_t n = readImage(f, image);
    int failed = ferror(f);
    fclose(f);
    if (failed) {
        notify("Unable to read from file", "FATAL ERROR");
        return 0;
    }
    // A short file would leave the rest of the record as it was: refuse it
    // before anything changes.
    if (n < MIRL_IMAGE_SIZE) {
        notify("Not a complete mirl object", "FATAL ERROR");
        return 0;
    }
    decodeobj(image, &CommandRecord);
    m->nquads = 0;
    m->nverts = 0;
    replayobj(&CommandRecord, m);
    return 1;
}
