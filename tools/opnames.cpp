#include "opnames.h"

#include "mirl.h"

namespace {

struct OperationInfo {
    uint8_t opcode;
    const char *name;
    const char *summary;
};

// Each entry names its opcode, so the table cannot fall out of step with
// the runtime's numbering.
const OperationInfo Operations[] = {
    {MIRL_OP_SCALE1, "scale1", "scale all vertices along X"},
    {MIRL_OP_SCALE2, "scale2", "scale all vertices along Y"},
    {MIRL_OP_SCALE3, "scale3", "scale all vertices along Z"},
    {MIRL_OP_SCALE4, "scale4", "scale all vertices uniformly"},
    {MIRL_OP_SCALE5, "scale5", "scale selected vertices along X"},
    {MIRL_OP_SCALE6, "scale6", "scale selected vertices along Y"},
    {MIRL_OP_SCALE7, "scale7", "scale selected vertices along Z"},
    {MIRL_OP_SCALE8, "scale8", "scale selected vertices uniformly"},
    {MIRL_OP_SCALECE, "scalece", "scale selected faces about their centres"},
    {MIRL_OP_TRANS1, "trans1", "move all vertices along X"},
    {MIRL_OP_TRANS2B, "trans2b", "move all vertices along Y"},
    {MIRL_OP_TRANS3, "trans3", "move all vertices along Z"},
    {MIRL_OP_TRANS4, "trans4", "move selected vertices along X"},
    {MIRL_OP_TRANS5, "trans5", "move selected vertices along Y"},
    {MIRL_OP_TRANS6, "trans6", "move selected vertices along Z"},
    {MIRL_OP_TRANS2, "trans2", "move selected faces along their normals"},
    {MIRL_OP_ROTATE1, "rotate1", "rotate the selection about X"},
    {MIRL_OP_ROTATE2, "rotate2", "rotate the selection about Y"},
    {MIRL_OP_ROTATE3, "rotate3", "rotate the selection about Z"},
    {MIRL_OP_SELECT1, "select1", "select all faces"},
    {MIRL_OP_SELECT2, "select2", "select no face"},
    {MIRL_OP_SELECT3, "select3", "invert the selection"},
    {MIRL_OP_SELECT4, "select4", "grow the selection"},
    {MIRL_OP_SELECT5, "select5", "select the faces around the selection"},
    {MIRL_OP_SELECT6, "select6", "select faces similar to the last pick along X"},
    {MIRL_OP_SELECT7, "select7", "select faces similar to the last pick along Y"},
    {MIRL_OP_SELECT8, "select8", "select faces similar to the last pick along Z"},
    {MIRL_OP_SUBD, "subd", "subdivide every face into four"},
    {MIRL_OP_SMOOOTH, "smoooth", "subdivide and smooth"},
    {MIRL_OP_ADDQUAD, "addquad", "extrude the selected faces"},
    {MIRL_OP_DELQUAD, "delQuad", "delete the selected faces"},
    {MIRL_OP_ADDCUBE, "addcube", "add the cube"},
    {MIRL_OPPICK, "select9", "toggle the selection of a face"},
};

const OperationInfo *infoOf(uint8_t opcode)
{
    for (const OperationInfo &info : Operations)
        if (info.opcode == opcode)
            return &info;
    return nullptr;
}

} // namespace

const char *operationName(uint8_t opcode)
{
    const OperationInfo *info = infoOf(opcode);
    return info ? info->name : nullptr;
}

const char *operationSummary(uint8_t opcode)
{
    const OperationInfo *info = infoOf(opcode);
    return info ? info->summary : nullptr;
}
