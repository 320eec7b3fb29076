#include "opnames.h"

#include "mirl.h"

namespace {

struct OperationInfo {
    const char *name;
    const char *summary;
};

const OperationInfo Operations[MIRL_NUMOPS] = {
    {"scale1", "scale all vertices along X"},
    {"scale2", "scale all vertices along Y"},
    {"scale3", "scale all vertices along Z"},
    {"scale4", "scale all vertices uniformly"},
    {"scale5", "scale selected vertices along X"},
    {"scale6", "scale selected vertices along Y"},
    {"scale7", "scale selected vertices along Z"},
    {"scale8", "scale selected vertices uniformly"},
    {"scalece", "scale selected faces about their centres"},
    {"trans1", "move all vertices along X"},
    {"trans2b", "move all vertices along Y"},
    {"trans3", "move all vertices along Z"},
    {"trans4", "move selected vertices along X"},
    {"trans5", "move selected vertices along Y"},
    {"trans6", "move selected vertices along Z"},
    {"trans2", "move selected faces along their normals"},
    {"rotate1", "rotate the selection about X"},
    {"rotate2", "rotate the selection about Y"},
    {"rotate3", "rotate the selection about Z"},
    {"select1", "select all faces"},
    {"select2", "select no face"},
    {"select3", "invert the selection"},
    {"select4", "grow the selection"},
    {"select5", "select the faces around the selection"},
    {"select6", "select faces similar to the last pick along X"},
    {"select7", "select faces similar to the last pick along Y"},
    {"select8", "select faces similar to the last pick along Z"},
    {"subd", "subdivide every face into four"},
    {"smoooth", "subdivide and smooth"},
    {"addquad", "extrude the selected faces"},
    {"delQuad", "delete the selected faces"},
    {"addcube", "add the cube"},
};

} // namespace

const char *operationName(uint8_t opcode)
{
    if (opcode < MIRL_NUMOPS)
        return Operations[opcode].name;
    return opcode == MIRL_OPPICK ? "select9" : nullptr;
}

const char *operationSummary(uint8_t opcode)
{
    if (opcode < MIRL_NUMOPS)
        return Operations[opcode].summary;
    return opcode == MIRL_OPPICK ? "toggle the selection of a face" : nullptr;
}
