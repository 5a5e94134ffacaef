// Hands one frame of the surface window to OpenGL.
#include "surface_drawing.h"

#include <GL/freeglut.h>

#include "camera.h"
#include "controls_file.h"
#include "editor_state.h"
#include "revolution_surface.h"
#include "scene_frame.h"
#include "surface_keys.h"
#include "surface_tessellation.h"

namespace {

void emitVertex(const StripVertex& vertex) {
    glNormal3f(singlePrecision(vertex.normal.x), singlePrecision(vertex.normal.y),
               singlePrecision(vertex.normal.z));
    glVertex3f(singlePrecision(vertex.point.x), singlePrecision(vertex.point.y),
               singlePrecision(vertex.point.z));
}

void emitBand(const SurfaceBand& band) {
    for (const TriangleStrip& strip : band) {
        glBegin(GL_TRIANGLE_STRIP);
        for (const StripVertex& vertex : strip) emitVertex(vertex);
        glEnd();
    }
}

// The light is positioned after the camera transform, so it stays fixed in the world.
void applyLightAndMaterial() {
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, lightSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, materialDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, materialSpecular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SHININESS, materialShininess);
}

}  // namespace

void drawSurface() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    applyCameraTransform();
    rebuildSurface();
    drawGroundGrid();  // unlit: lighting was switched off at the end of the last frame
    drawAxes();

    glPolygonMode(GL_FRONT_AND_BACK, surfaceToggles.wireframe ? GL_LINE : GL_FILL);
    if (surfaceToggles.backFaceCulling) glEnable(GL_CULL_FACE);
    glLineWidth(1.0f);
    glColor3f(1.0f, 0.0f, 0.0f);
    applyLightAndMaterial();

    // Bands are handed over as they are computed, so only one is held at a time.
    tessellateSurface(revolutionSurface, editorState.revolutionSampleCount,
                      editorState.curveSampleCount, emitBand);

    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glFlush();
    glutSwapBuffers();
}
