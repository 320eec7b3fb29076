// Object files: the exact bytes on disk, the line-end translation, refusal
// of short files with nothing changed, and saves that never lose the old
// file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sched.h>
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

namespace {

uint32_t pickSteps(const mirlObj &r)
{
    uint32_t n = 0;
    for (int i = 0; i < r.count; i++)
        n += r.ops[i] == MIRL_OPPICK;
    return n;
}

bool sameRecord(const mirlObj &a, const mirlObj &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Every quad names a vertex below nverts and the counts stay in capacity:
// what any later operation relies on.
void expectSoundMesh(const Mesh &m)
{
    ASSERT_LE(m.nverts, (uint32_t)MIRL_MAXVERTS);
    ASSERT_LE(m.nquads, (uint32_t)MIRL_MAXQUADS);
    for (uint32_t i = 0; i < m.nquads; i++)
        for (int k = 0; k < 4; k++)
            ASSERT_LT(m.quads[i].v[k], m.nverts) << "quad " << i;
}

class ObjectFile : public ::testing::Test {
  protected:
    TempDir dir;
    NoticeCapture notes;
    std::unique_ptr<Mesh> mesh = newMesh();
    std::unique_ptr<Mesh> expected = newMesh();

    void SetUp() override
    {
        recordoff();
        resetrecord();
    }
    void TearDown() override
    {
        recordoff();
        resetrecord();
    }

    // The mesh that replaying r into an empty mesh gives.
    const Mesh &replayed(const mirlObj &r)
    {
        emptyMesh(expected.get());
        replayobj(&r, expected.get());
        return *expected;
    }

    // Loads the starting record so that record, counters and mesh hold
    // something a refused load must keep.
    void loadSomething()
    {
        mirlObj r = makeRecord({{31, 128}, {20, 128}, {50, 128}, {50, 128}}, {2, 4});
        useRecord(r);
        ASSERT_TRUE(saveobj((dir / "before.mrl").c_str()));
        CommandRecord.count = 0;
        ASSERT_TRUE(loadobj((dir / "before.mrl").c_str(), mesh.get()));
        ASSERT_EQ(LastPickedFace, 4);
        ASSERT_EQ(numpicks(), 2);
    }

    // Checks that record, counters and mesh are what they were.
    struct Snapshot {
        mirlObj record;
        uint32_t pickCount;
        int32_t lastPicked;
        std::unique_ptr<Mesh> mesh = newMesh();
    };
    Snapshot snapshot()
    {
        Snapshot s;
        s.record = CommandRecord;
        s.pickCount = PickCount;
        s.lastPicked = LastPickedFace;
        *s.mesh = *mesh;
        return s;
    }
    void expectUnchanged(const Snapshot &s)
    {
        EXPECT_TRUE(sameRecord(CommandRecord, s.record));
        EXPECT_EQ(PickCount, s.pickCount);
        EXPECT_EQ(LastPickedFace, s.lastPicked);
        EXPECT_EQ(meshDiff(*mesh, *s.mesh), "");
        EXPECT_EQ(std::memcmp(mesh.get(), s.mesh.get(), sizeof(Mesh)), 0) << "bytes past the counts changed";
    }
    void expectOnlyNotice(const char *title)
    {
        ASSERT_EQ(notes.all().size(), 1u);
        EXPECT_EQ(notes.all()[0].title, title);
        EXPECT_EQ(notes.all()[0].text, "FATAL ERROR");
        notes.clear();
    }
};

TEST(RecordImage, PicksAreLittleEndianWhateverTheHost)
{
    mirlObj r = makeRecord({{31, 128}}, {0x04030201u, 0xA0B0C0D0u});
    unsigned char image[MIRL_IMAGE_SIZE];
    encobj(&r, image);
    EXPECT_EQ(image[0], 1);
    EXPECT_EQ(image[1], 31);
    EXPECT_EQ(image[257], 128);
    const unsigned char picks[8] = {0x01, 0x02, 0x03, 0x04, 0xD0, 0xC0, 0xB0, 0xA0};
    EXPECT_EQ(std::memcmp(image + 513, picks, 8), 0);
    mirlObj back;
    decobj(image, &back);
    EXPECT_TRUE(sameRecord(back, r));
}

TEST(RecordImage, TextFormRoundTripsAnyImage)
{
    Rng rng(7);
    for (int round = 0; round < 300; round++) {
        unsigned char image[MIRL_IMAGE_SIZE];
        // Bytes from a small alphabet, so 0x0D 0x0A pairs and runs are common.
        const unsigned char alphabet[] = {0x0A, 0x0D, 0x1A, 0x00, 0xFF, 0x32};
        for (unsigned char &b : image)
            b = round % 2 ? alphabet[rng.below(6)] : static_cast<unsigned char>(rng.below(256));
        unsigned char text[MIRL_TEXT_MAX];
        size_t n = totext(image, text);
        std::vector<uint8_t> want = textOf(std::vector<uint8_t>(image, image + MIRL_IMAGE_SIZE));
        ASSERT_EQ(std::vector<uint8_t>(text, text + n), want);
        unsigned char back[MIRL_IMAGE_SIZE];
        ASSERT_EQ(untext(text, n, back), (size_t)MIRL_IMAGE_SIZE);
        ASSERT_EQ(std::memcmp(back, image, MIRL_IMAGE_SIZE), 0) << "round " << round;
    }
}

TEST(RecordImage, OnlyCarriageReturnLineFeedIsALineEnd)
{
    const unsigned char text[] = {0x0D, 0x0A, 0x0D, 0x0D, 0x0A, 0x0A, 0x1A, 0x0D, 0x41, 0x0D};
    unsigned char image[MIRL_IMAGE_SIZE];
    ASSERT_EQ(untext(text, sizeof text, image), 8u);
    const unsigned char want[] = {0x0A, 0x0D, 0x0A, 0x0A, 0x1A, 0x0D, 0x41, 0x0D};
    EXPECT_EQ(std::memcmp(image, want, sizeof want), 0);
    // A full image stops the reading, even in the middle of a pair.
    std::vector<unsigned char> ones(MIRL_IMAGE_SIZE - 1, 0x01);
    ones.push_back(0x0D);
    ones.push_back(0x0A);
    EXPECT_EQ(untext(ones.data(), ones.size(), image), (size_t)MIRL_IMAGE_SIZE);
    EXPECT_EQ(image[MIRL_IMAGE_SIZE - 1], 0x0A);
}

TEST_F(ObjectFile, EveryImageLineFeedIsStoredAfterOneCarriageReturn)
{
    for (const SampleRecord &s : sampleRecords()) {
        useRecord(s.record);
        std::string path = dir / (s.name + ".mrl");
        ASSERT_TRUE(saveobj(path.c_str())) << s.name;
        std::vector<uint8_t> image = imageOf(s.record);
        std::vector<uint8_t> bytes = readFile(path);
        EXPECT_EQ(bytes, textOf(image)) << s.name;
        size_t lineFeeds = std::count(image.begin(), image.end(), 0x0A);
        EXPECT_EQ(bytes.size(), MIRL_IMAGE_SIZE + lineFeeds) << s.name;
    }
    // The count 10 is the very first image byte.
    std::vector<uint8_t> bytes = readFile(dir / "specialbytes.mrl");
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0x0D);
    EXPECT_EQ(bytes[1], 0x0A);
    EXPECT_EQ(bytes[2], 31);
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(ObjectFile, LoadReadsBackEveryByteAndReplays)
{
    for (const SampleRecord &s : sampleRecords()) {
        useRecord(s.record);
        std::string path = dir / (s.name + ".mrl");
        ASSERT_TRUE(saveobj(path.c_str()));
        std::memset(&CommandRecord, 0xEE, sizeof CommandRecord);
        PickCount = 12345;
        mesh->nverts = mesh->nquads = 77; // loading empties the mesh first
        ASSERT_TRUE(loadobj(path.c_str(), mesh.get())) << s.name;
        EXPECT_TRUE(sameRecord(CommandRecord, s.record)) << s.name << ": leftovers included";
        EXPECT_EQ(numsteps(), s.record.count) << s.name;
        EXPECT_EQ((uint32_t)numpicks(), pickSteps(s.record)) << s.name;
        EXPECT_EQ(meshDiff(*mesh, replayed(s.record)), "") << s.name;
        expectSoundMesh(*mesh);
    }
}

TEST_F(ObjectFile, SubstituteByteAndCarriageReturnsInsideTheImageRoundTrip)
{
    // 0x1A (the old end-of-file mark) early in the image, then a pattern of
    // 0x0D and 0x0A bytes everywhere after it.
    mirlObj r;
    std::vector<uint8_t> image(MIRL_IMAGE_SIZE);
    for (size_t i = 0; i < image.size(); i++)
        image[i] = "\x1a\x0d\x0a\x0d\x0d\x0a\x0a\x42"[i % 8];
    decobj(image.data(), &r);
    ASSERT_EQ(r.count, 0x1A);
    ASSERT_EQ(r.ops[0], 0x0D);
    ASSERT_EQ(r.ops[1], 0x0A);
    useRecord(r);
    std::string path = dir / "pattern.mrl";
    ASSERT_TRUE(saveobj(path.c_str()));
    std::vector<uint8_t> bytes = readFile(path);
    ASSERT_GE(bytes.size(), 4u);
    // Image 0x0D 0x0A is written as 0x0D 0x0D 0x0A.
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<uint8_t>{0x1A, 0x0D, 0x0D, 0x0A}));
    CommandRecord.count = 0;
    ASSERT_TRUE(loadobj(path.c_str(), mesh.get()));
    EXPECT_TRUE(sameRecord(CommandRecord, r));
}

