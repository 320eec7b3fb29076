// Object files and the C header export: the exact bytes on disk, loads that
// refuse a damaged file and change nothing, and saves and exports that never
// lose the old file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "filetools.h"
#include "mirlfile.h"
#include "notices.h"
#include "randrec.h"
#include "samplerecs.h"
#include "testmesh.h"

namespace fs = std::filesystem;

// The library's fsync, made to fail on demand (linked with --wrap=fsync).
static int FailSync;
extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd)
{
    if (!FailSync)
        return __real_fsync(fd);
    errno = EIO;
    return -1;
}

namespace {

bool sameRecord(const mirlObj &a, const mirlObj &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Each test runs in a folder of its own, as the first export of a run.
class Files : public ::testing::Test {
  protected:
    TempDir dir;
    NoticeCapture notes;
    std::unique_ptr<Mesh> mesh = newMesh(), expected = newMesh();
    fs::path oldCwd = fs::current_path();

    void SetUp() override
    {
        recordoff();
        resetrecord();
        fs::current_path(dir.path);
        HeaderPending = 1;
    }
    void TearDown() override
    {
        recordoff();
        resetrecord();
        fs::current_path(oldCwd);
    }
    void expectOnlyNotice(const std::string &title)
    {
        ASSERT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(notes.all()[0].title, title);
        EXPECT_EQ(notes.all()[0].text, "FATAL ERROR");
        notes.clear();
    }
};

TEST(TextForm, OnlyCarriageReturnLineFeedIsALineEnd)
{
    const unsigned char text[] = {0x0D, 0x0A, 0x0D, 0x0D, 0x0A, 0x0A, 0x1A, 0x0D, 0x41, 0x0D};
    const unsigned char want[] = {0x0A, 0x0D, 0x0A, 0x0A, 0x1A, 0x0D, 0x41, 0x0D};
    unsigned char image[MIRL_IMAGE_SIZE];
    ASSERT_EQ(untext(text, sizeof text, image), sizeof want);
    EXPECT_EQ(std::memcmp(image, want, sizeof want), 0);
    // A full image stops the reading, even in the middle of a pair.
    std::vector<unsigned char> ones(MIRL_IMAGE_SIZE - 1, 0x01);
    ones.insert(ones.end(), {0x0D, 0x0A});
    EXPECT_EQ(untext(ones.data(), ones.size(), image), (size_t)MIRL_IMAGE_SIZE);
    EXPECT_EQ(image[MIRL_IMAGE_SIZE - 1], 0x0A);
}

TEST_F(Files, EverySampleRoundTripsByteExact)
{
    for (const SampleRecord &s : sampleRecords()) {
        useRecord(s.record);
        std::string name = s.name + ".mrl";
        ASSERT_TRUE(saveobj(name.c_str())) << s.name;
        EXPECT_EQ(readFile(name), textOf(imageOf(s.record))) << s.name;
        // Whatever was there before is replaced, and a Recorder left on
        // records nothing.
        std::memset(&CommandRecord, 0xEE, sizeof CommandRecord);
        PickCount = 12345;
        mesh->nverts = mesh->nquads = 77;
        recordon();
        ASSERT_TRUE(loadobj(name.c_str(), mesh.get())) << s.name;
        EXPECT_EQ(RecorderOn, 1);
        recordoff();
        EXPECT_TRUE(sameRecord(CommandRecord, s.record)) << s.name << ": leftovers included";
        EXPECT_EQ(numsteps(), s.record.count) << s.name;
        EXPECT_EQ(numpicks(), std::count(s.record.ops, s.record.ops + s.record.count, MIRL_OPPICK)) << s.name;
        emptyMesh(expected.get());
        replayobj(&s.record, expected.get());
        EXPECT_EQ(meshDiff(*mesh, *expected), "") << s.name;
    }
    // Count 10, opcode 10, image 0x0D 0x0A written as 0x0D 0x0D 0x0A, 0x1A.
    const std::vector<uint8_t> start = {0x0D, 0x0A, 31, 0x0D, 0x0A, 0x0D, 0x0D, 0x0A, 0x1A, 50};
    std::vector<uint8_t> bytes = readFile("specialbytes.mrl");
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + start.size()), start);
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Files, StartingRecordLoadsAsTheCubeWithSixSelectedFaces)
{
    useRecord(startingRecord());
    ASSERT_TRUE(saveobj("start"));
    EXPECT_EQ(readFile("start").size(), (size_t)MIRL_IMAGE_SIZE); // no extension added
    resetrecord();
    ASSERT_TRUE(loadobj("start", mesh.get()));
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(mesh->nverts, 8u);
    EXPECT_EQ(mesh->nquads, 6u);
    EXPECT_EQ(countsel(mesh.get()), 6);
}

