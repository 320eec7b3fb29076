// What the fuzz harnesses share: a broken invariant aborts, which libFuzzer
// reports as a finding, and the library's notices stay quiet.
#pragma once

#include <cstdlib>

static void check(bool ok)
{
    if (!ok)
        std::abort();
}

static void quietNotice(const char *, const char *) {}