TEST_F(ObjectFile, RawLoneCarriageReturnsAreData)
{
    // A file written by another program: no 0x0A at all, 0x0D bytes alone.
    mirlObj r = makeRecord({{31, 13}, {13, 13}}, {0x0D0D0D0Du});
    std::vector<uint8_t> image = imageOf(r);
    ASSERT_EQ(std::count(image.begin(), image.end(), 0x0A), 0);
    writeFile(dir / "raw.mrl", image);
    ASSERT_TRUE(loadobj((dir / "raw.mrl").c_str(), mesh.get()));
    EXPECT_TRUE(sameRecord(CommandRecord, r));
}

TEST_F(ObjectFile, StartingRecordLoadsAsTheCubeWithAllFacesSelected)
{
    useRecord(startingRecord());
    ASSERT_TRUE(saveobj((dir / "start.mrl").c_str()));
    EXPECT_EQ(readFile(dir / "start.mrl").size(), (size_t)MIRL_IMAGE_SIZE);
    resetrecord();
    ASSERT_TRUE(loadobj((dir / "start.mrl").c_str(), mesh.get()));
    EXPECT_EQ(numsteps(), 1);
    EXPECT_EQ(numpicks(), 0);
    EXPECT_EQ(mesh->nverts, 8u);
    EXPECT_EQ(mesh->nquads, 6u);
    EXPECT_EQ(countsel(mesh.get()), 6);
    // The replay ran setnorm: each face normal is twice the face's area.
    for (uint32_t i = 0; i < 6; i++) {
        const Vec3 &n = mesh->fnormals[i];
        EXPECT_EQ(std::fabs(n.x) + std::fabs(n.y) + std::fabs(n.z), 8.0f) << "face " << i;
    }
}

