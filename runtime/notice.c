/* The runtime's one way to tell the user something: a hook the editor points
   at a modal message box. The default is one line on stderr; a generated
   player has no notices at all. */
#include <stdio.h>

#include "internal.h"

MIRL_SECTION(".notice") static void stderrnote(const char *title, const char *text)
{
    fprintf(stderr, "mirl: %s: %s\n", text, title);
}

static mirlNotice NoticeHook = stderrnote;

MIRL_SECTION(".notice") void setnote(mirlNotice fn)
{
    NoticeHook = fn ? fn : stderrnote;
}

MIRL_SECTION(".notice") void notify(const char *title, const char *text)
{
    NoticeHook(title, text);
}
