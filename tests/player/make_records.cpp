// Writes the records the players are checked on into FOLDER: each as
// NAME.mrl, as the editor saves it, and FOLDER/reference.txt, one line
// "NAME DIGEST" each, the digest of the mesh the editor's runtime replays
// from the file.
// usage: make_records FOLDER [RANDOM_COUNT]
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "mirlfile.h"
// after the types
#include "meshdigest.h"
#include "randrec.h"
#include "samplerecs.h"
#include "testmesh.h"


int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_records FOLDER [RANDOM_COUNT]\n");
        return 2;
    }
    namespace fs = std::filesystem;
    fs::path folder = fs::absolute(argv[1]);
    std::vector<SampleRecord> records = sampleRecords(), guarded = guardRecords();
    records.insert(records.end(), guarded.begin(), guarded.end());
    auto mesh = newMesh();
    RecOptions o;
    for (int seed = 1; argc > 2 && seed <= std::atoi(argv[2]); seed++)
        records.push_back({"r" + std::to_string(seed), randomRecord(1000 + seed, o, mesh.get())});

    std::error_code made;
    fs::create_directories(folder, made);
    FILE *reference = std::fopen((folder / "reference.txt").c_str(), "w");
    if (!reference) {
        std::fprintf(stderr, "make_records: cannot write in %s\n", folder.c_str());
        return 1;
    }
    fs::current_path(folder);
    for (const SampleRecord &s : records) {
        setrec(&s.record);
        std::string file = s.name + ".mrl";
        if (!saveobj(file.c_str()) || !loadobj(file.c_str(), mesh.get()))
            return 1;
        std::fprintf(reference, "%s %016" PRIx64 "\n", s.name.c_str(), meshDigestOf(mesh.get()));
    }
    return std::fclose(reference) == 0 ? 0 : 1;
}