TEST_F(ObjectFile, ShortFileIsRefusedAndNothingChanges)
{
    loadSomething();
    Snapshot before = snapshot();
    std::vector<uint8_t> full = textOf(imageOf(startingRecord()));
    // Empty, one byte short, and long enough in file bytes but one image
    // byte short once a 0x0D 0x0A pair is read as one byte.
    std::vector<std::vector<uint8_t>> shortFiles = {{}, std::vector<uint8_t>(full.begin(), full.end() - 1)};
    std::vector<uint8_t> pair(MIRL_IMAGE_SIZE - 2, 0x01);
    pair.push_back(0x0D);
    pair.push_back(0x0A);
    shortFiles.push_back(pair);
    ASSERT_EQ(pair.size(), (size_t)MIRL_IMAGE_SIZE);
    for (size_t i = 0; i < shortFiles.size(); i++) {
        writeFile(dir / "short.mrl", shortFiles[i]);
        EXPECT_FALSE(loadobj((dir / "short.mrl").c_str(), mesh.get())) << i;
        expectOnlyNotice("Not a complete mirl object");
        expectUnchanged(before);
    }
}

TEST_F(ObjectFile, LongerFileIsReadToTheWholeImage)
{
    mirlObj r = makeRecord({{31, 128}, {21, 128}});
    std::vector<uint8_t> bytes = textOf(imageOf(r));
    std::vector<uint8_t> tail = {0x0A, 0x0D, 0x0A, 0x1A, 0x05, 0x0D};
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    writeFile(dir / "long.mrl", bytes);
    ASSERT_TRUE(loadobj((dir / "long.mrl").c_str(), mesh.get()));
    EXPECT_TRUE(sameRecord(CommandRecord, r));
    EXPECT_EQ(countsel(mesh.get()), 0);
    EXPECT_TRUE(notes.all().empty());
}

