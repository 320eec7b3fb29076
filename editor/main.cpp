#include <GL/freeglut.h>

#include "editor.h"

int main(int argc, char **argv)
{
    startEditor(&argc, argv);
    glutMainLoop();
    return 0;
}
