// Start-up, the command cycle, the camera and the GLUT callbacks.
#pragma once

// Everything main does before entering the GLUT main loop: the first
// restartScene, the window, the callbacks, the graphics state, the menus
// and the about text. Tests call it and then drive the callbacks.
void startEditor(int *argc, char **argv);

// The value one horizontal mouse event adds to the live parameter: the
// decoded ParamByte 129.
double parameterStep();

// The command cycle.
void dispatchCommand(int item); // menu callback; also the keys
void onMenuStatus(int status, int x, int y); // GLUT's menu status callback
void finishCommand();
void commitPreview();
void cancelPreview(); // Escape: the preview's step goes, nothing else changed
// One horizontal motion event in ModePreview: a command's preview or, while
// one is open, an edit of a step (which commit and cancel also end).
void previewStep(int direction);

// Camera and projection.
void setProjection(int width, int height); // also the reshape callback
void setCamera();
// The frame's and the pick pass's common start: projection, cleared buffers,
// camera, then pitch about X and yaw about Y.
void beginView();

// Input.
void trackMouse(int x, int y);
void onPassiveMotion(int x, int y);
void onMouseButton(int button, int state, int x, int y);
void onSpecialKey(int key, int x, int y);
void onKey(unsigned char key, int x, int y);

// The about text, printed at start-up and by About.
extern const char AboutText[];
void printAbout();
