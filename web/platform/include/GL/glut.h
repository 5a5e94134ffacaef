/* GLUT for the web build: the same functions as <GL/freeglut.h>. */
#include <GL/freeglut.h>
