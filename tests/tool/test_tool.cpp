// mirl-tool run as a program: each subcommand's output checked against the
// library, and every error path with its one-line message and exit code.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <sys/wait.h>

#include "filetools.h"
#include "mirlfile.h"
#include "notices.h"
#include "samplerecs.h"
#include "testmesh.h"

#ifndef MIRL_TOOL
#error "MIRL_TOOL must name the mirl-tool program"
#endif

namespace {

struct ToolRun {
    int code = -1;
    std::string out, err;
};

std::string shellQuoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

std::string format(const char *fmt, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

class Tool : public ::testing::Test {
  protected:
    TempDir dir;
    NoticeCapture notes; // keeps the library's notices out of the output
    std::unique_ptr<Mesh> mesh = newMesh();
    std::vector<SampleRecord> samples = sampleRecords();

    void SetUp() override
    {
        for (const SampleRecord &s : samples) {
            useRecord(s.record);
            ASSERT_TRUE(saveobj(path(s.name + ".mrl").c_str()));
        }
        writeFile(path("short.mrl"), std::vector<uint8_t>(1000, 0x1F));
    }
    void TearDown() override { resetrecord(); }

    std::string path(const std::string &name) const { return dir / name; }

    // Runs mirl-tool with args; stdout goes to `out` unless it names a file.
    ToolRun tool(const std::vector<std::string> &args, const std::string &stdoutTo = "")
    {
        std::string cmd = shellQuoted(MIRL_TOOL);
        for (const std::string &a : args)
            cmd += " " + shellQuoted(a);
        std::string out = stdoutTo.empty() ? path("stdout.txt") : stdoutTo;
        cmd += " >" + shellQuoted(out) + " 2>" + shellQuoted(path("stderr.txt")) + " </dev/null";
        ToolRun r;
        int status = std::system(cmd.c_str());
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (stdoutTo.empty())
            r.out = readText(out);
        r.err = readText(path("stderr.txt"));
        std::remove(path("stdout.txt").c_str());
        std::remove(path("stderr.txt").c_str());
        return r;
    }

    // The tool failed with `code`, printed nothing on stdout and exactly one
    // error line on stderr containing `words`.
    void expectError(const ToolRun &r, int code, const std::string &words, const std::string &what)
    {
        EXPECT_EQ(r.code, code) << what;
        EXPECT_EQ(r.out, "") << what;
        std::vector<std::string> lines = linesOf(r.err);
        ASSERT_EQ(lines.size(), 1u) << what << ": " << r.err;
        EXPECT_EQ(lines[0].rfind("mirl-tool: ", 0), 0u) << what << ": " << lines[0];
        EXPECT_NE(lines[0].find(words), std::string::npos) << what << ": " << lines[0];
        EXPECT_EQ(r.err.back(), '\n') << what;
    }

    // Loads a sample with the library, as the tool does.
    const mirlObj &load(const std::string &name)
    {
        EXPECT_TRUE(loadobj(path(name + ".mrl").c_str(), mesh.get()));
        return CommandRecord;
    }
};

TEST_F(Tool, HelpListsTheCommandsAndExitCodes)
{
    for (auto args : {std::vector<std::string>{"--help"}, {"-h"}, {"info", "--help"}}) {
        ToolRun r = tool(args);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("usage: mirl-tool", 0), 0u);
        for (const char *word : {"info FILE.mrl", "dump FILE.mrl", "obj FILE.mrl OUT.obj", "export", "exit status"})
            EXPECT_NE(r.out.find(word), std::string::npos) << word;
    }
}

TEST_F(Tool, BadArgumentsExitWithTwo)
{
    std::string cube = path("cube.mrl");
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no command"},
        {{"bogus"}, "unknown command"},
        {{"info"}, "takes 1 argument"},
        {{"info", cube, cube}, "takes 1 argument"},
        {{"dump"}, "takes 1 argument"},
        {{"obj", cube}, "takes 2 arguments"},
        {{"export", cube}, "takes 2 arguments"},
        {{"info", "--verbose", cube}, "unknown option --verbose"},
        {{"export", cube, "1abc"}, "not a C identifier"},
        {{"export", cube, "my-object"}, "not a C identifier"},
        {{"export", cube, std::string(64, 'a')}, "not a C identifier"},
    };
    for (auto &c : cases)
        expectError(tool(c.first), 2, c.second, c.second);
    EXPECT_EQ(tool({"export", cube, std::string(63, 'a')}).code, 0);
}

