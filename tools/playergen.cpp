#include "playergen.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <set>

namespace {

// A marked block of the runtime's sources and the names it defines.
struct Block {
    std::vector<std::string> names;
    std::string text;
    bool always = false; // the shared prelude: types and macros
    bool publicFile = false; // from mirl.h: its macros stay defined
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
    static const std::regex marker(R"(^/\*@ ([A-Za-z_0-9 ]+) \*/$)");
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

std::string header(const std::vector<PlayerObject> &objects, bool everyOperation)
{
    std::string names;
    for (const PlayerObject &o : objects)
        names += (names.empty() ? "" : ", ") + o.name;
    std::string what = everyOperation ? "every mirl operation" : "the mirl operations its objects use";
    if (!objects.empty())
        what += ", with the objects " + names;
    return "/* A mirl player: " + what + ".\n"
           "   Generated by mirl-tool from the mirl runtime's own sources; do not edit.\n"
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
           "   and at most 4 MB of static memory beside the caller's Mesh. It replays\n"
           "   the objects to the same bits as the mirl editor, on every platform. */\n";
}

} // namespace

bool isPlayerName(const std::string &name)
{
    static const std::set<std::string> reserved = {"replayobj", "Mesh", "Vec3", "Quad", "mirlObj", "mirlOp",
                                                    "mirlOpcode"};
    return reserved.count(name) || name.rfind("MIRL_", 0) == 0 || name.rfind("mirl", 0) == 0;
}

std::string makePlayer(const std::vector<PlayerObject> &objects, bool everyOperation, std::string *error)
{
    std::vector<Block> blocks;
    std::map<std::string, int> owner;
    if (!parseBlocks(&blocks, error) || !linkBlocks(&blocks, &owner, error))
        return "";
    auto table = owner.find("OperationTable"), replay = owner.find("replayobj");
    if (table == owner.end() || replay == owner.end()) {
        *error = "the sources have no operation table or replay";
        return "";
    }
    // The table's entries in opcode order, then the pick.
    std::vector<std::string> entries;
    static const std::regex entry(R"(MIRL_OPENTRY\((\w+)\))");
    const std::string &tableText = blocks[table->second].text;
    for (std::sregex_iterator i(tableText.begin(), tableText.end(), entry), end; i != end; ++i)
        entries.push_back((*i)[1].str());
    if (entries.size() != MIRL_NUMOPS + 1 || entries.back() != PickName) {
        *error = "the operation table does not list 32 operations and the pick";
        return "";
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
                return "";
            }
            emitBlock(blocks, o->second, &done, &order);
        }
    emitBlock(blocks, replay->second, &done, &order);

    std::string out = header(objects, everyOperation);
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
    return out;
}
