// Writes the sample records as object files into a folder, the way the
// editor saves them, and exports all of them, the way the editor does, to
// FOLDER/all/Mirljects.h (mrlj0 the cube, mrlj1 the picked record, ...).
#include <cstdio>
#include <filesystem>

#include "mirlfile.h"
#include "samplerecs.h"

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_records FOLDER\n");
        return 2;
    }
    std::filesystem::path folder = argv[1];
    std::vector<SampleRecord> samples = sampleRecords();
    for (const SampleRecord &s : samples) {
        useRecord(s.record);
        if (!saveobj((folder / (s.name + ".mrl")).c_str()))
            return 1;
    }
    std::filesystem::create_directories(folder / "all");
    std::filesystem::current_path(folder / "all");
    for (size_t i = 0; i < samples.size(); i++) {
        useRecord(samples[i].record);
        if (!exportobj(("mrlj" + std::to_string(i)).c_str()))
            return 1;
    }
    std::printf("%zu records\n", samples.size());
    return 0;
}
