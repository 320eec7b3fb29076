#include "filetools.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <algorithm>

#include "mirl.h"

TempDir::TempDir()
{
    char name[] = "/tmp/mirltest.XXXXXX";
    if (!mkdtemp(name))
        throw std::runtime_error("mkdtemp failed");
    path_ = name;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::vector<std::string> TempDir::list() const
{
    std::vector<std::string> names;
    for (auto &e : std::filesystem::directory_iterator(path_))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string readText(const std::string &path)
{
    std::vector<uint8_t> b = readFile(path);
    return std::string(b.begin(), b.end());
}

void writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeFile(const std::string &path, const std::string &text)
{
    writeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

bool exists(const std::string &path)
{
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found &&
           !ec;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old_;
    lim.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lim);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
}

std::vector<uint8_t> imageOf(const mirlObj &r)
{
    std::vector<uint8_t> image;
    image.push_back(r.count);
    image.insert(image.end(), r.ops, r.ops + 256);
    image.insert(image.end(), r.params, r.params + 256);
    for (int i = 0; i < 256; i++) {
        uint32_t p = r.picks[i];
        for (int shift = 0; shift < 32; shift += 8)
            image.push_back(static_cast<uint8_t>(p >> shift));
    }
    return image;
}

std::vector<uint8_t> textOf(const std::vector<uint8_t> &image)
{
    std::vector<uint8_t> text;
    for (uint8_t b : image) {
        if (b == 0x0A)
            text.push_back(0x0D);
        text.push_back(b);
    }
    return text;
}
