// Replacing a file without ever losing the old one: the new content goes to a
// temporary file in the same folder (so the rename stays on one file
// system), is flushed and synced, and only then renamed over the target.
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "internal.h"
#include "mirlfile.h"

// Copies the folder part of path ("." for a bare name) into dir.
MIRL_SECTION(".unpacko") static void folderOf(const char *path, char *dir, size_t size)
{
    const char *slash = strrchr(path, '/');
    if (!slash) {
        snprintf(dir, size, ".");
    } else if (slash == path) {
        snprintf(dir, size, "/");
    } else {
        snprintf(dir, size, "%.*s", (int)(slash - path), path);
    }
}

MIRL_SECTION(".unpacko") int repopen(mirlRepl *s, const char *name)
{
    s->f = NULL;
    s->temp[0] = 0;
    if (!name[0]) {
        errno = ENOENT;
        return 0;
    }
    // Saving through a link updates the file it points to.
    static char resolved[PATH_MAX];
    const char *target = realpath(name, resolved) ? resolved : name;
    if (snprintf(s->target, sizeof s->target, "%s", target) >= (int)sizeof s->target) {
        errno = ENAMETOOLONG;
        return 0;
    }

    struct stat st;
    int exists = stat(s->target, &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return 0;
    }
    if (exists && !S_ISREG(st.st_mode)) {
        // A device or a pipe has no content to keep, and renaming over it
        // would replace the device itself.
        s->f = fopen(s->target, "wb");
        return s->f != NULL;
    }
    if (exists && access(s->target, W_OK) != 0)
        return 0; // a write-protected file stays as it is

    char dir[MIRL_PATH_MAX];
    folderOf(s->target, dir, sizeof dir);
    if (snprintf(s->temp, sizeof s->temp, "%s/.mirlXXXXXX", dir) >= (int)sizeof s->temp) {
        s->temp[0] = 0;
        errno = ENAMETOOLONG;
        return 0;
    }
    int fd = mkstemp(s->temp);
    if (fd < 0) {
        s->temp[0] = 0;
        return 0;
    }
    // The replacement keeps the old file's permissions and owner; a new
    // file gets the usual permissions.
    if (exists) {
        fchmod(fd, st.st_mode & 07777);
        if (fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only root may give a file away; others keep it as their own.
        }
    } else {
        mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    s->f = fdopen(fd, "wb");
    if (!s->f) {
        int saved = errno;
        close(fd);
        unlink(s->temp);
        s->temp[0] = 0;
        errno = saved;
        return 0;
    }
    return 1;
}

MIRL_SECTION(".unpacko") int repdone(mirlRepl *s, int ok)
{
    int saved = errno; // the caller's cause when it gives up (ok 0)
    if (!s->f) {
        errno = EBADF;
        return 0;
    }
    if (ok && fflush(s->f) != 0) {
        ok = 0;
        saved = errno;
    }
    if (ok && s->temp[0] && fsync(fileno(s->f)) != 0) {
        ok = 0;
        saved = errno;
    }
    if (fclose(s->f) != 0 && ok) {
        ok = 0;
        saved = errno;
    }
    s->f = NULL;
    if (!s->temp[0]) {
        errno = saved;
        return ok;
    }
    if (ok && rename(s->temp, s->target) != 0) {
        ok = 0;
        saved = errno;
    }
    if (!ok) {
        unlink(s->temp);
        s->temp[0] = 0;
        errno = saved;
        return 0;
    }
    s->temp[0] = 0;
    // Make the rename itself durable; the new content is complete either way.
    char dir[MIRL_PATH_MAX];
    folderOf(s->target, dir, sizeof dir);
    int dfd = open(dir, O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return 1;
}