TEST_F(Files, RefusedLoadsChangeNothing)
{
    useRecord(makeRecord({{31, 128}, {20, 128}, {50, 128}, {50, 128}}, {2, 4}));
    ASSERT_TRUE(saveobj("before.mrl"));
    ASSERT_TRUE(loadobj("before.mrl", mesh.get()));
    ASSERT_EQ(LastPickedFace, 4);
    const mirlObj record = CommandRecord;
    const uint32_t picks = PickCount;
    std::unique_ptr<Mesh> before = newMesh();
    *before = *mesh;

    std::vector<uint8_t> full = textOf(imageOf(startingRecord()));
    std::vector<uint8_t> pair(MIRL_IMAGE_SIZE - 2, 0x01); // 1537 file bytes, 1536 image bytes
    pair.push_back(0x0D);
    pair.push_back(0x0A);
    writeFile("empty.mrl", std::vector<uint8_t>());
    writeFile("oneshort.mrl", std::vector<uint8_t>(full.begin(), full.end() - 1));
    writeFile("pair.mrl", pair);
    fs::create_directory("folder.mrl");
    const std::pair<const char *, const char *> cases[] = {
        {"missing.mrl", "Unable to read from file"},  {"folder.mrl", "Unable to read from file"},
        {"empty.mrl", "Not a complete mirl object"},  {"oneshort.mrl", "Not a complete mirl object"},
        {"pair.mrl", "Not a complete mirl object"},
    };
    for (auto &c : cases) {
        EXPECT_FALSE(loadobj(c.first, mesh.get())) << c.first;
        expectOnlyNotice(c.second);
        EXPECT_TRUE(sameRecord(CommandRecord, record)) << c.first;
        EXPECT_EQ(PickCount, picks) << c.first;
        EXPECT_EQ(LastPickedFace, 4) << c.first;
        EXPECT_EQ(std::memcmp(mesh.get(), before.get(), sizeof(Mesh)), 0) << c.first;
    }
}

TEST_F(Files, LongerFileIsReadToTheWholeImage)
{
    mirlObj r = makeRecord({{31, 128}, {21, 128}});
    std::vector<uint8_t> bytes = textOf(imageOf(r));
    for (uint8_t b : {0x0A, 0x0D, 0x0A, 0x1A, 0x05, 0x0D})
        bytes.push_back(b);
    writeFile("long.mrl", bytes);
    ASSERT_TRUE(loadobj("long.mrl", mesh.get()));
    EXPECT_TRUE(sameRecord(CommandRecord, r));
    EXPECT_EQ(countsel(mesh.get()), 0);
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Files, FailedSavesKeepTheOldFileAndSayWhy)
{
    useRecord(makeRecord({{31, 128}, {20, 128}}));
    ASSERT_TRUE(saveobj("keep.mrl"));
    const std::vector<uint8_t> oldBytes = readFile("keep.mrl");
    const mirlObj newRecord = sampleRecords()[2].record;
    useRecord(newRecord);
    {
        FileSizeLimit limit(1000); // the disk refuses the write part-way
        EXPECT_FALSE(saveobj("keep.mrl"));
    }
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(readFile("keep.mrl"), oldBytes);
    FailSync = 1; // renamed unsynced, the new content might never reach the disk
    EXPECT_FALSE(saveobj("keep.mrl"));
    FailSync = 0;
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(readFile("keep.mrl"), oldBytes);
    fs::create_directory("folder.mrl");
    for (const char *name : {"folder.mrl", "nowhere/x.mrl", "/dev/full"}) {
        EXPECT_FALSE(saveobj(name)) << name;
        expectOnlyNotice("Unable to save to file");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2)
        << "a temporary file was left behind";
    EXPECT_TRUE(sameRecord(CommandRecord, newRecord));
    ASSERT_TRUE(saveobj("keep.mrl"));
    EXPECT_EQ(readFile("keep.mrl"), textOf(imageOf(newRecord)));
}

