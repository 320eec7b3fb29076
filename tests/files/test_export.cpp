// The C header export: the text line for line, the include line once per
// run, and failures that leave the file as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "filetools.h"
#include "mirlfile.h"
#include "notices.h"
#include "randrec.h"
#include "samplerecs.h"
#include "testmesh.h"

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// The lines of one exported object, as the layout table gives them: an
// empty line, the name line, the count, 6 lines of 40 opcodes and one of 16,
// the same for the parameter bytes, 12 lines of 20 picks and one of 16 (no
// comma after the last), and "};". Entries past the counts are 0.
std::vector<std::string> objectLines(const std::string &name, const mirlObj &r, uint32_t picks)
{
    std::vector<std::string> lines = {"", "mirlObj " + name + " = {", std::to_string(r.count) + ","};
    for (const uint8_t *bytes : {r.ops, r.params}) {
        for (int start = 0; start < 256; start += 40) {
            std::string line;
            for (int i = start; i < std::min(start + 40, 256); i++)
                line += std::to_string(i < r.count ? bytes[i] : 0) + ",";
            lines.push_back(line);
        }
    }
    for (int start = 0; start < 256; start += 20) {
        std::string line;
        for (int i = start; i < std::min(start + 20, 256); i++) {
            line += std::to_string((uint32_t)i < picks ? r.picks[i] : 0u);
            if (i < 255)
                line += ",";
        }
        lines.push_back(line);
    }
    lines.push_back("};");
    return lines;
}

std::string objectText(const std::string &name, const mirlObj &r, uint32_t picks)
{
    std::string text;
    for (const std::string &line : objectLines(name, r, picks))
        text += line + "\n";
    return text;
}

const char IncludeLine[] = "#include \"mirl.h\"\n\n";

// A record of `steps` steps of which `picks` are picks, every other entry
// (past the counts too) filled with nonzero bytes the export must not show.
mirlObj recordWith(int steps, int picks, uint64_t seed)
{
    Rng rng(seed);
    mirlObj r;
    std::vector<uint8_t> junk(sizeof r);
    for (uint8_t &b : junk)
        b = static_cast<uint8_t>(1 + rng.below(255));
    std::memcpy(&r, junk.data(), sizeof r);
    r.count = static_cast<uint8_t>(steps);
    for (int i = 0; i < steps; i++) {
        bool pick = i >= steps - picks;
        r.ops[i] = pick ? MIRL_OPPICK : static_cast<uint8_t>(rng.below(32));
    }
    for (int i = 0; i < picks; i++)
        r.picks[i] = i % 3 == 0 ? 0xFFFFFFFFu - i : rng.below(100000);
    return r;
}

class Export : public ::testing::Test {
  protected:
    TempDir dir;
    NoticeCapture notes;
    std::string oldCwd;
    int32_t oldPending = 0;

    void SetUp() override
    {
        oldCwd = std::filesystem::current_path().string();
        std::filesystem::current_path(dir.path());
        oldPending = HeaderPending;
        HeaderPending = 1; // a fresh run
    }
    void TearDown() override
    {
        HeaderPending = oldPending;
        std::filesystem::current_path(oldCwd);
        resetrecord();
    }
    std::string header() const { return readText(dir / "Mirljects.h"); }
    void expectOnlyNotice()
    {
        ASSERT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(notes.all()[0].title, "Unable to open Mirljects.h file - not saving");
        EXPECT_EQ(notes.all()[0].text, "FATAL ERROR");
        notes.clear();
    }
};

TEST_F(Export, ObjectTextLineByLine)
{
    struct Case {
        int steps, picks;
    } cases[] = {{1, 0}, {41, 3}, {255, 0}, {255, 255}, {3, 3}, {0, 0}};
    for (const Case &c : cases) {
        mirlObj r = recordWith(c.steps, c.picks, c.steps * 1000 + c.picks);
        useRecord(r);
        ASSERT_EQ(PickCount, (uint32_t)c.picks);
        HeaderPending = 1;
        ASSERT_TRUE(exportobj("mrlj0"));
        std::vector<std::string> got = linesOf(header());
        std::vector<std::string> want = linesOf(IncludeLine + objectText("mrlj0", r, c.picks));
        ASSERT_EQ(got.size(), want.size()) << c.steps << " steps";
        ASSERT_EQ(got.size(), 2u + 1 + 2 + 7 + 7 + 13 + 1);
        for (size_t i = 0; i < got.size(); i++)
            EXPECT_EQ(got[i], want[i]) << c.steps << " steps, " << c.picks << " picks, line " << i + 1;
        EXPECT_EQ(header().back(), '\n');
    }
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Export, LineBreaksFallWhereTheLayoutSays)
{
    // The 41st opcode starts the second opcode line; three picks start the
    // first pick line; the last pick line ends in "0" without a comma.
    mirlObj r = recordWith(41, 3, 5);
    r.ops[40] = 29;
    r.picks[0] = 7;
    r.picks[1] = 4294967295u;
    r.picks[2] = 0;
    useRecord(r);
    ASSERT_TRUE(exportobj("mrlj0"));
    std::vector<std::string> lines = linesOf(header());
    // include, empty, empty, name, count, 7 opcode lines, 7 parameter lines
    EXPECT_EQ(lines[3], "mirlObj mrlj0 = {");
    EXPECT_EQ(lines[4], "41,");
    EXPECT_EQ(lines[6].rfind("29,0,0,", 0), 0u) << lines[6];
    EXPECT_EQ(lines[19].rfind("7,4294967295,0,0,", 0), 0u) << lines[19];
    EXPECT_EQ(lines[31], "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(lines[32], "};");
    EXPECT_EQ(lines.size(), 33u);
}

