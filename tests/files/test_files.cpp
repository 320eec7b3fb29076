// Object files and the C header export: the exact bytes on disk, loads that
// refuse a damaged file and change nothing, and saves and exports that never
// lose the old file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "filetools.h"
#include "mirlfile.h"
#include "notices.h"
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

// The files as they must be: the fixed samples saved, and all of them
// exported (golden/export.txt).
std::vector<uint8_t> golden(const std::string &name)
{
    return readFile(MIRL_GOLDEN "/" + name);
}
const std::vector<SampleRecord> Samples = sampleRecords();
const size_t GoldenSamples = 5; // the random ones after them follow the runtime
// Names a user could give that no load or save can use: a folder, a missing
// folder, a name too long for the system, one too long for a path, none.
const std::string BadNames[] = {"folder.mrl", "nowhere/x.mrl", std::string(300, 'x'),
                                std::string(MIRL_PATH_MAX + 1, 'x'), ""};

// Each test runs in a folder of its own, as the first export of a run.
class Files : public ::testing::Test {
  protected:
    TempDir dir;
    NoticeCapture notes;
    std::unique_ptr<Mesh> mesh = newMesh();
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
        EXPECT_EQ(notes.joined(), title + "/FATAL ERROR;");
        notes.clear();
    }
};

TEST_F(Files, EverySampleRoundTripsByteExact)
{
    for (size_t i = 0; i < Samples.size(); i++) {
        const SampleRecord &s = Samples[i];
        setrec(&s.record);
        std::string name = s.name + ".mrl";
        ASSERT_TRUE(saveobj(name.c_str())) << s.name;
        if (i < GoldenSamples) {
            EXPECT_EQ(readFile(name), golden(name)) << s.name;
        }
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
        EXPECT_EQ(numpicks(), std::count(s.record.ops, s.record.ops + s.record.count, MIRL_OPPICK)) << s.name;
        EXPECT_EQ(replayDiff(s.record, *mesh, LastPickedFace), "") << s.name;
    }
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Files, RefusedLoadsChangeNothing)
{
    const mirlObj picked = makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OP_SELECT2}, {MIRL_OPPICK, 128, 2}}, {2, 4});
    setrec(&picked);
    ASSERT_TRUE(saveobj("before.mrl"));
    ASSERT_TRUE(loadobj("before.mrl", mesh.get()));
    ASSERT_EQ(LastPickedFace, 4);
    const mirlObj record = CommandRecord;
    const uint32_t picks = PickCount;
    std::unique_ptr<Mesh> before = newMesh();
    *before = *mesh;

    std::vector<uint8_t> full = golden("cube.mrl");
    std::vector<uint8_t> pair(MIRL_IMAGE_SIZE - 2, 0x01); // 1537 file bytes, 1536 image bytes
    pair.push_back(0x0D);
    pair.push_back(0x0A);
    writeFile("empty.mrl", std::vector<uint8_t>());
    writeFile("oneshort.mrl", std::vector<uint8_t>(full.begin(), full.end() - 1));
    writeFile("pair.mrl", pair);
    fs::create_directory("folder.mrl");
    ASSERT_EQ(mkfifo("fifo.mrl", 0600), 0);
    alarm(20); // a load that blocks on the pipe fails here instead of hanging
    std::vector<std::pair<std::string, std::string>> cases = {
        {"missing.mrl", "Unable to read from file"},  {"fifo.mrl", "Not a regular file"},
        {"/dev/null", "Not a regular file"},          {"empty.mrl", "Not a complete mirl object"},
        {"oneshort.mrl", "Not a complete mirl object"}, {"pair.mrl", "Not a complete mirl object"},
    };
    for (const std::string &name : BadNames)
        cases.push_back({name, "Unable to read from file"});
    for (auto &c : cases) {
        EXPECT_FALSE(loadobj(c.first.c_str(), mesh.get())) << c.first;
        expectOnlyNotice(c.second);
        EXPECT_TRUE(sameRecord(CommandRecord, record)) << c.first;
        EXPECT_EQ(PickCount, picks) << c.first;
        EXPECT_EQ(LastPickedFace, 4) << c.first;
        EXPECT_EQ(std::memcmp(mesh.get(), before.get(), sizeof(Mesh)), 0) << c.first;
    }
    alarm(0);
}

