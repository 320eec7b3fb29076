// Subdivide and smooth (opcodes 27, 28). quadsel opens the section .smoooth,
// ahead of the smoothing entry.
#include "internal.h"

MIRL_SECTION(".smoooth") int32_t quadsel(const Mesh *m, uint32_t q)
{
    return m->selected[q];
}

// Placeholder until the smoothing operation lands: records its step.
MIRL_SECTION(".smoooth") void smoooth(Mesh *m, float p)
{
    (void)m;
    (void)p;
    recordstep(28, 0.0f);
}
