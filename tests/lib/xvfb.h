// A private X server for the GUI tests: Xvfb on a free display, chosen by
// the server itself (-displayfd), stopped by its process id.
#pragma once

#include <string>
#include <sys/types.h>

struct XvfbServer {
    pid_t pid = -1;
    std::string display; // ":N"
};

// Starts Xvfb with a 1600x1200x24 screen; an empty display on failure.
XvfbServer startXvfb();
void stopXvfb(XvfbServer &server);
