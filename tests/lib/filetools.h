// File helpers for the file and tool tests: a private temporary folder,
// whole-file reads and writes, and a file size limit (a write failure that
// hits root too).
#pragma once

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "mirl.h"

struct TempDir {
    std::string path;
    TempDir()
    {
        char name[] = "/tmp/mirltest.XXXXXX";
        if (!mkdtemp(name))
            throw std::runtime_error("mkdtemp failed");
        path = name;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string operator/(const std::string &name) const { return path + "/" + name; }
};

inline std::vector<uint8_t> readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string readText(const std::string &path)
{
    std::vector<uint8_t> b = readFile(path);
    return std::string(b.begin(), b.end());
}

template <class Bytes> void writeFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(bytes.data()), bytes.size());
}

// While alive, writes past `bytes` into a regular file fail with EFBIG.
struct FileSizeLimit {
    struct rlimit old;
    void (*oldHandler)(int);
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
};

// What f returns, run while writes past `bytes` into a regular file fail.
template <class F> auto withFileSizeLimit(rlim_t bytes, F f)
{
    FileSizeLimit limit(bytes);
    return f();
}
