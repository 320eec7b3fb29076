// mirl-tool: inspect, convert and export mirl object files (.mrl).
#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "playergen.h"
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
    "  set FILE.mrl STEP VALUE     set the parameter byte (0-255) of a scaling,\n"
    "                              move or rotation step (opcodes 0-18)\n"
    "  delete FILE.mrl STEP        delete a step (not step 0, the first); a\n"
    "                              pick's face leaves the pick list with it\n"
    "  export [--include] FILE.mrl NAME\n"
    "                              print the mirlObj initialiser NAME, as the\n"
    "                              editor appends it to Mirljects.h; --include\n"
    "                              starts with the header's include line\n"
    "  player [-o OUT.c] [--general | --all] NAME=FILE.mrl...\n"
    "                              write a single-file C player for intros:\n"
    "                              the objects as mirlObj NAME, replayobj and\n"
    "                              only the operations they use, made for these\n"
    "                              objects (--general: for any record that uses\n"
    "                              only those operations; --all: every\n"
    "                              operation, for any record); with -o also its\n"
    "                              header OUT.h (for --all mirl.h, which\n"
    "                              Mirljects.h includes), without -o to\n"
    "                              standard output\n"
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

// A decimal number of at most nine digits, nothing else (no sign, no blank).
bool isNumber(const std::string &s, unsigned long *value)
{
    if (s.empty() || s.size() > 9)
        return false;
    *value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        *value = *value * 10 + (unsigned long)(c - '0');
    }
    return true;
}

// Object names become C and C++ identifiers; the editor's are at most 63
// characters, and so are these.
bool isObjectName(const std::string &s)
{
    static const std::set<std::string> keywords = {
        "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
        "char", "char16_t", "char32_t", "class", "compl", "const", "constexpr", "const_cast", "continue",
        "decltype", "default", "delete", "do", "double", "dynamic_cast", "else", "enum", "explicit", "export",
        "extern", "false", "float", "for", "friend", "goto", "if", "inline", "int", "long", "mutable",
        "namespace", "new", "noexcept", "not", "not_eq", "nullptr", "operator", "or", "or_eq", "private",
        "protected", "public", "register", "reinterpret_cast", "restrict", "return", "short", "signed", "sizeof",
        "static", "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local",
        "throw", "true", "try", "typedef", "typeid", "typename", "union", "unsigned", "using", "virtual", "void",
        "volatile", "wchar_t", "while", "xor", "xor_eq"};
    if (s.empty() || s.size() > 63 || std::isdigit((unsigned char)s[0]) || keywords.count(s) || s[0] == '_')
        return false;
    for (char c : s)
        if (!std::isalnum((unsigned char)c) && c != '_')
            return false;
    return true;
}

// player's arguments: -o FILE, --all, then NAME=FILE.mrl with distinct names.
ExitCode runPlayerCommand(std::vector<std::string> args)
{
    std::string out = "-";
    bool all = false, general = false;
    std::vector<std::string> objects;
    std::set<std::string> names;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string &a = args[i];
        if (a == "-o" && i + 1 < args.size()) {
            out = args[++i];
        } else if (a == "--all") {
            all = true;
        } else if (a == "--general") {
            general = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError("unknown option " + a);
        } else {
            size_t eq = a.find('=');
            std::string name = a.substr(0, eq);
            if (eq == std::string::npos || eq + 1 == a.size())
                return usageError("'" + a + "' is not NAME=FILE.mrl");
            if (!isObjectName(name) || isPlayerName(name))
                return usageError("'" + name + "' is not a free C identifier of at most 63 characters");
            if (!names.insert(name).second)
                return usageError("the name " + name + " is given twice");
            objects.push_back(a);
        }
    }
    if (objects.empty() && !all)
        return usageError("player needs NAME=FILE.mrl or --all");
    if (out != "-" && playerHeaderPath(out, all) == out)
        return usageError("the player " + out + " would be its own header");
    installNoticeHook();
    return runPlayer(objects, all ? PlayerEveryOperation : general ? PlayerGeneral : PlayerSpecialised, out.c_str());
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

    if (command == "player")
        return runPlayerCommand(args);

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
    else if (command == "obj" || command == "export" || command == "delete")
        expected = 2;
    else if (command == "set")
        expected = 3;
    else
        return usageError("unknown command '" + command + "'");
    if (args.size() != expected)
        return usageError(command + " takes " + std::to_string(expected) +
                          (expected == 1 ? " argument" : " arguments") + ", not " + std::to_string(args.size()));

    installNoticeHook();
    const char *file = args[0].c_str();
    if (command == "set" || command == "delete") {
        // The numbers are checked before the file is touched.
        unsigned long step, value = 0;
        if (!isNumber(args[1], &step))
            return usageError("'" + args[1] + "' is not a step number");
        if (command == "delete")
            return runDelete(file, step);
        if (!isNumber(args[2], &value) || value > 255)
            return usageError("'" + args[2] + "' is not a byte (0-255)");
        return runSet(file, step, (uint8_t)value);
    }
    if (command == "info")
        return runInfo(file);
    if (command == "dump")
        return runDump(file);
    if (command == "obj")
        return runObj(file, args[1].c_str());
    if (!isObjectName(args[1]))
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