TEST_F(ObjectFile, MissingOrUnreadableFileChangesNothing)
{
    loadSomething();
    Snapshot before = snapshot();
    EXPECT_FALSE(loadobj((dir / "missing.mrl").c_str(), mesh.get()));
    expectOnlyNotice("Unable to read from file");
    expectUnchanged(before);
    EXPECT_FALSE(loadobj(dir.path().c_str(), mesh.get())); // a folder
    expectOnlyNotice("Unable to read from file");
    expectUnchanged(before);
}

TEST_F(ObjectFile, LoadingWithTheRecorderOnRecordsNothing)
{
    mirlObj r = makeRecord({{31, 128}, {20, 128}, {50, 128}, {22, 128}}, {1});
    useRecord(r);
    ASSERT_TRUE(saveobj((dir / "r.mrl").c_str()));
    recordon();
    ASSERT_TRUE(loadobj((dir / "r.mrl").c_str(), mesh.get()));
    EXPECT_TRUE(sameRecord(CommandRecord, r));
    EXPECT_EQ(numpicks(), 1);
    EXPECT_EQ(RecorderOn, 1); // the caller's setting is kept
}

TEST_F(ObjectFile, LoadReplaysAsAPlayerDoesWhateverWasPickedBefore)
{
    // "Select adjacent" on the all-selected cube leaves nothing selected
    // (without touching the last pick); then "select similar along X"
    // before any pick: a player starts with no last picked face and selects
    // nothing.
    mirlObj r = makeRecord({{31, 128}, {23, 128}, {24, 128}});
    useRecord(r);
    ASSERT_TRUE(saveobj((dir / "similar.mrl").c_str()));
    LastPickedFace = 3; // left over from the model edited before
    ASSERT_TRUE(loadobj((dir / "similar.mrl").c_str(), mesh.get()));
    EXPECT_EQ(countsel(mesh.get()), 0);
    EXPECT_EQ(LastPickedFace, -1);
    resetrecord();
    EXPECT_EQ(meshDiff(*mesh, replayed(r)), "");
}

TEST_F(ObjectFile, OddStepsReplayWithinBounds)
{
    // Unknown opcodes, picks beyond the mesh and records that would grow the
    // mesh past its capacity all load and leave a sound mesh.
    std::vector<mirlObj> odd;
    mirlObj grow = makeRecord({{31, 128}});
    for (int i = 0; i < 14; i++) {
        grow.ops[grow.count] = i % 2 ? 27 : 29; // subdivide, extrude
        grow.params[grow.count++] = 128;
    }
    odd.push_back(grow);
    Rng rng(99);
    for (int k = 0; k < 40; k++) {
        mirlObj r;
        std::vector<uint8_t> image(MIRL_IMAGE_SIZE);
        for (uint8_t &b : image)
            b = static_cast<uint8_t>(rng.below(256));
        image[0] = static_cast<uint8_t>(rng.below(40));
        for (int i = 1; i <= 40; i++) // mostly real operations, few growing
            if (rng.below(3))
                image[i] = "\x13\x14\x15\x16\x17\x18\x19\x1a\x1f\x32\x00\x09\x10\x1e"[rng.below(14)];
        decobj(image.data(), &r);
        odd.push_back(r);
    }
    for (size_t i = 0; i < odd.size(); i++) {
        useRecord(odd[i]);
        std::string path = dir / "odd.mrl";
        ASSERT_TRUE(saveobj(path.c_str()));
        ASSERT_TRUE(loadobj(path.c_str(), mesh.get())) << i;
        EXPECT_TRUE(sameRecord(CommandRecord, odd[i])) << i;
        EXPECT_EQ((uint32_t)numpicks(), pickSteps(odd[i])) << i;
        expectSoundMesh(*mesh);
        EXPECT_EQ(meshDiff(*mesh, replayed(odd[i])), "") << i << ": replay not deterministic";
    }
}

