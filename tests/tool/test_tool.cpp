// mirl-tool run as a program: each subcommand's output, and every error
// path with its one-line message and exit code.
#include <gtest/gtest.h>

#include <array>
#include <map>
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
    int code = -1;
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
        for (const SampleRecord &s : samples) {
            useRecord(s.record);
            ASSERT_TRUE(saveobj(mrl(s.name).c_str()));
        }
        writeFile(dir / "short.mrl", std::vector<uint8_t>(1000, 0x1F));
    }
    void TearDown() override { resetrecord(); }

    std::string mrl(const std::string &name) const { return dir / (name + ".mrl"); }

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
        ToolRun r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = stdoutTo.empty() ? readText(out) : "";
        r.err = readText(dir / "stderr");
        fs::remove(dir / "stdout");
        fs::remove(dir / "stderr");
        return r;
    }
};

TEST_F(Tool, ErrorsGiveOneLineAndTheirExitCode)
{
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string words, stdoutTo = "";
    };
    std::string cube = mrl("cube");
    fs::create_directory(dir / "folder.obj");
    ASSERT_EQ(mkfifo((dir / "fifo.mrl").c_str(), 0600), 0);
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
    };
    for (std::string command : {"info", "dump", "obj", "export", "player"}) {
        auto args = [&](const std::string &file) {
            if (command == "player") // a good object first: nothing may be written
                return std::vector<std::string>{command, "-o", dir / "out.c", "a=" + cube, "b=" + file};
            std::vector<std::string> a = {command, file};
            if (command == "obj" || command == "export")
                a.push_back(command == "obj" ? std::string(dir / "out.obj") : "mrlj0");
            return a;
        };
        cases.push_back({args(mrl("missing")), 1, "missing.mrl: Unable to read from file (No such file"});
        cases.push_back({args(dir.path), 1, "Unable to read from file (Is a directory)"});
        cases.push_back({args(mrl("short")), 3, "short.mrl: Not a complete mirl object"});
        cases.push_back({args(mrl("fifo")), 1, "fifo.mrl: Not a regular file"});
    }
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
    for (auto &e : fs::directory_iterator(dir.path))
        EXPECT_NE(e.path().filename().string()[0], '.') << "a temporary file was left behind";
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

} // namespace
