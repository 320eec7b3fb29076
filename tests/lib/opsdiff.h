// The operations against the literal algorithms (oracle.h): random meshes
// and records, replayed or run by both, compared bit for bit.
#pragma once

#include <string>

#include "randrec.h"
#include "testmesh.h"

// The cube with normals and the given flags ("100100": faces 0 and 3),
// Recorder off, record empty.
std::unique_ptr<Mesh> cubeMesh(const char *flags = "111111");
// Sets face q's flag to flags[q] ('0' or '1') for every face of m.
void setFlags(Mesh *m, const char *flags);

// Random records of the seeds [first, first + count) replayed by the runtime
// and by oracle::replay: "" when every mesh and LastPickedFace agree; opcodes[op] counts the steps of each opcode.
std::string diffRecords(uint64_t first, uint64_t count, const RecOptions &o, long opcodes[256]);

// Six random operations of opcodes 0-18, 27-30 in a row on random meshes,
// runtime against oracle.
std::string diffMeshes(uint64_t first, uint64_t count, uint32_t maxVerts, uint32_t maxQuads);
