/* The GLUT functions the programs use, for the web build: each window is a canvas of the page
 * (web/platform/glut_web.cpp). Numbers are GLUT's own. */
#ifndef WEB_GL_FREEGLUT_H
#define WEB_GL_FREEGLUT_H

#include <GL/gl.h>
#include <GL/glu.h>

#ifdef __cplusplus
extern "C" {
#endif

#define GLUT_RGB 0x0000
#define GLUT_RGBA 0x0000
#define GLUT_SINGLE 0x0000
#define GLUT_DOUBLE 0x0002
#define GLUT_DEPTH 0x0010

#define GLUT_LEFT_BUTTON 0x0000
#define GLUT_MIDDLE_BUTTON 0x0001
#define GLUT_RIGHT_BUTTON 0x0002
#define GLUT_DOWN 0x0000
#define GLUT_UP 0x0001

#define GLUT_KEY_F1 0x0001
#define GLUT_KEY_F2 0x0002
#define GLUT_KEY_F3 0x0003
#define GLUT_KEY_F4 0x0004
#define GLUT_KEY_F5 0x0005
#define GLUT_KEY_F6 0x0006
#define GLUT_KEY_F7 0x0007
#define GLUT_KEY_F8 0x0008
#define GLUT_KEY_F9 0x0009
#define GLUT_KEY_F10 0x000A
#define GLUT_KEY_F11 0x000B
#define GLUT_KEY_F12 0x000C
#define GLUT_KEY_LEFT 0x0064
#define GLUT_KEY_UP 0x0065
#define GLUT_KEY_RIGHT 0x0066
#define GLUT_KEY_DOWN 0x0067

#define GLUT_CURSOR_LEFT_ARROW 0x0001
#define GLUT_CURSOR_SPRAY 0x0006
#define GLUT_CURSOR_CROSSHAIR 0x0009
#define GLUT_CURSOR_INHERIT 0x0064

/* The one bitmap font there is: 8 x 13 pixels. */
#define GLUT_BITMAP_8_BY_13 ((void*)3)

void glutInit(int* argc, char** argv);
void glutInitDisplayMode(unsigned int mode);
void glutInitWindowSize(int width, int height);
void glutInitWindowPosition(int x, int y);
int glutCreateWindow(const char* title);
int glutGetWindow(void);
void glutSetWindow(int window);
void glutReshapeWindow(int width, int height);
void glutSetCursor(int cursor);
void glutPostRedisplay(void);
void glutSwapBuffers(void);
void glutMainLoop(void);
void glutBitmapCharacter(void* font, int character);

void glutDisplayFunc(void (*callback)(void));
void glutReshapeFunc(void (*callback)(int width, int height));
void glutKeyboardFunc(void (*callback)(unsigned char key, int x, int y));
void glutSpecialFunc(void (*callback)(int key, int x, int y));
void glutMouseFunc(void (*callback)(int button, int state, int x, int y));
void glutMotionFunc(void (*callback)(int x, int y));
void glutPassiveMotionFunc(void (*callback)(int x, int y));
void glutIdleFunc(void (*callback)(void));

#ifdef __cplusplus
}
#endif

#endif