TEST_F(Files, ReplacingKeepsPermissionsLinksAndDevices)
{
    writeFile("real.mrl", std::string(5000, 'x'));
    ASSERT_EQ(chmod("real.mrl", 0640), 0);
    ASSERT_EQ(symlink("real.mrl", "link.mrl"), 0);
    useRecord(startingRecord());
    ASSERT_TRUE(saveobj("link.mrl"));
    EXPECT_TRUE(fs::is_symlink("link.mrl"));
    EXPECT_EQ(readFile("real.mrl"), textOf(imageOf(startingRecord())));
    struct stat st;
    ASSERT_EQ(stat("real.mrl", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Renaming over /dev/null would replace the device for everyone.
    EXPECT_TRUE(saveobj("/dev/null"));
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// In a child with a mount namespace of its own, a tmpfs holding an object
// file turns read-only: saving over the file and beside it must fail with
// the notice and leave the file as it was. 77: no permission to mount.
int saveOnReadOnlyFolder(const std::string &folder)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mkdir(folder.c_str(), 0755) != 0 || mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0)
        return 77;
    std::string path = folder + "/keep.mrl";
    useRecord(makeRecord({{31, 128}, {21, 128}}));
    if (!saveobj(path.c_str()))
        return 1;
    std::vector<uint8_t> oldBytes = readFile(path);
    if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
        return 77;
    NoticeCapture notes;
    useRecord(startingRecord());
    if (saveobj(path.c_str()) || saveobj((folder + "/new.mrl").c_str()))
        return 2;
    if (notes.all().size() != 2 || notes.all()[1].title != "Unable to save to file")
        return 3;
    return readFile(path) == oldBytes && !fs::exists(folder + "/new.mrl") ? 0 : 4;
}

TEST_F(Files, ReadOnlyFolderKeepsTheOldFile)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(saveOnReadOnlyFolder(dir / "ro"));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no permission to mount a read-only folder here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed check " << WEXITSTATUS(status);
}

// One exported object as the layout table gives it: an empty line, the
// name, the count, 6 lines of 40 opcodes and one of 16, the same for the
// parameter bytes, 12 lines of 20 picks and one of 16 (no comma after the
// last), "};". Entries past the counts are 0.
std::string objectText(const std::string &name, const mirlObj &r, uint32_t picks)
{
    std::string text = "\nmirlObj " + name + " = {\n" + std::to_string(r.count) + ",\n";
    for (const uint8_t *bytes : {r.ops, r.params})
        for (int i = 0; i < 256; i++)
            text += std::to_string(i < r.count ? bytes[i] : 0) + (i % 40 == 39 || i == 255 ? ",\n" : ",");
    for (uint32_t i = 0; i < 256; i++)
        text += std::to_string(i < picks ? r.picks[i] : 0u) + (i == 255 ? "\n" : i % 20 == 19 ? ",\n" : ",");
    return text + "};\n";
}

const std::string IncludeLine = "#include \"mirl.h\"\n\n";

// `steps` steps, the last `picks` of them picks; every other byte (past the
// counts too) nonzero, which the export must not show.
mirlObj recordWith(int steps, int picks)
{
    Rng rng(steps * 1000 + picks);
    mirlObj r;
    for (size_t i = 0; i < sizeof r; i++)
        reinterpret_cast<uint8_t *>(&r)[i] = static_cast<uint8_t>(1 + rng.below(255));
    r.count = static_cast<uint8_t>(steps);
    for (int i = 0; i < steps; i++)
        r.ops[i] = i >= steps - picks ? MIRL_OPPICK : static_cast<uint8_t>(rng.below(32));
    for (int i = 0; i < picks; i++)
        r.picks[i] = i % 3 == 0 ? 0xFFFFFFFFu - i : rng.below(100000);
    return r;
}