TEST_F(Files, FailedSavesKeepTheOldFileAndSayWhy)
{
    const mirlObj none = makeRecord({{MIRL_OP_ADDCUBE}, {MIRL_OP_SELECT2}});
    setrec(&none);
    ASSERT_TRUE(saveobj("keep.mrl"));
    const std::vector<uint8_t> oldBytes = readFile("keep.mrl");
    setrec(&Samples[2].record);
    EXPECT_FALSE(withFileSizeLimit(1000, [] { return saveobj("keep.mrl"); })); // the disk refuses part-way
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(readFile("keep.mrl"), oldBytes);
    FailSync = 1; // renamed unsynced, the new content might never reach the disk
    EXPECT_FALSE(saveobj("keep.mrl"));
    FailSync = 0;
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(readFile("keep.mrl"), oldBytes);
    fs::create_directory("folder.mrl");
    for (const std::string &name : BadNames) {
        EXPECT_FALSE(saveobj(name.c_str())) << name;
        expectOnlyNotice("Unable to save to file");
    }
    EXPECT_FALSE(saveobj("/dev/full"));
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), fs::directory_iterator()), 2)
        << "a temporary file was left behind";
    EXPECT_TRUE(sameRecord(CommandRecord, Samples[2].record));
    ASSERT_TRUE(saveobj("keep.mrl"));
    EXPECT_EQ(readFile("keep.mrl"), golden("oddbytes.mrl"));
}

TEST_F(Files, ReplacingKeepsPermissionsLinksAndDevices)
{
    writeFile("real.mrl", std::string(5000, 'x'));
    ASSERT_EQ(chmod("real.mrl", 0640), 0);
    ASSERT_EQ(symlink("real.mrl", "link.mrl"), 0);
    setrec(&Samples[0].record);
    ASSERT_TRUE(saveobj("link.mrl"));
    EXPECT_TRUE(fs::is_symlink("link.mrl"));
    EXPECT_EQ(readFile("real.mrl"), golden("cube.mrl"));
    struct stat st;
    ASSERT_EQ(stat("real.mrl", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Renaming over /dev/null would replace the device for everyone.
    EXPECT_TRUE(saveobj("/dev/null"));
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// Saving over a file that its owner made read-only fails and keeps it. Root
// may write anything, so there the save runs as another user.
TEST_F(Files, WriteProtectedFileStays)
{
    writeFile("ro.mrl", std::string("keep"));
    ASSERT_EQ(chmod("ro.mrl", 0444), 0);
    setrec(&Samples[0].record);
    if (geteuid() != 0) {
        EXPECT_FALSE(saveobj("ro.mrl"));
    } else {
        ASSERT_EQ(chown(".", 65534, 65534), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            _exit(setgid(65534) == 0 && setuid(65534) == 0 && !saveobj("ro.mrl") ? 0 : 1);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "saved over a write-protected file";
    }
    EXPECT_EQ(readText("ro.mrl"), "keep");
}

// The fixed samples exported one after another from `first` on, every byte
// past their counts nonzero, which the export must not show.
void exportSamples(size_t first)
{
    for (size_t i = first; i < GoldenSamples; i++) {
        mirlObj r = Samples[i].record;
        setrec(&r);
        std::fill(r.ops + r.count, r.ops + 256, 0xFF);
        std::fill(r.params + r.count, r.params + 256, 0xFF);
        std::fill(r.picks + PickCount, r.picks + 256, 0xFFFFFFFFu);
        setrec(&r);
        ASSERT_TRUE(exportobj(("mrlj" + std::to_string(i)).c_str())) << i;
        EXPECT_TRUE(sameRecord(CommandRecord, r)) << "the export changed the record";
    }
}

TEST_F(Files, ExportsOfARunShareOneFreshIncludeLine)
{
    writeFile("Mirljects.h", std::string("objects of an earlier run\n"));
    exportSamples(0);
    EXPECT_EQ(HeaderPending, 0);
    const std::string header = readText("Mirljects.h");
    EXPECT_EQ(header, readText(MIRL_GOLDEN "/export.txt"));
    // Deleted during the run: started again without the include line.
    ASSERT_EQ(unlink("Mirljects.h"), 0);
    exportSamples(3);
    EXPECT_EQ(readText("Mirljects.h"), header.substr(header.find("\nmirlObj mrlj3")));
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(Files, FailedExportsLeaveTheHeaderAsItWas)
{
    const std::string earlier = "objects of an earlier run\n";
    auto refused = [&](bool exported, const std::string &header) { // said so, the header as it was
        EXPECT_FALSE(exported);
        expectOnlyNotice("Unable to open Mirljects.h file - not saving");
        EXPECT_EQ(readText("Mirljects.h"), header);
    };
    setrec(&Samples[0].record);
    // A full disk while the header is started: the earlier file survives.
    writeFile("Mirljects.h", earlier);
    refused(withFileSizeLimit(5, [] { return exportobj("mrlj0"); }), earlier);
    EXPECT_EQ(HeaderPending, 1);
    EXPECT_FALSE(fs::exists("Mirljects.h.bak"));
    // The earlier header cannot be kept: it is not replaced either.
    fs::create_directories("Mirljects.h.bak/full");
    refused(exportobj("mrlj0"), earlier);
    EXPECT_EQ(HeaderPending, 1);
    fs::remove_all("Mirljects.h.bak");
    // A full disk half-way through an object: the partial object is cut off.
    ASSERT_TRUE(exportobj("mrlj1"));
    const std::string one = readText("Mirljects.h");
    refused(withFileSizeLimit(one.size() + 100, [] { return exportobj("mrlj2"); }), one);
}

} // namespace