TEST_F(Tool, MissingUnreadableAndIncompleteFiles)
{
    for (std::string command : {"info", "dump", "obj", "export"}) {
        auto args = [&](const std::string &file) {
            std::vector<std::string> a = {command, file};
            if (command == "obj")
                a.push_back(path("out.obj"));
            if (command == "export")
                a.push_back("mrlj0");
            return a;
        };
        expectError(tool(args(path("missing.mrl"))), 1, "missing.mrl: Unable to read from file (No such file",
                    command);
        expectError(tool(args(dir.path())), 1, "Unable to read from file (Is a directory)", command);
        expectError(tool(args(path("short.mrl"))), 3, "short.mrl: Not a complete mirl object", command);
        EXPECT_FALSE(exists(path("out.obj"))) << command;
    }
}

TEST_F(Tool, InfoGivesCountsBeforeAndAfterReplay)
{
    for (const SampleRecord &s : samples) {
        ToolRun r = tool({"info", path(s.name + ".mrl")});
        ASSERT_EQ(r.code, 0) << s.name << r.err;
        const mirlObj &rec = load(s.name);
        int skipped = 0;
        for (int i = 0; i < rec.count; i++)
            skipped += rec.ops[i] >= 32 && rec.ops[i] != MIRL_OPPICK;
        std::string want = "steps: " + std::to_string(numsteps()) + "\npicks: " + std::to_string(numpicks()) +
                           "\nskipped steps: " + std::to_string(skipped) +
                           "\nvertices: " + std::to_string(mesh->nverts) + "\nfaces: " + std::to_string(mesh->nquads) +
                           "\nselected faces: " + std::to_string(countsel(mesh.get())) + "\n";
        EXPECT_EQ(r.out, want) << s.name;
        EXPECT_EQ(r.err, "") << s.name;
    }
    // A known case: the cube, select none, picks of faces 3 and 5.
    ToolRun r = tool({"info", path("picked.mrl")});
    EXPECT_NE(r.out.find("steps: 5\npicks: 2\nskipped steps: 0\nvertices: 8\nfaces: 6\nselected faces: 2\n"),
              std::string::npos)
        << r.out;
}

TEST_F(Tool, DumpShowsEveryStep)
{
    ToolRun r = tool({"dump", path("oddsteps.mrl")});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> lines = linesOf(r.out);
    const mirlObj &rec = load("oddsteps");
    ASSERT_EQ(lines.size(), rec.count + 2u);
    EXPECT_EQ(lines[0], "# steps: 11, picks: 4");
    const std::map<int, std::string> names = {{31, "addcube"}, {21, "select3"}, {50, "select9"}};
    int pick = 0;
    for (int i = 0; i < rec.count; i++) {
        std::istringstream in(lines[i + 2]);
        int index, op, byte;
        std::string name, value;
        in >> index >> op >> name >> byte >> value;
        std::string rest;
        std::getline(in, rest);
        EXPECT_EQ(index, i);
        EXPECT_EQ(op, rec.ops[i]) << lines[i + 2];
        EXPECT_EQ(byte, rec.params[i]) << lines[i + 2];
        EXPECT_EQ(value, format("%+.7f", decpar(rec.params[i]))) << lines[i + 2];
        if (op == MIRL_OPPICK) {
            EXPECT_EQ(rest, "  pick face " + std::to_string(rec.picks[pick++])) << lines[i + 2];
        } else if (op >= 32) {
            EXPECT_EQ(name, "-");
            EXPECT_EQ(rest, "  unknown opcode, skipped") << lines[i + 2];
        }
        if (names.count(op)) {
            EXPECT_EQ(name, names.at(op)) << lines[i + 2];
        }
    }
    // Parameter bytes decode as the runtime reads them back.
    ToolRun picked = tool({"dump", path("picked.mrl")});
    std::vector<std::string> p = linesOf(picked.out);
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[6], "     4     15 trans2    132 +0.2823534  move selected faces along their normals");
    EXPECT_EQ(p[2], "     0     31 addcube   128 +0.0313730  add the cube");
    EXPECT_EQ(p[4], "     2     50 select9   128 +0.0313730  pick face 3");
}

