// libFuzzer harness: arbitrary bytes as the contents of an object file, run
// through the text translation, the image decoder and loadobj's path with
// the replay into a mesh. Any crash, sanitizer report or broken invariant
// (abort) is a finding.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "mirlfile.h"

// Reused across runs and never wiped: loading empties it by its counts, and
// the runtime never reads past the counts. Clearing its 14 MB every run
// would cost most of the time.
static Mesh FuzzMesh;

static void quietNotice(const char *, const char *) {}

static void check(bool ok)
{
    if (!ok)
        std::abort();
}

// The text form and the image decoder agree with themselves on any input.
static size_t checkTranslation(const uint8_t *data, size_t size)
{
    static unsigned char image[MIRL_IMAGE_SIZE], text[MIRL_TEXT_MAX], again[MIRL_IMAGE_SIZE];
    static unsigned char encoded[MIRL_IMAGE_SIZE];
    size_t n = untext(data, size, image);
    check(n <= MIRL_IMAGE_SIZE);
    check(n == MIRL_IMAGE_SIZE || size <= MIRL_TEXT_MAX);
    if (n == MIRL_IMAGE_SIZE) {
        mirlObj r;
        decobj(image, &r);
        encobj(&r, encoded);
        check(std::memcmp(encoded, image, MIRL_IMAGE_SIZE) == 0);
        size_t t = totext(image, text);
        check(t >= MIRL_IMAGE_SIZE && t <= MIRL_TEXT_MAX);
        check(untext(text, t, again) == MIRL_IMAGE_SIZE);
        check(std::memcmp(again, image, MIRL_IMAGE_SIZE) == 0);
    }
    return n;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setnote(quietNotice);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    size_t imageBytes = checkTranslation(data, size);

    recordoff();
    resetrecord(); // each run starts like a fresh editor: no last pick
    FuzzMesh.nverts = 3;
    FuzzMesh.nquads = 0;
    int loaded = loadtxt(data, size, &FuzzMesh);
    check(loaded == (imageBytes == MIRL_IMAGE_SIZE));
    if (!loaded) {
        // A refused file changes nothing.
        check(FuzzMesh.nverts == 3 && FuzzMesh.nquads == 0 && CommandRecord.count == 0 && PickCount == 0);
        return 0;
    }
    const mirlObj &r = CommandRecord;
    uint32_t picks = 0;
    for (int i = 0; i < r.count; i++)
        picks += r.ops[i] == MIRL_OPPICK;
    check(PickCount == picks);
    check(FuzzMesh.nverts <= MIRL_MAXVERTS && FuzzMesh.nquads <= MIRL_MAXQUADS);
    for (uint32_t i = 0; i < FuzzMesh.nquads; i++)
        for (int k = 0; k < 4; k++)
            check(FuzzMesh.quads[i].v[k] < FuzzMesh.nverts);
    return 0;
}