TEST_F(Export, TwoExportsInOneRunShareOneIncludeLine)
{
    useRecord(startingRecord());
    ASSERT_TRUE(exportobj("mrlj0"));
    EXPECT_EQ(HeaderPending, 0);
    ASSERT_TRUE(exportobj("mrlj1"));
    EXPECT_EQ(header(), IncludeLine + objectText("mrlj0", startingRecord(), 0) +
                            objectText("mrlj1", startingRecord(), 0));
    std::vector<std::string> lines = linesOf(header());
    EXPECT_EQ(lines[5].rfind("31,0,0,", 0), 0u);
    EXPECT_EQ(lines[12].rfind("128,0,0,", 0), 0u);
}

TEST_F(Export, FirstExportOfARunStartsTheFileAfresh)
{
    writeFile(dir / "Mirljects.h", "objects of an earlier run\n");
    useRecord(startingRecord());
    ASSERT_TRUE(exportobj("mrlj0"));
    EXPECT_EQ(header(), IncludeLine + objectText("mrlj0", startingRecord(), 0));
}

TEST_F(Export, DeletedHeaderIsRecreatedWithoutTheIncludeLine)
{
    useRecord(startingRecord());
    ASSERT_TRUE(exportobj("mrlj0"));
    ASSERT_EQ(unlink("Mirljects.h"), 0);
    mirlObj r = recordWith(5, 2, 9);
    useRecord(r);
    ASSERT_TRUE(exportobj("mrlj1"));
    EXPECT_EQ(header(), objectText("mrlj1", r, 2));
}

TEST_F(Export, LeavesRecordAndCountersAlone)
{
    mirlObj r = recordWith(12, 4, 3);
    useRecord(r);
    LastPickedFace = 3;
    ASSERT_TRUE(exportobj("mrlj0"));
    EXPECT_EQ(std::memcmp(&CommandRecord, &r, sizeof r), 0);
    EXPECT_EQ(PickCount, 4u);
    EXPECT_EQ(LastPickedFace, 3);
}

TEST_F(Export, FailedCreationKeepsTheIncludeLinePendingForTheNextExport)
{
    std::filesystem::create_directory(dir / "Mirljects.h");
    useRecord(startingRecord());
    EXPECT_FALSE(exportobj("mrlj0"));
    expectOnlyNotice();
    EXPECT_EQ(HeaderPending, 1);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Mirljects.h"));
    std::filesystem::remove(dir / "Mirljects.h");
    ASSERT_TRUE(exportobj("mrlj1"));
    EXPECT_EQ(header(), IncludeLine + objectText("mrlj1", startingRecord(), 0));
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Export, FailedWritesAreReportedAndLeaveTheFileAsItWas)
{
    useRecord(startingRecord());
    // A full disk while the header is started: the earlier file survives.
    std::string earlier = "objects of an earlier run\n";
    writeFile(dir / "Mirljects.h", earlier);
    {
        FileSizeLimit limit(5);
        EXPECT_FALSE(exportobj("mrlj0"));
    }
    expectOnlyNotice();
    EXPECT_EQ(HeaderPending, 1);
    EXPECT_EQ(header(), earlier);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"Mirljects.h"});

    // A full disk half-way through an object: the partial object is cut off.
    ASSERT_TRUE(exportobj("mrlj0"));
    std::string one = header();
    {
        FileSizeLimit limit(one.size() + 100);
        EXPECT_FALSE(exportobj("mrlj1"));
    }
    expectOnlyNotice();
    EXPECT_EQ(header(), one);

    // A device that refuses every write.
    ASSERT_EQ(unlink("Mirljects.h"), 0);
    ASSERT_EQ(symlink("/dev/full", "Mirljects.h"), 0);
    EXPECT_FALSE(exportobj("mrlj2"));
    expectOnlyNotice();
    HeaderPending = 1;
    EXPECT_FALSE(exportobj("mrlj3"));
    expectOnlyNotice();
    EXPECT_EQ(HeaderPending, 1);
}

} // namespace
