// Approximate ambient occlusion, by the plain double loop over all pairs.
#include "aao_literal.h"

#include <math.h>

#include "exact.h"

void literalAAORange(const Mesh *m, float threshold, Vec3 *out, uint32_t first, uint32_t end)
{
    const uint32_t vertexCount = m->nverts;
    if (vertexCount == 0)
        return;
    const double pi = 3.14159265;
    const double thresholdSquared = (double)threshold * (double)threshold;
    for (uint32_t i = first; i < end && i < vertexCount; i++) {
        Vec3 normal;
        maths7(&m->vnormals[i], &normal);
        maths14(&normal);
        float shade = 1.0f;
        out[i].x = out[i].y = out[i].z = shade;
        for (uint32_t j = 0; j < vertexCount; j++) {
            Vec3 towards;
            maths2(&m->verts[i], &m->verts[j], &towards);
            float distanceSquared = maths12(&towards);
            if (!(distanceSquared < threshold))
                continue;
            maths14(&towards);
            if (!(maths10(&normal, &towards) < -0.01f))
                continue;
            double area = (double)maths13(&m->vnormals[j]) / (4.0 * (double)vertexCount);
            shade = mirl_f32((double)shade - sqrt(area / (pi * (thresholdSquared + (double)distanceSquared))));
            out[i].x = out[i].y = out[i].z = shade;
        }
    }
}

void literalAAO(const Mesh *m, float threshold, Vec3 *out)
{
    literalAAORange(m, threshold, out, 0, m->nverts);
}
