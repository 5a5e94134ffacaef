/* The GLU function the programs use, for the web build (web/platform/gl_context.cpp). */
#ifndef WEB_GL_GLU_H
#define WEB_GL_GLU_H

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);

#ifdef __cplusplus
}
#endif

#endif
