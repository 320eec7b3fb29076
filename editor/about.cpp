#include <cstdio>

#include "editor.h"

const char AboutText[] =
    "\n\n M I R L  Modeller (Release 1.0.2)\n"
    "-----------------------------------\n"
    "  This is mirl, a simple 3d modeller for demoscene intros.\n"
    "  Written by Orne of Wexal.\n"
    "  News and releases are published with Wexal's productions.\n"
    "  Beta Test Credits: \n"
    "    the Wexal crew and the sceners who modelled with the early builds.\n"
    "\n\n\n";

void printAbout()
{
    std::fputs(AboutText, stdout);
    std::fflush(stdout);
}
