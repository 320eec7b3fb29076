// The few window-system calls whose effect the editor's tests want to see
// (cursor, menu attachment, redisplay requests, modifier keys) go through a
// small backend table. The program uses GLUT's; a test may install its own.
#pragma once

struct PlatformBackend {
    void (*setCursor)(int shape);          // a GLUT_CURSOR_* shape
    void (*attachMenu)(int menu, int button);
    void (*detachMenu)(int button);
    void (*postRedisplay)(void);
    int (*modifiers)(void);                // glutGetModifiers
    void (*swapBuffers)(void);             // shows the frame just drawn
};

extern const PlatformBackend GlutPlatform;

// Installs a backend; nullptr restores GLUT's.
void setPlatformBackend(const PlatformBackend *backend);
const PlatformBackend &platform();
