#include <GL/freeglut.h>

#include "platform.h"

static void glutAttach(int menu, int button)
{
    glutSetMenu(menu);
    glutAttachMenu(button);
}

const PlatformBackend GlutPlatform = {
    glutSetCursor, glutAttach, glutDetachMenu, glutPostRedisplay, glutGetModifiers, glutSwapBuffers,
};

static const PlatformBackend *Current = &GlutPlatform;

void setPlatformBackend(const PlatformBackend *backend)
{
    Current = backend ? backend : &GlutPlatform;
}

const PlatformBackend &platform()
{
    return *Current;
}
