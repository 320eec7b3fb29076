/* Cosine and sine of a rotation angle. For now the C library's; the
   rotation reaches them only through here. */
#include <math.h>

#include "internal.h"

MIRL_SECTION(".trigon") void trigon(double t, double *c, double *s)
{
    *c = cos(t);
    *s = sin(t);
}
