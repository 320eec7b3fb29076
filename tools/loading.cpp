// Loading object files for the tool, with the runtime's file notices turned
// into one-line errors and exit codes.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

#include "mirlfile.h"
#include "tool.h"

namespace {

std::string FatalTitle; // the last "FATAL ERROR" notice of the current load
int FatalErrno = 0;
std::set<std::string> WarningsShown;

void toolNotice(const char *title, const char *text)
{
    if (std::strcmp(text, "FATAL ERROR") == 0) {
        FatalTitle = title;
        FatalErrno = errno;
        return;
    }
    // Replay warnings (a step beyond the mesh capacity) repeat for every
    // step that hits them: once is enough.
    if (WarningsShown.insert(title).second)
        printError(std::string("warning: ") + title);
}

} // namespace

void printError(const std::string &message)
{
    std::fprintf(stderr, "mirl-tool: %s\n", message.c_str());
}

void installNoticeHook()
{
    setnote(toolNotice);
}

namespace {

// The exit code of a load or read that returned ok, with the one-line
// message when it failed.
ExitCode loadResult(const char *path, int ok)
{
    if (ok)
        return ExitOk;
    std::string message = std::string(path) + ": " + FatalTitle;
    bool incomplete = FatalTitle == "Not a complete mirl object";
    if (incomplete)
        message += " (fewer than " + std::to_string(MIRL_IMAGE_SIZE) + " record bytes)";
    else if (FatalErrno != 0)
        message += std::string(" (") + std::strerror(FatalErrno) + ")";
    printError(message);
    return incomplete ? ExitIncomplete : ExitUnreadable;
}

} // namespace

ExitCode loadRecordFile(const char *path, Mesh *mesh)
{
    FatalTitle.clear();
    FatalErrno = 0;
    return loadResult(path, loadobj(path, mesh));
}

ExitCode readRecordFile(const char *path, mirlObj *record)
{
    FatalTitle.clear();
    FatalErrno = 0;
    return loadResult(path, readobj(path, record));
}

ExitCode saveRecordFile(const char *path)
{
    FatalTitle.clear();
    FatalErrno = 0;
    if (saveobj(path))
        return ExitOk;
    printError(std::string(path) + ": cannot write (" + (FatalErrno ? std::strerror(FatalErrno) : FatalTitle.c_str()) +
               ")");
    return ExitWriteFailed;
}