TEST_F(Files, ExportTextLineByLine)
{
    const std::pair<int, int> cases[] = {{1, 0}, {41, 3}, {255, 0}, {255, 255}, {3, 3}, {0, 0}};
    for (auto [steps, picks] : cases) {
        mirlObj r = recordWith(steps, picks);
        useRecord(r);
        HeaderPending = 1;
        ASSERT_TRUE(exportobj("mrlj0"));
        std::vector<std::string> got = linesOf(readText("Mirljects.h"));
        std::vector<std::string> want = linesOf(IncludeLine + objectText("mrlj0", r, picks));
        ASSERT_EQ(got.size(), 33u);
        for (size_t i = 0; i < want.size(); i++)
            EXPECT_EQ(got[i], want[i]) << steps << " steps, " << picks << " picks, line " << i + 1;
        EXPECT_TRUE(sameRecord(CommandRecord, r)) << "the export changed the record";
    }
    // The layout by hand: the 41st opcode opens the second opcode line, the
    // three picks open the first pick line, the last pick line has no comma.
    mirlObj r = recordWith(41, 3);
    r.ops[40] = 29;
    r.picks[0] = 7;
    r.picks[1] = 4294967295u;
    r.picks[2] = 0;
    useRecord(r);
    HeaderPending = 1;
    ASSERT_TRUE(exportobj("mrlj0"));
    std::vector<std::string> lines = linesOf(readText("Mirljects.h"));
    EXPECT_EQ(lines[3], "mirlObj mrlj0 = {");
    EXPECT_EQ(lines[4], "41,");
    EXPECT_EQ(lines[6].rfind("29,0,0,", 0), 0u) << lines[6];
    EXPECT_EQ(lines[19].rfind("7,4294967295,0,0,", 0), 0u) << lines[19];
    EXPECT_EQ(lines[31], "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(lines[32], "};");
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Files, TwoExportsInOneRunShareOneFreshIncludeLine)
{
    writeFile("Mirljects.h", std::string("objects of an earlier run\n"));
    useRecord(startingRecord());
    ASSERT_TRUE(exportobj("mrlj0"));
    EXPECT_EQ(HeaderPending, 0);
    ASSERT_TRUE(exportobj("mrlj1"));
    std::string one = objectText("mrlj0", startingRecord(), 0);
    EXPECT_EQ(readText("Mirljects.h"), IncludeLine + one + objectText("mrlj1", startingRecord(), 0));
    EXPECT_EQ(linesOf(one)[3].rfind("31,0,0,", 0), 0u);
}

TEST_F(Files, DeletedHeaderIsRecreatedWithoutTheIncludeLine)
{
    useRecord(startingRecord());
    ASSERT_TRUE(exportobj("mrlj0"));
    ASSERT_EQ(unlink("Mirljects.h"), 0);
    mirlObj r = recordWith(5, 2);
    useRecord(r);
    ASSERT_TRUE(exportobj("mrlj1"));
    EXPECT_EQ(readText("Mirljects.h"), objectText("mrlj1", r, 2));
}

TEST_F(Files, FailedExportsLeaveTheHeaderAsItWas)
{
    const std::string title = "Unable to open Mirljects.h file - not saving";
    useRecord(startingRecord());
    // Creation fails: the include line stays pending for the next export.
    fs::create_directory("Mirljects.h");
    EXPECT_FALSE(exportobj("mrlj0"));
    expectOnlyNotice(title);
    EXPECT_EQ(HeaderPending, 1);
    fs::remove("Mirljects.h");
    // A full disk while the header is started: the earlier file survives.
    writeFile("Mirljects.h", std::string("objects of an earlier run\n"));
    {
        FileSizeLimit limit(5);
        EXPECT_FALSE(exportobj("mrlj0"));
    }
    expectOnlyNotice(title);
    EXPECT_EQ(HeaderPending, 1);
    EXPECT_EQ(readText("Mirljects.h"), "objects of an earlier run\n");
    // A full disk half-way through an object: the partial object is cut off.
    ASSERT_TRUE(exportobj("mrlj1"));
    std::string one = readText("Mirljects.h");
    EXPECT_EQ(one, IncludeLine + objectText("mrlj1", startingRecord(), 0));
    {
        FileSizeLimit limit(one.size() + 100);
        EXPECT_FALSE(exportobj("mrlj2"));
    }
    expectOnlyNotice(title);
    EXPECT_EQ(readText("Mirljects.h"), one);
}

} // namespace