TEST_F(ObjectFile, SavingReplacesTheWholeFileAndKeepsItsPermissions)
{
    std::string path = dir / "model"; // no extension is added
    writeFile(path, std::vector<uint8_t>(5000, 0x55));
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    useRecord(startingRecord());
    ASSERT_TRUE(saveobj(path.c_str()));
    EXPECT_EQ(readFile(path), textOf(imageOf(startingRecord())));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"model"}) << "a temporary file was left behind";
}

TEST_F(ObjectFile, SavingThroughALinkUpdatesTheFileItNames)
{
    std::string target = dir / "real.mrl", link = dir / "link.mrl";
    writeFile(target, "old");
    ASSERT_EQ(symlink("real.mrl", link.c_str()), 0);
    useRecord(startingRecord());
    ASSERT_TRUE(saveobj(link.c_str()));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(target), textOf(imageOf(startingRecord())));
}

TEST_F(ObjectFile, FailedSavesKeepTheOldFileAndSayWhy)
{
    mirlObj oldRecord = makeRecord({{31, 128}, {20, 128}});
    useRecord(oldRecord);
    std::string path = dir / "keep.mrl";
    ASSERT_TRUE(saveobj(path.c_str()));
    std::vector<uint8_t> oldBytes = readFile(path);
    mirlObj newRecord = sampleRecords()[2].record;
    useRecord(newRecord);

    // The disk refuses the write part-way (works for root too).
    {
        FileSizeLimit limit(1000);
        EXPECT_FALSE(saveobj(path.c_str()));
    }
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(readFile(path), oldBytes);
    EXPECT_EQ(dir.list(), std::vector<std::string>{"keep.mrl"}) << "a temporary file was left behind";

    // A folder in the way, and a folder that does not exist.
    std::filesystem::create_directory(dir / "folder.mrl");
    writeFile(dir / "folder.mrl/inside", "x");
    EXPECT_FALSE(saveobj((dir / "folder.mrl").c_str()));
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(readText(dir / "folder.mrl/inside"), "x");
    EXPECT_FALSE(saveobj((dir / "nowhere/x.mrl").c_str()));
    expectOnlyNotice("Unable to save to file");
    EXPECT_EQ(dir.list(), (std::vector<std::string>{"folder.mrl", "keep.mrl"}));

    // A write-protected file stays as it is (root may write anything).
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(path.c_str(), 0444), 0);
        EXPECT_FALSE(saveobj(path.c_str()));
        expectOnlyNotice("Unable to save to file");
        EXPECT_EQ(readFile(path), oldBytes);
    }
    // Nothing else changed, and the next save works.
    EXPECT_TRUE(sameRecord(CommandRecord, newRecord));
    chmod(path.c_str(), 0644);
    EXPECT_TRUE(saveobj(path.c_str()));
    EXPECT_EQ(readFile(path), textOf(imageOf(newRecord)));
}

// In a child with a mount namespace of its own: a tmpfs holding an object
// file is made read-only, then saving over the file and beside it must fail
// with the notice and leave the file as it was. Exit codes: 0 passed, 77 no
// permission to mount here, others a failed check.
static int saveOnReadOnlyFolder(const std::string &folder)
{
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return 77;
    if (mkdir(folder.c_str(), 0755) != 0 || mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=1m") != 0)
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
    if (notes.all().size() != 2 || notes.all()[0].title != "Unable to save to file" ||
        notes.all()[1].text != "FATAL ERROR")
        return 3;
    if (readFile(path) != oldBytes || exists(folder + "/new.mrl"))
        return 4;
    return 0;
}

TEST_F(ObjectFile, ReadOnlyFolderKeepsTheOldFile)
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

TEST_F(ObjectFile, SavingToADeviceWritesIntoIt)
{
    // Renaming over /dev/null would replace the device for everyone.
    useRecord(startingRecord());
    EXPECT_TRUE(saveobj("/dev/null"));
    struct stat st;
    ASSERT_EQ(stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_FALSE(saveobj("/dev/full"));
    expectOnlyNotice("Unable to save to file");
}

} // namespace