// The parts of an OBJ file the tool writes.
struct ObjFile {
    std::vector<std::string> comments;
    std::vector<std::array<float, 3>> verts;
    std::map<std::string, std::vector<std::array<uint32_t, 4>>> groups;
};

ObjFile parseObj(const std::string &text)
{
    ObjFile obj;
    std::string group;
    for (const std::string &line : linesOf(text)) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        if (kind == "#") {
            obj.comments.push_back(line);
        } else if (kind == "v") {
            std::string x, y, z;
            in >> x >> y >> z;
            obj.verts.push_back({std::strtof(x.c_str(), nullptr), std::strtof(y.c_str(), nullptr),
                                 std::strtof(z.c_str(), nullptr)});
        } else if (kind == "g") {
            in >> group;
        } else if (kind == "f") {
            std::array<uint32_t, 4> f;
            in >> f[0] >> f[1] >> f[2] >> f[3];
            obj.groups[group].push_back(f);
        } else {
            ADD_FAILURE() << "unexpected line " << line;
        }
    }
    return obj;
}

bool sameFloat(float a, float b)
{
    return bitsOf(a) == bitsOf(b) || (std::isnan(a) && std::isnan(b));
}

TEST_F(Tool, ObjHoldsTheReplayedMeshExactly)
{
    for (const SampleRecord &s : samples) {
        std::string out = path(s.name + ".obj");
        ToolRun r = tool({"obj", path(s.name + ".mrl"), out});
        ASSERT_EQ(r.code, 0) << s.name << r.err;
        load(s.name);
        ObjFile obj = parseObj(readText(out));
        ASSERT_EQ(obj.verts.size(), mesh->nverts) << s.name;
        for (uint32_t i = 0; i < mesh->nverts; i++) {
            const Vec3 &v = mesh->verts[i];
            ASSERT_TRUE(sameFloat(obj.verts[i][0], v.x) && sameFloat(obj.verts[i][1], v.y) &&
                        sameFloat(obj.verts[i][2], v.z))
                << s.name << " vertex " << i;
        }
        // Faces in index order within each group, corners reversed and 1-based.
        std::map<std::string, std::vector<std::array<uint32_t, 4>>> want;
        for (uint32_t i = 0; i < mesh->nquads; i++) {
            const uint32_t *q = mesh->quads[i].v;
            want[mesh->selected[i] ? "selected" : "unselected"].push_back({q[0] + 1, q[3] + 1, q[2] + 1, q[1] + 1});
        }
        EXPECT_EQ(obj.groups, want) << s.name;
        // Standard output gets the same bytes.
        ToolRun piped = tool({"obj", path(s.name + ".mrl"), "-"});
        EXPECT_EQ(piped.out, readText(out)) << s.name;
    }
}

