// The tool's subcommands.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "mirlfile.h"
#include "objwriter.h"
#include "opnames.h"
#include "playergen.h"
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

// Writes to outPath through a safe replacement, or to standard output for
// "-"; a failed write leaves any earlier file as it was.
ExitCode writeOutput(const char *outPath, const std::function<bool(std::FILE *)> &write)
{
    if (std::strcmp(outPath, "-") == 0) {
        if (!write(stdout)) {
            printError(std::string("standard output: ") + std::strerror(errno));
            return ExitWriteFailed;
        }
        return finishStdout();
    }
    static mirlRepl out;
    if (!repopen(&out, outPath) || !repdone(&out, write(out.f))) {
        printError(std::string(outPath) + ": cannot write (" + std::strerror(errno) + ")");
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
    return writeOutput(outPath, [](std::FILE *f) { return writeWavefront(f, LoadedMesh); });
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

namespace {

// The file's record as the runtime's, with the step checked against it.
ExitCode readForChange(const char *path, unsigned long step, mirlObj *record)
{
    ExitCode read = readRecordFile(path, record);
    if (read != ExitOk)
        return read;
    if (step >= record->count) {
        printError(std::string(path) + ": no step " + std::to_string(step) +
                   (record->count ? " (the record has steps 0-" + std::to_string(record->count - 1) + ")"
                                  : " (the record is empty)"));
        return ExitUsage;
    }
    setrec(record);
    return ExitOk;
}

std::string stepName(uint8_t op)
{
    const char *name = operationName(op);
    return name ? name : "opcode " + std::to_string(op);
}

} // namespace

ExitCode runSet(const char *path, unsigned long step, uint8_t value)
{
    static mirlObj record;
    ExitCode read = readForChange(path, step, &record);
    if (read != ExitOk)
        return read;
    const uint8_t op = record.ops[step], before = record.params[step];
    if (!setpar((uint32_t)step, value)) {
        printError(std::string(path) + ": step " + std::to_string(step) + " (" + stepName(op) +
                   ") has no parameter to set: only scalings, moves and rotations (opcodes 0-18) have one");
        return ExitUsage;
    }
    ExitCode saved = saveRecordFile(path);
    if (saved != ExitOk)
        return saved;
    std::printf("step %lu %s: %u -> %u (%+.7f -> %+.7f)\n", step, stepName(op).c_str(), (unsigned)before,
                (unsigned)value, (double)decpar(before), (double)decpar(value));
    return finishStdout();
}

ExitCode runDelete(const char *path, unsigned long step)
{
    static mirlObj record;
    ExitCode read = readForChange(path, step, &record);
    if (read != ExitOk)
        return read;
    const uint8_t op = record.ops[step];
    const uint32_t face = op == MIRL_OPPICK ? record.picks[pickidx(&record, (uint32_t)step)] : 0;
    if (!delstep((uint32_t)step)) {
        printError(std::string(path) + ": step 0 cannot be deleted (the first step stays)");
        return ExitUsage;
    }
    ExitCode saved = saveRecordFile(path);
    if (saved != ExitOk)
        return saved;
    std::printf("deleted step %lu %s", step, stepName(op).c_str());
    if (op == MIRL_OPPICK)
        std::printf(" (face %u)", (unsigned)face);
    std::printf("; %d steps left\n", numsteps());
    return finishStdout();
}

ExitCode runPlayer(const std::vector<std::string> &objects, PlayerKind kind, const char *outPath)
{
    // Every input is read before the output is opened: a damaged object
    // leaves no file behind.
    std::vector<PlayerObject> records;
    for (const std::string &arg : objects) {
        size_t eq = arg.find('=');
        PlayerObject o;
        o.name = arg.substr(0, eq);
        ExitCode read = readRecordFile(arg.c_str() + eq + 1, &o.record);
        if (read != ExitOk)
            return read;
        records.push_back(o);
    }
    const std::string header = playerHeaderPath(outPath, kind == PlayerEveryOperation);
    std::string error;
    PlayerFiles files;
    if (!makePlayer(records, kind, header.empty() ? "player.h" : header, &files, &error)) {
        printError("cannot make a player: " + error);
        return ExitWriteFailed;
    }
    auto writer = [](const std::string &text) {
        return [&text](std::FILE *f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); };
    };
    ExitCode written = writeOutput(outPath, writer(files.source));
    if (written != ExitOk || header.empty())
        return written;
    return writeOutput(header.c_str(), writer(files.header));
}

std::string playerHeaderPath(const std::string &outPath, bool everyOperation)
{
    if (outPath == "-")
        return "";
    const size_t slash = outPath.find_last_of("/\\"), dot = outPath.rfind('.');
    const std::string folder = slash == std::string::npos ? "" : outPath.substr(0, slash + 1);
    // Exported objects (Mirljects.h) include "mirl.h": the general player's
    // header takes that name.
    if (everyOperation)
        return folder + "mirl.h";
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash) && outPath.substr(dot) == ".c")
        return outPath.substr(0, dot) + ".h";
    return outPath + ".h";
}
