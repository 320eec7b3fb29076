// mirl-tool: inspect, convert and export mirl object files (.mrl).
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tool.h"

namespace {

const char Usage[] =
    "usage: mirl-tool COMMAND ARGS...\n"
    "\n"
    "Inspect, convert and export mirl object files (.mrl).\n"
    "\n"
    "commands:\n"
    "  info FILE.mrl               steps and picks of the record; vertex, face\n"
    "                              and selected-face counts after replay\n"
    "  dump FILE.mrl               one line per step: index, opcode, operation,\n"
    "                              parameter byte and value, picked face\n"
    "  obj FILE.mrl OUT.obj        replay and write the mesh as Wavefront OBJ\n"
    "                              (selected faces in group \"selected\");\n"
    "                              OUT.obj \"-\" writes to standard output\n"
    "  export [--include] FILE.mrl NAME\n"
    "                              print the mirlObj initialiser NAME, as the\n"
    "                              editor appends it to Mirljects.h; --include\n"
    "                              starts with the header's include line\n"
    "\n"
    "options:\n"
    "  -h, --help                  show this help\n"
    "\n"
    "exit status: 0 success, 1 input missing or unreadable, 2 bad arguments,\n"
    "3 input not a complete mirl object, 4 output could not be written\n";

ExitCode usageError(const std::string &message)
{
    printError(message + " (see mirl-tool --help)");
    return ExitUsage;
}

// The export's object names must be C identifiers; the editor's are at most
// 63 characters, and so are these.
bool isObjectName(const char *s)
{
    size_t n = std::strlen(s);
    if (n == 0 || n > 63 || std::isdigit((unsigned char)s[0]))
        return false;
    for (size_t i = 0; i < n; i++)
        if (!std::isalnum((unsigned char)s[i]) && s[i] != '_')
            return false;
    return true;
}

ExitCode run(std::vector<std::string> args)
{
    for (const std::string &a : args) {
        if (a == "-h" || a == "--help") {
            std::fputs(Usage, stdout);
            return ExitOk;
        }
    }
    if (args.empty())
        return usageError("no command given");
    std::string command = args[0];
    args.erase(args.begin());

    bool withInclude = false;
    if (command == "export" && !args.empty() && args[0] == "--include") {
        withInclude = true;
        args.erase(args.begin());
    }
    for (const std::string &a : args)
        if (a.size() > 1 && a[0] == '-')
            return usageError("unknown option " + a);

    size_t expected;
    if (command == "info" || command == "dump")
        expected = 1;
    else if (command == "obj" || command == "export")
        expected = 2;
    else
        return usageError("unknown command '" + command + "'");
    if (args.size() != expected)
        return usageError(command + " takes " + std::to_string(expected) +
                          (expected == 1 ? " argument" : " arguments") + ", not " + std::to_string(args.size()));

    installNoticeHook();
    const char *file = args[0].c_str();
    if (command == "info")
        return runInfo(file);
    if (command == "dump")
        return runDump(file);
    if (command == "obj")
        return runObj(file, args[1].c_str());
    if (!isObjectName(args[1].c_str()))
        return usageError("'" + args[1] + "' is not a C identifier of at most 63 characters");
    return runExport(file, args[1].c_str(), withInclude);
}

} // namespace

int main(int argc, char **argv)
{
#ifdef _WIN32
    // Text mode would turn every \n into \r\n: the output is meant to be the
    // same bytes everywhere.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
