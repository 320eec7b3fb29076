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
#ifdef _WIN32
#include <io.h>
#include <wchar.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "internal.h"
#include "mirlfile.h"

// Copies the folder part of path ("." for a bare name) into dir.
MIRL_SECTION(".unpacko") static void folderOf(const char *path, char *dir, size_t size)
{
    const char *slash = strrchr(path, '/');
#ifdef _WIN32
    const char *back = strrchr(path, '\\'); // either separator, the last one
    if (back && (!slash || back > slash))
        slash = back;
#endif
    if (!slash) {
        snprintf(dir, size, ".");
    } else if (slash == path) {
        snprintf(dir, size, "/");
    } else {
        snprintf(dir, size, "%.*s", (int)(slash - path), path);
    }
}

#ifndef _WIN32
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

// The new content on disk before the rename; 0 with errno set if not.
MIRL_SECTION(".unpacko") static int syncfile(FILE *f)
{
    return fsync(fileno(f)) == 0;
}

// Puts temp in target's place; 0 with errno set if that fails.
MIRL_SECTION(".unpacko") static int movefile(const char *temp, const char *target)
{
    if (rename(temp, target) != 0)
        return 0;
    // Make the rename itself durable; the new content is complete either way.
    char dir[MIRL_PATH_MAX];
    folderOf(target, dir, sizeof dir);
    int dfd = open(dir, O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        fsync(dfd);
        close(dfd);
    }
    return 1;
}

MIRL_SECTION(".unpacko") static void dropfile(const char *temp)
{
    unlink(temp);
}
#else
// Windows: the same steps with its own calls. Names are in the process's ANSI
// code page, as argv and fopen take them (UTF-8 where that is the code page).

// errno for the errors these calls give; anything else is an I/O error.
MIRL_SECTION(".unpacko") static int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_INVALID_NAME:
        return EINVAL;
    default:
        return EIO;
    }
}

MIRL_SECTION(".unpacko") static int widen(const char *name, wchar_t *wide, int size)
{
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, name, -1, wide, size) > 0)
        return 1;
    errno = GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ENAMETOOLONG : EINVAL;
    return 0;
}

// The name of an open file with every link resolved, without the "\\?\"
// the system puts before it. 0 when the code page cannot spell it.
MIRL_SECTION(".unpacko") static int finalName(HANDLE h, char *name, int size)
{
    wchar_t wide[MIRL_PATH_MAX];
    DWORD n = GetFinalPathNameByHandleW(h, wide, MIRL_PATH_MAX, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0 || n >= MIRL_PATH_MAX)
        return 0;
    wchar_t *p = wide;
    if (wcsncmp(wide, L"\\\\?\\UNC\\", 8) == 0) {
        p = wide + 6; // "\\?\UNC\server\share" is "\\server\share"
        *p = L'\\';
    } else if (wcsncmp(wide, L"\\\\?\\", 4) == 0) {
        p = wide + 4;
    }
    BOOL lossy = FALSE;
    int utf8 = GetACP() == CP_UTF8; // which takes no default character
    return WideCharToMultiByte(CP_ACP, 0, p, -1, name, size, NULL, utf8 ? NULL : &lossy) > 0 && !lossy;
}

