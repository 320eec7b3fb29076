// File helpers for the tests: a private temporary folder, whole-file reads
// and writes, and a temporary limit on file sizes (a write failure that
// happens even for root, who ignores permission bits).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <sys/resource.h>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }
    // Names in the folder, sorted (no "." or "..").
    std::vector<std::string> list() const;

  private:
    std::string path_;
};

std::vector<uint8_t> readFile(const std::string &path);
void writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
void writeFile(const std::string &path, const std::string &text);
std::string readText(const std::string &path);
bool exists(const std::string &path);

// While alive, writes past `bytes` into any regular file fail with EFBIG
// (SIGXFSZ ignored).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();

  private:
    struct rlimit old_;
    void (*oldHandler_)(int);
};

// The object file image of r, built field by field as the format describes
// (count, opcodes, parameter bytes, picks little-endian), and its text form
// with 0x0D before every 0x0A.
std::vector<uint8_t> imageOf(const struct mirlObj &r);
std::vector<uint8_t> textOf(const std::vector<uint8_t> &image);
