// mirl-tool run as a program: each subcommand's output, and every error
// path with its one-line message and exit code.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

#include "filetools.h"
#include "mirlfile.h"
#include "notices.h"
#include "samplerecs.h"
#include "testmesh.h"

#ifndef MIRL_TOOL
#error "MIRL_TOOL must name the mirl-tool program"
#endif

namespace fs = std::filesystem;

namespace {

struct ToolRun {
    int code;
    std::string out, err;
};

std::string shellWord(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class Tool : public ::testing::Test {
  protected:
    TempDir dir;
    NoticeCapture notes; // keeps the library's notices out of the output
    std::vector<SampleRecord> samples = sampleRecords();

    void SetUp() override
    {
        for (const SampleRecord &s : samples)
            save(s.name, s.record);
        writeFile(dir / "short.mrl", std::vector<uint8_t>(1000, 0x1F));
        for (const SampleRecord &s : guardRecords())
            save(s.name, s.record);
        // What needs no guard: the typical object (cube, none, two picks,
        // extrude, move along normals, two smooths), a select similar after a
        // pick, and the cube smoothed five and six times (the last beyond the
        // linear search).
        const int cube = MIRL_OP_ADDCUBE, smooth = MIRL_OP_SMOOOTH, none = MIRL_OP_SELECT2, pick = MIRL_OPPICK;
        save("typical", makeRecord({{cube}, {none}, {pick, 128, 2}, {MIRL_OP_ADDQUAD}, {MIRL_OP_TRANS2, 132},
                                    {smooth, 128, 2}},
                                   {1, 4}));
        save("similar", makeRecord({{cube}, {none}, {pick}, {MIRL_OP_SELECT7}}, {1}));
        save("smooth5", makeRecord({{cube}, {smooth, 128, 5}}));
        save("smooth6", makeRecord({{cube}, {smooth, 128, 6}}));
    }
    void TearDown() override { resetrecord(); }

    std::string mrl(const std::string &name) const { return dir / (name + ".mrl"); }
    void save(const std::string &name, const mirlObj &r)
    {
        setrec(&r);
        ASSERT_TRUE(saveobj(mrl(name).c_str())) << name;
    }
    void expectNoTemporaryFile()
    {
        for (auto &e : fs::directory_iterator(dir.path))
            EXPECT_NE(e.path().filename().string()[0], '.') << "a temporary file was left behind";
    }

    // Runs mirl-tool; standard output goes to stdoutTo when one is given.
    ToolRun tool(const std::vector<std::string> &args, const std::string &stdoutTo = "")
    {
        // A command prefix in MIRL_TOOL_COMMAND (a Windows build under wine) runs
        // instead of the tool built beside the tests.
        const char *other = std::getenv("MIRL_TOOL_COMMAND");
        // A tool that blocks (on a pipe given as object file) is stopped and fails.
        std::string out = stdoutTo.empty() ? dir / "stdout" : stdoutTo,
                    cmd = "timeout 60 " + (other && *other ? std::string(other) : shellWord(MIRL_TOOL));
        for (const std::string &a : args)
            cmd += " " + shellWord(a);
        int status = std::system((cmd + " >" + shellWord(out) + " 2>" + shellWord(dir / "stderr") + " </dev/null").c_str());
        ToolRun r = {WIFEXITED(status) ? WEXITSTATUS(status) : -1, stdoutTo.empty() ? readText(out) : "",
                     readText(dir / "stderr")};
        fs::remove(dir / "stdout");
        fs::remove(dir / "stderr");
        return r;
    }

    // The player of the named objects, written to a file; option "--all" or
    // "--general" for those. Every player decides each conditional on
    // MIRL_PLAYER and on what it measured: the only macros of the runtime's
    // own that its conditionals may still name are the types' guard and the
    // capacity.
    std::string player(const std::vector<std::string> &objects, const std::string &option = "")
    {
        std::vector<std::string> args = {"player", "-o", dir / "player.c"};
        if (!option.empty())
            args.push_back(option);
        for (const std::string &o : objects)
            args.push_back(o + "=" + mrl(o));
        ToolRun r = tool(args);
        EXPECT_EQ(r.code, 0) << r.err;
        const std::string text = readText(dir / "player.c");
        static const std::regex directive(R"(^\s*#\s*(if|ifdef|ifndef|elif)\b(.*)$)"), name(R"(\bMIRL_\w+)");
        std::istringstream lines(text);
        int conditionals = 0;
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            conditionals += std::regex_match(line, m, directive);
            const std::string condition = m.empty() ? "" : m[2].str();
            for (std::sregex_iterator i(condition.begin(), condition.end(), name), end; i != end; ++i)
                EXPECT_TRUE(i->str() == "MIRL_TYPES" || i->str() == "MIRL_CAPACITY") << line;
        }
        EXPECT_GT(conditionals, 3); // the compiler's own remain
        return text;
    }
};

// Every refusal: one line on standard error, its exit code, nothing on
// standard output, and no file written or changed.
TEST_F(Tool, ErrorsGiveOneLineAndTheirExitCodeAndChangeNoFile)
{
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string words, stdoutTo = "";
    };
    const std::string cube = mrl("cube"), picked = mrl("picked"), empty = mrl("empty");
    fs::create_directory(dir / "folder.obj");
    ASSERT_EQ(mkfifo((dir / "fifo.mrl").c_str(), 0600), 0);
    save("empty", makeRecord({}));
    std::vector<Case> cases = {
        {{}, 2, "no command"},
        {{"bogus"}, 2, "unknown command"},
        {{"info"}, 2, "takes 1 argument"},
        {{"obj", cube}, 2, "takes 2 arguments"},
        {{"info", "--verbose", cube}, 2, "unknown option --verbose"},
        {{"export", cube, "1abc"}, 2, "not a C identifier"},
        {{"export", cube, std::string(64, 'a')}, 2, "not a C identifier"},
        {{"obj", cube, dir / "folder.obj"}, 4, "folder.obj: cannot write"},
        {{"obj", cube, dir / "nowhere/x.obj"}, 4, "x.obj: cannot write"},
        {{"obj", cube, "/dev/full"}, 4, "/dev/full: cannot write"},
        {{"info", cube}, 4, "standard output", "/dev/full"},
        {{"dump", mrl("full")}, 4, "standard output", "/dev/full"},
        {{"obj", cube, "-"}, 4, "standard output", "/dev/full"},
        {{"export", cube, "mrlj0"}, 4, "standard output", "/dev/full"},
        {{"player", "int=" + cube}, 2, "not a free C identifier"},
        {{"player", "replayobj=" + cube}, 2, "not a free C identifier"},
        {{"player", "a=" + cube, "a=" + cube}, 2, "given twice"},
        {{"player", "a="}, 2, "not NAME=FILE.mrl"},
        {{"player"}, 2, "needs NAME=FILE.mrl or --all"},
        {{"player", "--all", "-o", "mirl.h"}, 2, "would be its own header"},
        {{"set", picked, "5", "1"}, 2, "picked.mrl: no step 5 (the record has steps 0-4)"},
        {{"set", picked, "99999", "1"}, 2, "no step 99999"},
        {{"set", picked, "2", "1"}, 2, "step 2 (select9) has no parameter to set"},
        {{"set", picked, "0", "1"}, 2, "step 0 (addcube) has no parameter to set"},
        {{"set", picked, "1", "1"}, 2, "step 1 (select2) has no parameter to set"},
        {{"set", picked, "4", "256"}, 2, "'256' is not a byte (0-255)"},
        {{"set", picked, "4", "1.5"}, 2, "'1.5' is not a byte"},
        {{"set", picked, "4", " 7"}, 2, "' 7' is not a byte"},
        {{"set", picked, "4", ""}, 2, "'' is not a byte"},
        {{"set", picked, "4", "1234567890"}, 2, "is not a byte"},
        {{"set", picked, "4", "-1"}, 2, "unknown option -1"},
        {{"set", picked, "x", "1"}, 2, "'x' is not a step number"},
        {{"set", picked, "4"}, 2, "set takes 3 arguments, not 2"},
        {{"set", empty, "0", "1"}, 2, "empty.mrl: no step 0 (the record is empty)"},
        {{"delete", picked, "0"}, 2, "picked.mrl: step 0 cannot be deleted (the first step stays)"},
        {{"delete", picked, "5"}, 2, "picked.mrl: no step 5 (the record has steps 0-4)"},
        {{"delete", picked, "+1"}, 2, "'+1' is not a step number"},
        {{"delete", picked}, 2, "delete takes 2 arguments, not 1"},
    };
    const std::pair<std::string, std::vector<std::string>> commands[] = {
        {"info", {}}, {"dump", {}},       {"obj", {dir / "out.obj"}}, {"export", {"mrlj0"}},
        {"player", {}}, {"set", {"4", "1"}}, {"delete", {"1"}}};
    for (const auto &[command, rest] : commands) {
        auto args = [&](const std::string &file) {
            std::vector<std::string> a = {command, file};
            if (command == "player") // a good object first: nothing may be written
                a = {command, "-o", dir / "out.c", "a=" + cube, "b=" + file};
            a.insert(a.end(), rest.begin(), rest.end());
            return a;
        };
        cases.push_back({args(mrl("missing")), 1, "missing.mrl: Unable to read from file (No such file"});
        cases.push_back({args(dir.path), 1, "Unable to read from file (Is a directory)"});
        cases.push_back({args(mrl("short")), 3, "short.mrl: Not a complete mirl object"});
        cases.push_back({args(mrl("fifo")), 1, "fifo.mrl: Not a regular file"});
    }
    const std::vector<uint8_t> before = readFile(picked), emptyBefore = readFile(empty);
    for (const Case &c : cases) {
        std::string what = c.words + " (" + (c.args.empty() ? "" : c.args[0]) + ")";
        ToolRun r = tool(c.args, c.stdoutTo);
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_EQ(r.err.rfind("mirl-tool: ", 0), 0u) << what << ": " << r.err;
        EXPECT_NE(r.err.find(c.words), std::string::npos) << what << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << what << ": not one line";
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.obj"));
    EXPECT_FALSE(fs::exists(dir / "out.obj"));
    EXPECT_FALSE(fs::exists(dir / "out.c"));
    EXPECT_TRUE(readFile(picked) == before && readFile(empty) == emptyBefore) << "a refusal changed a file";
    // A write that fails (the file size limit hits root too) keeps the file.
    if (!std::getenv("MIRL_TOOL_COMMAND")) {
        FileSizeLimit limit(1000);
        for (auto args : {std::vector<std::string>{"set", picked, "4", "9"}, {"delete", picked, "3"}}) {
            ToolRun r = tool(args);
            EXPECT_EQ(r.code, 4) << args[0];
            EXPECT_NE(r.err.find("picked.mrl: cannot write"), std::string::npos) << r.err;
        }
    }
    EXPECT_EQ(readFile(picked), before);
    expectNoTemporaryFile();
}

TEST_F(Tool, InfoAndDumpOfKnownRecords)
{
    for (std::string name : {"picked", "oddsteps"}) // oddsteps: unknown opcodes, picks of no face
        for (std::string command : {"info", "dump"}) {
            ToolRun r = tool({command, mrl(name)});
            EXPECT_TRUE(r.code == 0 && r.err.empty()) << command << " " << name;
            EXPECT_EQ(r.out, readText(MIRL_GOLDEN "/" + name + "." + command)) << command << " " << name;
        }
}

TEST_F(Tool, ObjHoldsTheReplayedMesh)
{
    // Corners reversed and 1-based (counter-clockwise seen from outside),
    // selected faces in a group of their own, floats that read back exactly.
    std::string out = dir / "picked.obj";
    writeFile(out, std::string("old content\n"));
    ASSERT_EQ(tool({"obj", mrl("picked"), out}).code, 0);
    EXPECT_EQ(readText(out), readText(MIRL_GOLDEN "/picked.obj"));
    EXPECT_EQ(tool({"obj", mrl("picked"), "-"}).out, readText(out));
    expectNoTemporaryFile();
}

TEST_F(Tool, ExportPrintsWhatTheEditorAppends)
{
    // The editor's export of the special bytes, third in the golden header.
    const std::string header = readText(MIRL_FILES_GOLDEN "/export.txt"), include = "#include \"mirl.h\"\n\n";
    const size_t at = header.find("\nmirlObj mrlj2");
    const std::string object = header.substr(at, header.find("\nmirlObj mrlj3") - at);
    EXPECT_EQ(tool({"export", mrl("oddbytes"), "mrlj2"}).out, object);
    EXPECT_EQ(tool({"export", "--include", mrl("oddbytes"), "mrlj2"}).out, include + object);
    EXPECT_EQ(tool({"export", mrl("cube"), std::string(63, 'a')}).code, 0);
}

using Player = Tool; // the players written for objects, as mirl-tool writes them

// What each guard or general form looks like in a player, and the line that
// says it was assumed away; the objects that need it, and sets of objects
// that use the same operations without needing it.
struct Guard {
    const char *code, *assumed, *needed;
    std::vector<std::string> notNeeded;
};

const Guard Guards[] = {
    {"m->nverts > MIRL_MAXVERTS - 8", "no add cube refused for capacity", "cubepastcapacity", {"typical"}},
    {"4 * sel > MIRL_MAXVERTS - m->nverts", "no extrude refused for capacity", "extrudepastcapacity",
     {"typical", "smooth6"}},
    {"nf > MIRL_MAXQUADS / 4", "no smooth or subdivide refused for capacity", "smoothpastfaces",
     {"typical", "smooth6"}},
    {"nf > MIRL_MAXQUADS / 4", "no smooth or subdivide refused for capacity", "smoothpastverts", {"smooth5"}},
    {"m->nquads <= f", "every pick within the mesh", "pickoutside", {"typical", "similar"}},
    {"LastPickedFace = -1; /* a replay depends", "no select similar before an object's first pick",
     "similarunpicked", {"similar", "similardeleted"}},
    {"m->nquads <= (uint32_t)LastPickedFace", "every select similar has a last picked face within the mesh",
     "similardeleted", {"similar"}},
    {"LastPickedFace = (int32_t)f", "no select similar: the last picked face is not kept", "similar", {"typical"}},
    {"o < MIRL_NUMOPS && OperationTable[o]", "no step with an opcode that has no operation", "skippedstep",
     {"typical"}},
    {"findpoint(m, p)", "their edge points found by a linear search", "smooth6", {"typical", "smooth5"}},
};

TEST_F(Player, KeepsEachGuardAndGeneralFormExactlyWhenAnObjectNeedsIt)
{
    for (const Guard &g : Guards) {
        // Needed by one object of the set: kept, and not assumed away.
        std::vector<std::string> set = g.notNeeded;
        set.push_back(g.needed);
        std::string text = player(set), top = text.substr(0, text.find("*/"));
        EXPECT_NE(text.find(g.code), std::string::npos) << g.code << " left out for " << g.needed;
        EXPECT_EQ(top.find(g.assumed), std::string::npos) << g.assumed << " said for " << g.needed;
        // Needed by none: left out, and the top says what was assumed.
        text = player(g.notNeeded), top = text.substr(0, text.find("*/"));
        EXPECT_EQ(text.find(g.code), std::string::npos) << g.code << " kept for " << g.notNeeded[0];
        EXPECT_NE(top.find(g.assumed), std::string::npos) << g.assumed << " not said for " << g.notNeeded[0];
        EXPECT_NE(top.find("replayobj of any other record is\n   outside its contract"), std::string::npos);
        // The general players keep it, whatever their objects.
        for (const char *option : {"--all", "--general"}) {
            text = player(g.notNeeded, option), top = text.substr(0, text.find("*/"));
            EXPECT_NE(text.find(g.code), std::string::npos) << g.code << " left out of " << option;
            EXPECT_EQ(top.find(g.assumed), std::string::npos) << g.assumed << " said for " << option;
        }
    }
}

TEST_F(Player, ListsEveryAssumptionOnItsOwnLine)
{
    std::string text = player({"typical"});
    std::string top = text.substr(0, text.find("*/"));
    for (const char *line : {"   - no add cube refused for capacity\n", "   - no extrude refused for capacity\n",
                             "   - no smooth or subdivide refused for capacity\n", "   - every pick within the mesh\n",
                             "   - no select similar: the last picked face is not kept\n",
                             "   - no step with an opcode that has no operation\n",
                             "   - at most 56 faces before a smooth or subdivide, 3,332 face pairs per object in "
                             "all (their edge points found by a linear search)\n"})
        EXPECT_NE(top.find(line), std::string::npos) << line;
    // The rotations' note comes with them only.
    EXPECT_EQ(top.find("rotations by record parameters only"), std::string::npos);
    top = player({"similarunpicked"}), top = top.substr(0, top.find("*/"));
    EXPECT_NE(top.find("   - rotations by record parameters only (-8 to 8)"), std::string::npos);
}

// The demos of the intro test compile against the header written beside a
// player; here: its guard, named for the player, and no header beside a
// player written to standard output.
TEST_F(Player, WritesItsHeaderBesideButNotToStandardOutput)
{
    ASSERT_EQ(tool({"player", "-o", dir / "objects.c", "ship=" + mrl("typical")}).code, 0);
    EXPECT_NE(readText(dir / "objects.h").find("#ifndef MIRL_PLAYER_OBJECTS_H"), std::string::npos);
    EXPECT_EQ(tool({"player", "--all"}).code, 0);
    EXPECT_FALSE(fs::exists(dir / "mirl.h"));
}

// The pick's face leaves the pick list, the later pick keeps its own (the
// record module's deletions are checked on every step of many records in the
// runtime's tests).
TEST_F(Tool, DeleteTakesTheStepAndItsPickAndKeepsTheOthers)
{
    ToolRun r = tool({"delete", mrl("picked"), "2"});
    EXPECT_TRUE(r.code == 0 && r.err.empty()) << r.err;
    EXPECT_EQ(r.out, "deleted step 2 select9 (face 3); 4 steps left\n");
    mirlObj got;
    ASSERT_TRUE(readobj(mrl("picked").c_str(), &got));
    const mirlObj want = makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OP_SELECT2}, {MIRL_OPPICK}, {MIRL_OP_TRANS2, 132}}, {5});
    EXPECT_EQ(usedText(got), usedText(want));
}

TEST_F(Tool, SetChangesOnlyItsStepsByte)
{
    const std::string file = mrl("picked");
    ToolRun r = tool({"set", file, "4", "200"});
    ASSERT_TRUE(r.code == 0 && r.err.empty()) << r.err;
    EXPECT_EQ(r.out, "step 4 trans2: 132 -> 200 (+0.2823534 -> +4.5490203)\n");
    mirlObj want = samples[1].record, got;
    ASSERT_EQ(samples[1].name, "picked");
    want.params[4] = 200;
    ASSERT_TRUE(readobj(file.c_str(), &got));
    EXPECT_EQ(std::memcmp(&got, &want, sizeof got), 0); // leftovers included
    for (std::string byte : {"0", "255", "007"}) {
        ASSERT_EQ(tool({"set", file, "4", byte}).code, 0) << byte;
        ASSERT_TRUE(readobj(file.c_str(), &got));
        EXPECT_EQ(got.params[4], std::stoi(byte));
    }
}

} // namespace