TEST_F(Tool, ObjFacesRunCounterClockwiseSeenFromOutside)
{
    ToolRun r = tool({"obj", path("cube.mrl"), path("cube.obj")});
    ASSERT_EQ(r.code, 0);
    ObjFile obj = parseObj(readText(path("cube.obj")));
    ASSERT_EQ(obj.comments.size(), 1u);
    EXPECT_EQ(obj.comments[0], "# mirl object: 8 vertices, 6 faces, 6 selected");
    ASSERT_EQ(obj.groups["selected"].size(), 6u);
    EXPECT_EQ(obj.groups.count("unselected"), 0u);
    for (const auto &f : obj.groups["selected"]) {
        // Newell's normal of the corners in file order, against the centre.
        double n[3] = {0, 0, 0}, c[3] = {0, 0, 0};
        for (int k = 0; k < 4; k++) {
            const auto &a = obj.verts[f[k] - 1], &b = obj.verts[f[(k + 1) % 4] - 1];
            n[0] += (a[1] - b[1]) * (a[2] + b[2]);
            n[1] += (a[2] - b[2]) * (a[0] + b[0]);
            n[2] += (a[0] - b[0]) * (a[1] + b[1]);
            for (int j = 0; j < 3; j++)
                c[j] += a[j] / 4;
        }
        EXPECT_GT(n[0] * c[0] + n[1] * c[1] + n[2] * c[2], 0.0) << "a face points into the cube";
    }
}

TEST_F(Tool, ObjOutputIsReplacedSafely)
{
    std::string out = path("model.obj");
    writeFile(out, "old content\n");
    ASSERT_EQ(tool({"obj", path("picked.mrl"), out}).code, 0);
    EXPECT_EQ(readText(out).rfind("# mirl object: 8 vertices, 6 faces, 2 selected\n", 0), 0u);
    std::vector<std::string> names = dir.list();
    EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string &n) { return n[0] == '.'; }), 0)
        << "a temporary file was left behind";

    std::filesystem::create_directory(path("folder.obj"));
    expectError(tool({"obj", path("cube.mrl"), path("folder.obj")}), 4, "folder.obj: cannot write", "folder");
    EXPECT_TRUE(std::filesystem::is_directory(path("folder.obj")));
    expectError(tool({"obj", path("cube.mrl"), path("nowhere/x.obj")}), 4, "cannot write", "missing folder");
    expectError(tool({"obj", path("cube.mrl"), "/dev/full"}), 4, "/dev/full: cannot write", "full device");
}

TEST_F(Tool, FullOutputIsAnError)
{
    expectError(tool({"info", path("cube.mrl")}, "/dev/full"), 4, "standard output", "info");
    expectError(tool({"dump", path("full.mrl")}, "/dev/full"), 4, "standard output", "dump");
    expectError(tool({"obj", path("cube.mrl"), "-"}, "/dev/full"), 4, "standard output", "obj");
    expectError(tool({"export", path("cube.mrl"), "mrlj0"}, "/dev/full"), 4, "standard output", "export");
}

TEST_F(Tool, ExportPrintsWhatTheEditorAppends)
{
    // Restores the folder and HeaderPending however the test ends.
    struct Restore {
        std::filesystem::path cwd = std::filesystem::current_path();
        int32_t pending = HeaderPending;
        ~Restore()
        {
            HeaderPending = pending;
            std::filesystem::current_path(cwd);
        }
    } restore;
    std::filesystem::create_directory(path("export"));
    std::filesystem::current_path(path("export"));
    for (const SampleRecord &s : samples) {
        load(s.name);
        HeaderPending = 1;
        ASSERT_TRUE(exportobj("mrlj0"));
        std::string header = readText("Mirljects.h");
        ToolRun withInclude = tool({"export", "--include", path(s.name + ".mrl"), "mrlj0"});
        EXPECT_EQ(withInclude.code, 0);
        EXPECT_EQ(withInclude.out, header) << s.name;
        ToolRun plain = tool({"export", path(s.name + ".mrl"), "mrlj0"});
        EXPECT_EQ("#include \"mirl.h\"\n\n" + plain.out, header) << s.name;
    }
}

} // namespace
