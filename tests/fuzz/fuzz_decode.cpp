// libFuzzer harness for the object file decoder: arbitrary bytes as a file's
// contents through the text translation, the image codec, the refusal of an
// incomplete image, the Recorder and a save and load through a real file (the
// export's text is checked byte for byte at its boundaries by the file
// tests). The operations are taken out of the table, so the replay that
// loading runs is only its loop; fuzz_replay fuzzes the operations.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fuzzcheck.h"
#include "mirlfile.h"

static Mesh FuzzMesh;
static std::string Folder, File; // a folder of our own, and the file saved and loaded there

static void removeFolder()
{
    unlink(File.c_str());
    rmdir(Folder.c_str());
}

// The text form and the image codec agree with themselves on any input.
static size_t checkTranslation(const uint8_t *data, size_t size, unsigned char *image)
{
    static unsigned char text[MIRL_TEXT_MAX], again[MIRL_IMAGE_SIZE], encoded[MIRL_IMAGE_SIZE];
    size_t n = untext(data, size, image);
    check(n <= MIRL_IMAGE_SIZE && (n == MIRL_IMAGE_SIZE || size <= MIRL_TEXT_MAX));
    if (n == MIRL_IMAGE_SIZE) {
        mirlObj r;
        decobj(image, &r);
        encobj(&r, encoded);
        check(std::memcmp(encoded, image, MIRL_IMAGE_SIZE) == 0);
        size_t t = totext(image, text);
        check(t >= MIRL_IMAGE_SIZE && t <= MIRL_TEXT_MAX);
        check(untext(text, t, again) == MIRL_IMAGE_SIZE && std::memcmp(again, image, MIRL_IMAGE_SIZE) == 0);
    }
    return n;
}

// Records the loaded steps again as the editor would: every byte must come
// back (a parameter through decpar and encpar), and the limits must refuse.
static void checkRecorder(const mirlObj &loaded, uint32_t picks)
{
    resetrecord();
    recordon();
    for (int i = 0, p = 0; i < loaded.count; i++) {
        LastPick = loaded.picks[p];
        recordstep(loaded.ops[i], decpar(loaded.params[i]));
        p += loaded.ops[i] == MIRL_OPPICK;
    }
    const mirlObj &r = CommandRecord;
    check(r.count == loaded.count && PickCount == picks);
    check(!std::memcmp(r.ops, loaded.ops, r.count) && !std::memcmp(r.params, loaded.params, r.count));
    check(!std::memcmp(r.picks, loaded.picks, 4 * picks));
    // One step more: refused when the record is full; a pick beyond the list
    // is refused and not counted.
    recordstep(MIRL_OP_SUBD, 0.0f);
    check(r.count == (loaded.count == MIRL_MAXSTEPS ? MIRL_MAXSTEPS : loaded.count + 1));
    uint32_t count = r.count;
    PickCount = MIRL_MAXPICKS;
    recordstep(MIRL_OPPICK, 0.0f);
    check(r.count == count && PickCount == MIRL_MAXPICKS);
    // Any float as a parameter: within -8..8 it comes back to the nearest
    // step; a NaN or infinity is stored as 0.0's byte, the rest wrap around.
    float p;
    std::memcpy(&p, reinterpret_cast<const unsigned char *>(&loaded) + sizeof loaded - 4, sizeof p); // the last pick
    recordstep(MIRL_OP_SCALE1, p);
    uint8_t b = r.params[count];
    check(r.count == count + (count < MIRL_MAXSTEPS));
    check(count == MIRL_MAXSTEPS || (p - p != 0 ? b == 128 : !(p >= -8 && p <= 8) || std::fabs(decpar(b) - p) <= 0.032));
    count = r.count;
    PickCount = picks;
    for (; count > 1; count--) {
        picks -= r.ops[count - 1] == MIRL_OPPICK;
        droplast();
        check(r.count == count - 1 && PickCount == picks);
    }
    droplast(); // never the first step
    check(r.count == 1);
    recordoff();
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setnote(quietNotice);
    for (mirlOp &op : OperationTable)
        op = nullptr;
    // In memory where there is a tmpfs: every save syncs its file.
    char shm[] = "/dev/shm/mirl-fuzz-XXXXXX", tmp[] = "/tmp/mirl-fuzz-XXXXXX";
    char *folder = mkdtemp(shm) ? shm : mkdtemp(tmp);
    check(folder != nullptr);
    Folder = folder;
    File = Folder + "/fuzz.mrl";
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static unsigned char image[MIRL_IMAGE_SIZE];
    size_t imageBytes = checkTranslation(data, size, image);

    recordoff();
    resetrecord();
    FuzzMesh.nverts = 3;
    FuzzMesh.nquads = 0;
    int loaded = loadtxt(data, size, &FuzzMesh);
    check(loaded == (imageBytes == MIRL_IMAGE_SIZE));
    if (!loaded) {
        // A refused file changes nothing.
        check(FuzzMesh.nverts == 3 && CommandRecord.count == 0 && PickCount == 0);
        return 0;
    }
    static mirlObj copy;
    decobj(image, &copy);
    check(std::memcmp(&CommandRecord, &copy, sizeof copy) == 0 && FuzzMesh.nverts == 0);
    const uint32_t picks = (uint32_t)std::count(copy.ops, copy.ops + copy.count, MIRL_OPPICK);
    check(numpicks() == (int32_t)picks && numsteps() == copy.count);
    checkRecorder(copy, picks);
    // A save and load through a file (the record must come back the same)
    // costs many runs: only for one count in sixteen, the starting record's
    // among them.
    if (copy.count % 16 != 1)
        return 0;
    setrec(&copy);
    check(saveobj(File.c_str()) && std::memcmp(&CommandRecord, &copy, sizeof copy) == 0);
    std::memset(&CommandRecord, 0xAB, sizeof CommandRecord);
    check(loadobj(File.c_str(), &FuzzMesh) && std::memcmp(&CommandRecord, &copy, sizeof copy) == 0 &&
          numpicks() == (int32_t)picks);
    return 0;
}
