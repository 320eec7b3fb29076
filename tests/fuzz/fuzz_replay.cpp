// libFuzzer harness for the replay: arbitrary bytes as the contents of an
// object file, loaded and replayed into a mesh. Built with a mesh capacity
// of a few hundred, so that every capacity refusal is a few steps away. Any
// crash, sanitizer report or broken invariant (abort) is a finding.
#include <cstdint>

#include "fuzzcheck.h"
#include "mirlfile.h"
#include "meshdigest.h"

// Reused across runs and never wiped: loading empties it by its counts, and
// the runtime never reads past the counts.
static Mesh FuzzMesh;

// fuzz_records links the literal algorithms and compares the mesh with theirs.
extern "C" __attribute__((weak)) bool fuzzAgrees(const mirlObj *r, const Mesh *m);

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setnote(quietNotice);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    recordoff();
    resetrecord(); // each run starts like a fresh editor: no last pick
    FuzzMesh.nverts = 3;
    FuzzMesh.nquads = 0;
    if (!loadtxt(data, size, &FuzzMesh)) {
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
    int32_t selected = 0;
    for (uint32_t i = 0; i < FuzzMesh.nquads; i++) {
        check(FuzzMesh.selected[i] == 0 || FuzzMesh.selected[i] == 1);
        selected += FuzzMesh.selected[i];
        for (int k = 0; k < 4; k++)
            check(FuzzMesh.quads[i].v[k] < FuzzMesh.nverts);
    }
    check(countsel(&FuzzMesh) == selected);
    check(!fuzzAgrees || fuzzAgrees(&r, &FuzzMesh));

    // Going on from a replay of the first half gives the whole replay's bits:
    // the editor's undo from a checkpoint relies on it.
    static Mesh Half;
    const int32_t last = LastPickedFace;
    mirlObj head = r;
    head.count = r.count / 2;
    Half.nverts = Half.nquads = 0;
    replayobj(&head, &Half);
    replayfrom(&r, &Half, head.count);
    check(meshDigestOf(&Half) == meshDigestOf(&FuzzMesh) && PickCount == picks && LastPickedFace == last);
    return 0;
}
