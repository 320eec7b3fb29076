#include "playergen.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <map>
#include <memory>
#include <regex>
#include <set>

#include "conditionals.h"
#include "measure.h"

namespace {

// A marked block of the runtime's sources and the names it defines.
struct Block {
    std::vector<std::string> names;
    std::string text;
    bool always = false; // the shared prelude: types and macros
    bool publicFile = false; // from mirl.h: its macros stay defined
    std::vector<std::string> notes; // "@ assume: ..." lines: what the block assumes whenever it is used
    std::set<std::string> assumed;  // the measured macros its chosen branches depend on
    std::vector<int> deps;
};

const char PickName[] = "select9";

// The code without comments and string literals, for finding the names it
// uses.
std::string codeOnly(const std::string &s)
{
    static const std::regex noise(R"(/\*[\s\S]*?\*/|//[^\n]*|"(\\.|[^"\\])*")");
    return std::regex_replace(s, noise, " ");
}

std::vector<std::string> identifiers(const std::string &s)
{
    static const std::regex word(R"([A-Za-z_][A-Za-z_0-9]*)");
    std::vector<std::string> out;
    for (std::sregex_iterator i(s.begin(), s.end(), word), end; i != end; ++i)
        out.push_back(i->str());
    return out;
}

bool parseBlocks(std::vector<Block> *blocks, std::string *error)
{
    static const std::regex marker(R"(^/\*@ ([A-Za-z_0-9 ]+) \*/$)"), note(R"(^/\*@ assume: (.+) \*/$)");
    for (int f = 0; f < RuntimeSourceCount; f++) {
        const std::string text = RuntimeSources[f].text, file = RuntimeSources[f].name;
        Block *open = nullptr;
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(at, end - at);
            at = end + 1;
            std::smatch m;
            if (open && std::regex_match(line, m, note)) {
                open->notes.push_back(m[1]);
                continue;
            }
            if (!std::regex_match(line, m, marker)) {
                if (open)
                    open->text += line + "\n";
                continue;
            }
            if (m[1] == "end") {
                open = nullptr;
                continue;
            }
            if (open) {
                *error = file + ": block " + open->names[0] + " is not closed";
                return false;
            }
            blocks->push_back(Block());
            open = &blocks->back();
            open->names = identifiers(m[1]);
            open->always = open->names[0] == "prelude";
            open->publicFile = file == "mirl.h";
        }
        if (open) {
            *error = file + ": block " + open->names[0] + " is not closed";
            return false;
        }
    }
    return true;
}

// Keeps the branches of each block that hold for the objects; a name whose
// definition went with a dropped branch is no longer the block's.
bool resolveBlocks(std::vector<Block> *blocks, const std::map<std::string, KnownMacro> &known, std::string *error)
{
    for (Block &b : *blocks) {
        ResolvedText r;
        if (!resolveConditionals(b.text, known, &r, error)) {
            *error = "block " + b.names[0] + ", " + *error;
            return false;
        }
        b.text = r.text;
        b.assumed = r.assumed;
        if (b.always)
            continue;
        std::vector<std::string> ids = identifiers(codeOnly(b.text)), names;
        for (const std::string &n : b.names)
            if (std::find(ids.begin(), ids.end(), n) != ids.end())
                names.push_back(n);
        b.names = names;
    }
    return true;
}

// Each block depends on the blocks whose names its code uses; operations
// named only as table entries are not dependencies: the objects choose them.
bool linkBlocks(std::vector<Block> *blocks, std::map<std::string, int> *owner, std::string *error)
{
    static const std::regex entry(R"(MIRL_OPENTRY\(\w+\))");
    for (size_t b = 0; b < blocks->size(); b++)
        for (const std::string &n : (*blocks)[b].names)
            if (!(*blocks)[b].always && !owner->emplace(n, (int)b).second) {
                *error = "two blocks define " + n;
                return false;
            }
    for (size_t b = 0; b < blocks->size(); b++) {
        std::set<int> seen;
        for (const std::string &id : identifiers(std::regex_replace(codeOnly((*blocks)[b].text), entry, " "))) {
            auto o = owner->find(id);
            if (o != owner->end() && o->second != (int)b && seen.insert(o->second).second)
                (*blocks)[b].deps.push_back(o->second);
        }
    }
    return true;
}

void emitBlock(const std::vector<Block> &blocks, int b, std::vector<bool> *done, std::vector<int> *order)
{
    if ((*done)[b])
        return;
    (*done)[b] = true;
    for (int d : blocks[b].deps)
        emitBlock(blocks, d, done, order);
    order->push_back(b);
}

std::vector<std::string> definedMacros(const std::string &text)
{
    static const std::regex define(R"(#define (\w+))");
    std::vector<std::string> out;
    // Each name once, also when both branches of an #if define it.
    for (std::sregex_iterator i(text.begin(), text.end(), define), end; i != end; ++i)
        if (std::find(out.begin(), out.end(), (*i)[1].str()) == out.end())
            out.push_back((*i)[1].str());
    return out;
}

std::string valueList(const char *indent, const uint32_t *v, size_t n)
{
    std::string s = "{";
    for (size_t i = 0; i < n; i++) {
        if (i % 20 == 0 && n > 20)
            s += std::string("\n") + indent + "    ";
        s += std::to_string(v[i]) + (i + 1 < n ? ", " : "");
    }
    return s + (n > 20 ? std::string("\n") + indent + "}" : "}");
}

// A record as a braced initialiser: the used steps and picks; the rest of
// each array is zero, as in an export.
std::string objectText(const PlayerObject &o)
{
    std::vector<uint32_t> ops, params, picks;
    for (int i = 0; i < o.record.count; i++) {
        ops.push_back(o.record.ops[i]);
        params.push_back(o.record.params[i]);
        if (o.record.ops[i] == MIRL_OPPICK)
            picks.push_back(o.record.picks[picks.size()]);
    }
    if (ops.empty())
        ops.push_back(0), params.push_back(0);
    if (picks.empty())
        picks.push_back(0);
    return "extern const mirlObj " + o.name + ";\nconst mirlObj " + o.name + " = {\n    " +
           std::to_string(o.record.count) + ",\n    " + valueList("    ", ops.data(), ops.size()) + ",\n    " +
           valueList("    ", params.data(), params.size()) + ",\n    " +
           valueList("    ", picks.data(), picks.size()) + "\n};\n";
}

// 12345678 as "12,345,678".
std::string grouped(uint64_t n)
{
    std::string s = std::to_string(n);
    for (int i = (int)s.size() - 3; i > 0; i -= 3)
        s.insert((size_t)i, ",");
    return s;
}

// The macros a player's sources decide on: MIRL_PLAYER and what was
// measured of the objects, each with its value for any record.
std::map<std::string, KnownMacro> knownMacros(const ObjectNeeds &n, bool general)
{
    const int64_t most = INT64_MAX, capacity = MIRL_CAPACITY;
    std::map<std::string, KnownMacro> k = {
        {"MIRL_PLAYER", {1, 1}},
        {"MIRL_MOST_VERTS", {n.mostVerts, capacity}},
        {"MIRL_MOST_FACES", {n.mostFaces, capacity}},
        {"MIRL_SMOOTH_FACES", {n.smoothFaces, capacity}},
        {"MIRL_SMOOTH_WORK", {(int64_t)n.smoothWork, most}},
        {"MIRL_EXTRUDE_WORK", {(int64_t)n.extrudeWork, most}},
        {"MIRL_REFUSED_CUBE", {n.refusedCube, 1}},
        {"MIRL_REFUSED_EXTRUDE", {n.refusedExtrude, 1}},
        {"MIRL_REFUSED_SMOOTH", {n.refusedSmooth, 1}},
        {"MIRL_PICK_OUTSIDE", {n.pickOutside, 1}},
        {"MIRL_SIMILAR_USED", {n.similarUsed, 1}},
        {"MIRL_SIMILAR_FIRST", {n.similarFirst, 1}},
        {"MIRL_SIMILAR_NOFACE", {n.similarNoFace, 1}},
        {"MIRL_SKIPPED_STEPS", {n.skippedSteps, 1}},
    };
    if (general)
        for (auto &m : k)
            m.second.value = m.second.general;
    return k;
}

// The line that states what a player assumes when its text depends on the
// measured value of this macro.
std::string assumption(const std::string &macro, const ObjectNeeds &n)
{
    if (macro == "MIRL_MOST_VERTS")
        return "at most " + grouped(n.mostVerts) + " vertices";
    if (macro == "MIRL_MOST_FACES")
        return "at most " + grouped(n.mostFaces) + " faces";
    if (macro == "MIRL_SMOOTH_FACES")
        return "at most " + grouped(n.smoothFaces) + " faces before a smooth or subdivide";
    if (macro == "MIRL_SMOOTH_WORK")
        return "at most " + grouped(n.smoothFaces) + " faces before a smooth or subdivide, " +
               grouped(n.smoothWork) + " face pairs per object in all (their edge points found by a linear search)";
    if (macro == "MIRL_EXTRUDE_WORK")
        return "extrudes of at most " + grouped(n.extrudeWork) +
               " selected faces times faces per object in all (faces removed one at a time)";
    if (macro == "MIRL_REFUSED_CUBE")
        return "no add cube refused for capacity";
    if (macro == "MIRL_REFUSED_EXTRUDE")
        return "no extrude refused for capacity";
    if (macro == "MIRL_REFUSED_SMOOTH")
        return "no smooth or subdivide refused for capacity";
    if (macro == "MIRL_PICK_OUTSIDE")
        return "every pick within the mesh";
    if (macro == "MIRL_SIMILAR_USED")
        return "no select similar: the last picked face is not kept";
    if ((macro == "MIRL_SIMILAR_FIRST" || macro == "MIRL_SIMILAR_NOFACE") && !n.similarUsed)
        return ""; // no select similar at all, which its own line says
    if (macro == "MIRL_SIMILAR_FIRST")
        return "no select similar before an object's first pick";
    if (macro == "MIRL_SIMILAR_NOFACE")
        return "every select similar has a last picked face within the mesh";
    if (macro == "MIRL_SKIPPED_STEPS")
        return "no step with an opcode that has no operation";
    return "";
}

std::string header(const std::vector<PlayerObject> &objects, PlayerKind kind,
                   const std::vector<std::string> &assumptions)
{
    const bool everyOperation = kind == PlayerEveryOperation;
    std::string names;
    for (const PlayerObject &o : objects)
        names += (names.empty() ? "" : ", ") + o.name;
    std::string what = everyOperation ? "every mirl operation" : "the mirl operations its objects use";
    if (!objects.empty())
        what += ", with the objects " + names;
    std::string contract;
    if (everyOperation) {
        contract = "   It replays any record to the same bits as the mirl editor, on every\n"
                   "   platform.";
    } else if (kind == PlayerGeneral) {
        contract = "   It replays any record that uses only these operations to the same\n"
                   "   bits as the mirl editor, on every platform.";
    } else {
        contract = "   It replays its objects to the same bits as the mirl editor, on every\n"
                   "   platform, and is made for them alone: replayobj of any other record is\n"
                   "   outside its contract.";
    }
    if (!assumptions.empty()) {
        contract += kind != PlayerSpecialised ? " It assumes:\n" : " Measured by replaying the objects, it assumes:\n";
        for (const std::string &a : assumptions)
            contract += "   - " + a + "\n";
    } else {
        contract += "\n";
    }
    return "/* A mirl player: " + what + ".\n"
           "   Generated by mirl-tool from the mirl runtime's own sources; do not edit.\n"
           "\n" + contract +
           "\n"
           "   Compile it with the demo (C99 or C++), or #include it into one of its\n"
           "   files, after mirl.h or without it. Keep the floating point exact: no\n"
           "   contraction and no fast-math, SSE2 on 32-bit x86 (GCC and Clang:\n"
           "   -ffp-contract=off -msse2 -mfpmath=sse; MSVC: /fp:precise, /arch:SSE2 on\n"
           "   x86). Then, for each object:\n"
           "\n"
           "       static Mesh mesh;                  (14 MB: keep it static)\n"
           "       mesh.nverts = mesh.nquads = 0;     (replay into an empty mesh)\n"
           "       replayobj(&name, &mesh);\n"
           "\n"
           "   and draw mesh.quads[0 .. nquads) over mesh.verts[0 .. nverts): corners\n"
           "   run clockwise seen from the side the face normal points to; the normals\n"
           "   mesh.fnormals and mesh.vnormals are not of unit length. The player\n"
           "   needs memcpy, memset and memmove and nothing else from the C library,\n"
           "   and at most 4 MB of static memory beside the caller's Mesh. */\n";
}

// The header beside the player: what the demo's other files need.
std::string interfaceHeader(const std::vector<Block> &blocks, const std::vector<PlayerObject> &objects,
                            const std::string &headerName)
{
    std::string guard = "MIRL_PLAYER_";
    for (char c : headerName.substr(headerName.find_last_of("/\\") + 1))
        guard += std::isalnum((unsigned char)c) ? (char)std::toupper((unsigned char)c) : '_';
    std::string h = "/* The interface of a mirl player (generated by mirl-tool; do not edit):\n"
                    "   its types, replayobj and its objects. Include it in the demo's files\n"
                    "   that replay or draw them; compile the player itself once. */\n"
                    "#ifndef " + guard + "\n#define " + guard + "\n\n#include <stdint.h>\n\n"
                    "#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n";
    for (const Block &b : blocks)
        if (b.always && b.publicFile)
            h += b.text + "\n";
    h += "#if defined(__GNUC__)\n"
         "/* An exported Mirljects.h initialises each mirlObj with one flat list. */\n"
         "#pragma GCC diagnostic ignored \"-Wmissing-braces\"\n"
         "#endif\n\n"
         "void replayobj(const mirlObj *r, Mesh *m);\n"
         "/* Applies r's steps to m, which the caller empties first (both counts 0). */\n";
    if (!objects.empty())
        h += "\n";
    for (const PlayerObject &o : objects)
        h += "extern const mirlObj " + o.name + ";\n";
    return h + "\n#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
}

} // namespace

bool isPlayerName(const std::string &name)
{
    static const std::set<std::string> reserved = {"replayobj", "Mesh", "Vec3", "Quad", "mirlObj", "mirlOp",
                                                    "mirlOpcode"};
    return reserved.count(name) || name.rfind("MIRL_", 0) == 0 || name.rfind("mirl", 0) == 0;
}

bool makePlayer(const std::vector<PlayerObject> &objects, PlayerKind kind, const std::string &headerName,
                PlayerFiles *files, std::string *error)
{
    const bool everyOperation = kind == PlayerEveryOperation;
    // What the objects need, from replaying them with the runtime.
    ObjectNeeds needs;
    {
        std::unique_ptr<Mesh> mesh(new Mesh);
        for (const PlayerObject &o : objects)
            addNeeds(&needs, measureObject(o.record, mesh.get()));
    }
    const std::map<std::string, KnownMacro> known = knownMacros(needs, kind != PlayerSpecialised);

    std::vector<Block> blocks;
    std::map<std::string, int> owner;
    if (!parseBlocks(&blocks, error) || !resolveBlocks(&blocks, known, error) || !linkBlocks(&blocks, &owner, error))
        return false;
    auto table = owner.find("OperationTable"), replay = owner.find("replayobj");
    if (table == owner.end() || replay == owner.end()) {
        *error = "the sources have no operation table or replay";
        return false;
    }
    // The table's entries in opcode order, then the pick.
    std::vector<std::string> entries;
    static const std::regex entry(R"(MIRL_OPENTRY\((\w+)\))");
    const std::string &tableText = blocks[table->second].text;
    for (std::sregex_iterator i(tableText.begin(), tableText.end(), entry), end; i != end; ++i)
        entries.push_back((*i)[1].str());
    if (entries.size() != MIRL_NUMOPS + 1 || entries.back() != PickName) {
        *error = "the operation table does not list 32 operations and the pick";
        return false;
    }

    std::set<std::string> used;
    for (const PlayerObject &o : objects)
        for (int i = 0; i < o.record.count; i++) {
            uint8_t op = o.record.ops[i];
            if (op < MIRL_NUMOPS)
                used.insert(entries[op]);
            else if (op == MIRL_OPPICK)
                used.insert(PickName);
        }
    if (everyOperation)
        used.insert(entries.begin(), entries.end());

    std::vector<bool> done(blocks.size());
    std::vector<int> order;
    for (size_t b = 0; b < blocks.size(); b++)
        if (blocks[b].always)
            emitBlock(blocks, (int)b, &done, &order);
    size_t prelude = order.size();
    for (const std::string &e : entries)
        if (used.count(e)) {
            auto o = owner.find(e);
            if (o == owner.end()) {
                *error = "no block defines the operation " + e;
                return false;
            }
            emitBlock(blocks, o->second, &done, &order);
        }
    emitBlock(blocks, replay->second, &done, &order);

    // What the file assumes: of the records, where a measured value chose
    // its text, and whatever its blocks assume whenever they are used.
    std::set<std::string> assumed;
    std::vector<std::string> &lines = files->assumptions;
    lines.clear();
    for (int b : order) {
        assumed.insert(blocks[b].assumed.begin(), blocks[b].assumed.end());
        for (const std::string &n : blocks[b].notes)
            if (std::find(lines.begin(), lines.end(), n) == lines.end())
                lines.push_back(n);
    }
    std::vector<std::string> measured;
    for (const std::string &m : assumed)
        if (!assumption(m, needs).empty())
            measured.push_back(assumption(m, needs));
    lines.insert(lines.begin(), measured.begin(), measured.end());

    std::string out = header(objects, kind, lines);
    out += "#include <stdint.h>\n#include <string.h>\n\n#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n";
    std::vector<std::string> privateNames;
    for (size_t i = 0; i < prelude; i++) {
        out += blocks[order[i]].text + "\n";
        if (!blocks[order[i]].publicFile)
            for (const std::string &m : definedMacros(blocks[order[i]].text))
                privateNames.push_back(m);
    }
    for (const PlayerObject &o : objects)
        out += objectText(o) + "\n";

    // The routines keep their names in the text, but under a prefix, so that
    // the file may follow mirl.h, which declares the runtime's public ones.
    std::string renames, body;
    for (size_t i = prelude; i < order.size(); i++) {
        const Block &b = blocks[order[i]];
        std::vector<std::string> macros = definedMacros(b.text);
        for (const std::string &n : b.names) {
            bool isMacro = false;
            for (const std::string &m : macros)
                isMacro = isMacro || m == n;
            if (n == "replayobj" || isMacro)
                continue;
            renames += "#define " + n + " mirlp_" + n + "\n";
            privateNames.push_back(n);
        }
        for (const std::string &m : macros)
            privateNames.push_back(m);
        std::string text = b.text;
        for (const std::string &e : entries)
            text = std::regex_replace(text, std::regex("MIRL_OPENTRY\\(" + e + "\\)"), used.count(e) ? e : "0");
        body += text + "\n";
    }
    out += "/* Private to this file. */\n" + renames + "\n" + body + "MIRL_OPTIONS_END\n";
    for (const std::string &n : privateNames)
        out += "#undef " + n + "\n";
    out += "\n#ifdef __cplusplus\n}\n#endif\n";
    files->source = out;
    files->header = interfaceHeader(blocks, objects, headerName);
    return true;
}