MIRL_SECTION(".unpacko") int repopen(mirlRepl *s, const char *name)
{
    s->f = NULL;
    s->temp[0] = 0;
    if (!name[0]) {
        errno = ENOENT;
        return 0;
    }
    wchar_t wide[MIRL_PATH_MAX];
    if (!widen(name, wide, MIRL_PATH_MAX))
        return 0;
    // Opened without reading or writing, only to learn what the name is. Its
    // final name stands in for realpath: saving through a link updates the
    // file it points to.
    HANDLE h = CreateFileW(wide, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           NULL, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    int exists = h != INVALID_HANDLE_VALUE;
    DWORD type = FILE_TYPE_DISK, attributes = 0;
    static char resolved[MIRL_PATH_MAX];
    const char *target = name;
    if (exists) {
        BY_HANDLE_FILE_INFORMATION info;
        type = GetFileType(h);
        if (type == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info))
            attributes = info.dwFileAttributes;
        if (type == FILE_TYPE_DISK && finalName(h, resolved, sizeof resolved))
            target = resolved;
        CloseHandle(h);
    }
    if (snprintf(s->target, sizeof s->target, "%s", target) >= (int)sizeof s->target) {
        errno = ENAMETOOLONG;
        return 0;
    }
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EISDIR;
        return 0;
    }
    if (exists && type != FILE_TYPE_DISK) {
        // A device (NUL, CON) or a pipe has no content to keep.
        s->f = fopen(s->target, "wb");
        return s->f != NULL;
    }
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        errno = EACCES; // the write bit Windows has: a read-only file stays as it is
        return 0;
    }

    // Created exclusively under a fresh name, as mkstemp would. Like any new
    // file it gets the folder's inherited permissions: there is no umask, and
    // giving it the old file's owner would need privileges.
    char dir[MIRL_PATH_MAX];
    folderOf(s->target, dir, sizeof dir);
    static unsigned serial;
    wchar_t wideTemp[MIRL_PATH_MAX + 16];
    HANDLE t = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_FILE_EXISTS;
    for (int tries = 0; tries < 100 && error == ERROR_FILE_EXISTS; tries++) {
        unsigned v = GetCurrentProcessId() * 2654435761u ^ GetTickCount() ^ serial++ * 40503u;
        char x[7];
        for (int i = 0; i < 6; i++, v /= 36)
            x[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[v % 36];
        x[6] = 0;
        // No second separator after a root: a leading "/\" names a server.
        size_t end = strlen(dir);
        const char *sep = end && (dir[end - 1] == '/' || dir[end - 1] == '\\') ? "" : "\\";
        if (snprintf(s->temp, sizeof s->temp, "%s%s.mirl%s", dir, sep, x) >= (int)sizeof s->temp) {
            s->temp[0] = 0;
            errno = ENAMETOOLONG;
            return 0;
        }
        if (!widen(s->temp, wideTemp, MIRL_PATH_MAX + 16)) {
            s->temp[0] = 0;
            return 0;
        }
        t = CreateFileW(wideTemp, GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        error = t == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    }
    if (t == INVALID_HANDLE_VALUE) {
        s->temp[0] = 0;
        errno = errnoOf(error);
        return 0;
    }
    int fd = _open_osfhandle((intptr_t)t, _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        int saved = errno;
        CloseHandle(t);
        DeleteFileW(wideTemp);
        s->temp[0] = 0;
        errno = saved;
        return 0;
    }
    s->f = _fdopen(fd, "wb");
    if (!s->f) {
        int saved = errno;
        _close(fd);
        DeleteFileW(wideTemp);
        s->temp[0] = 0;
        errno = saved;
        return 0;
    }
    return 1;
}

MIRL_SECTION(".unpacko") static int syncfile(FILE *f)
{
    if (FlushFileBuffers((HANDLE)_get_osfhandle(_fileno(f))))
        return 1;
    errno = errnoOf(GetLastError());
    return 0;
}

// Write-through returns once the rename is on disk, which stands in for
// opening the folder (O_DIRECTORY) and syncing it.
MIRL_SECTION(".unpacko") static int movefile(const char *temp, const char *target)
{
    wchar_t wideTemp[MIRL_PATH_MAX + 16], wideTarget[MIRL_PATH_MAX];
    if (!widen(temp, wideTemp, MIRL_PATH_MAX + 16) || !widen(target, wideTarget, MIRL_PATH_MAX))
        return 0;
    if (MoveFileExW(wideTemp, wideTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    errno = errnoOf(GetLastError());
    return 0;
}

MIRL_SECTION(".unpacko") static void dropfile(const char *temp)
{
    wchar_t wideTemp[MIRL_PATH_MAX + 16];
    if (widen(temp, wideTemp, MIRL_PATH_MAX + 16)) // it was, to create the file
        DeleteFileW(wideTemp);
}
#endif

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
    if (ok && s->temp[0] && !syncfile(s->f)) {
        ok = 0;
        saved = errno;
    }
    if (fclose(s->f) != 0 && ok) {
        ok = 0;
        saved = errno;
    }
    s->f = NULL;
    if (s->temp[0] && ok && !movefile(s->temp, s->target)) {
        ok = 0;
        saved = errno;
    }
    if (s->temp[0] && !ok)
        dropfile(s->temp);
    s->temp[0] = 0;
    errno = saved;
    return ok;
}
