// The tool's subcommands.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "mirlfile.h"
#include "objwriter.h"
#include "opnames.h"
#include "tool.h"

namespace {

Mesh LoadedMesh; // 14 MB of static storage, like the editor's meshes

// Flushes standard output; a failed write (a full disk, a closed pipe) is an
// error rather than a silent success.
ExitCode finishStdout()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        printError(std::string("standard output: ") + std::strerror(errno));
        return ExitWriteFailed;
    }
    return ExitOk;
}

unsigned skippedSteps(const mirlObj &r)
{
    unsigned n = 0;
    for (unsigned i = 0; i < r.count; i++)
        n += operationName(r.ops[i]) == nullptr;
    return n;
}

} // namespace

ExitCode runInfo(const char *path)
{
    ExitCode loaded = loadRecordFile(path, &LoadedMesh);
    if (loaded != ExitOk)
        return loaded;
    std::printf("steps: %d\n", (int)numsteps());
    std::printf("picks: %d\n", (int)numpicks());
    std::printf("skipped steps: %u\n", skippedSteps(CommandRecord));
    std::printf("vertices: %u\n", (unsigned)LoadedMesh.nverts);
    std::printf("faces: %u\n", (unsigned)LoadedMesh.nquads);
    std::printf("selected faces: %d\n", (int)countsel(&LoadedMesh));
    return finishStdout();
}

ExitCode runDump(const char *path)
{
    ExitCode loaded = loadRecordFile(path, &LoadedMesh);
    if (loaded != ExitOk)
        return loaded;
    const mirlObj &r = CommandRecord;
    std::printf("# steps: %d, picks: %d\n", (int)numsteps(), (int)numpicks());
    std::printf("# step opcode name     byte value       what\n");
    unsigned pick = 0;
    for (unsigned i = 0; i < r.count; i++) {
        uint8_t op = r.ops[i];
        const char *name = operationName(op);
        std::printf("%6u %6u %-8s %4u %+.7f  ", i, (unsigned)op, name ? name : "-", (unsigned)r.params[i],
                    (double)decpar(r.params[i]));
        if (op == MIRL_OPPICK)
            std::printf("pick face %u\n", (unsigned)r.picks[pick++]);
        else if (name)
            std::printf("%s\n", operationSummary(op));
        else
            std::printf("unknown opcode, skipped\n");
    }
    return finishStdout();
}

ExitCode runObj(const char *path, const char *outPath)
{
    ExitCode loaded = loadRecordFile(path, &LoadedMesh);
    if (loaded != ExitOk)
        return loaded;
    if (unsigned bad = countNonFinite(LoadedMesh))
        printError("warning: " + std::to_string(bad) + " vertex coordinates are not finite numbers");
    if (std::strcmp(outPath, "-") == 0) {
        if (!writeWavefront(stdout, LoadedMesh)) {
            printError(std::string("standard output: ") + std::strerror(errno));
            return ExitWriteFailed;
        }
        return finishStdout();
    }
    static mirlRepl out;
    if (!repopen(&out, outPath)) {
        printError(std::string(outPath) + ": cannot write (" + std::strerror(errno) + ")");
        return ExitWriteFailed;
    }
    bool written = writeWavefront(out.f, LoadedMesh);
    if (!repdone(&out, written)) {
        printError(std::string(outPath) + ": cannot write (" + std::strerror(errno) + ")");
        return ExitWriteFailed;
    }
    return ExitOk;
}

ExitCode runExport(const char *path, const char *objectName, bool withInclude)
{
    ExitCode loaded = loadRecordFile(path, &LoadedMesh);
    if (loaded != ExitOk)
        return loaded;
    // The same text as the editor's export: the include line it writes at the
    // start of a header, then the object.
    if (withInclude)
        std::fputs("#include \"mirl.h\"\n\n", stdout);
    if (!exportfp(stdout, objectName)) {
        printError(std::string("standard output: ") + std::strerror(errno));
        return ExitWriteFailed;
    }
    return finishStdout();
}
