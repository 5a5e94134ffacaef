// Subdivo page's teaching views: the counts of the level shown and of the next one; one step
// shown phase by phase over the level before it (its net, then each kind of new point or new
// face in its own colour), with the faces a tapped face becomes; and a second window beside
// the first showing another scheme on the same model and level through the same camera. The
// program's own frame draws the window whenever no phase is shown (a heavy model's a window of
// faces per pass, face_windows).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include <emscripten.h>

#include <GL/freeglut.h>

#include "camera.h"
#include "face_windows.h"
#include "level_counts.h"
#include "model_size.h"
#include "scene_frame.h"
#include "screen_box.h"
#include "step_phases.h"
#include "subdivision_level.h"
#include "subdivo_viewer.h"

// From subdivo_page.cpp: the heap a level may take now, in MiB.
extern "C" double webBudgetMiB();

namespace {

// Levels beyond these many faces are too dense to watch a step of, or to build a second time
// on the page's thread for the side-by-side picture; the counts of a level beyond the last
// would hold the page's thread too long.
constexpr std::int64_t mostPhasedFaces = 200000;
constexpr std::int64_t mostComparedFaces = 200000;
constexpr std::int32_t mostCountedFaces = 400000;

// Colours of the pictures: the level before as a pale blue net, the new points by kind, the faces a
// tapped face becomes; the new faces keep their kind's colour (faceKindColor).
constexpr float netColor[3] = {0.55f, 0.85f, 0.95f};
constexpr float facePointColor[3] = {1.0f, 0.45f, 0.35f};
constexpr float edgePointColor[3] = {0.35f, 1.0f, 0.35f};
constexpr float vertexPointColor[3] = {0.45f, 0.65f, 1.0f};
constexpr float pickedColor[3] = {1.0f, 0.9f, 0.2f};
constexpr float pickedOutlineColor[3] = {1.0f, 1.0f, 1.0f};

// New faces are drawn shrunk towards their centre, so that each stands apart from its
// neighbours of the same colour and the net behind shows through the gaps.
constexpr float faceShrink = 0.88f;
// A new point is drawn as a small octahedron of this radius, a share of the model's size.
constexpr double pointRadiusShare = 0.025;

LevelCounts shownCounts;
LevelCounts nextCounts;
bool nextCounted = false;

StepPhases phases;
std::vector<PhasePart> parts;
int phaseShown = -1;  // the last part drawn; -1 when no phase is shown
std::int32_t pickedFace = -1;
std::vector<std::int32_t> pickedChildren;
double pointRadius = 0.01;

ObjModel* comparedModel = nullptr;
int comparedLevel = 0;
int compareWindow = 0;  // 0 until the second window is made
bool comparing = false;

void color(const float (&rgb)[3]) { glColor3f(rgb[0], rgb[1], rgb[2]); }

Vec3f cartesian(const Vec4f& p) {
    const float w = p.w != 0.0f ? p.w : 1.0f;
    return {p.x / w, p.y / w, p.z / w};
}

// The edges of every face of the level before the step.
void drawNet() {
    color(netColor);
    glLineWidth(1.0f);
    const FaceVertexArrays& faces = phases.parentFaces;
    for (std::int32_t f = 0; f < faceCount(faces); ++f) {
        glBegin(GL_LINE_LOOP);
        for (std::int32_t c = faces.faceStart[f]; c < faces.faceStart[f + 1]; ++c) {
            const Vec4f& p = phases.parentPositions[faces.cornerVertex[c]];
            glVertex4f(p.x, p.y, p.z, p.w);
        }
        glEnd();
    }
}

void drawOctahedron(const Vec3f& centre) {
    const float r = float(pointRadius);
    const Vec3f tips[6] = {{r, 0, 0}, {-r, 0, 0}, {0, r, 0}, {0, -r, 0}, {0, 0, r}, {0, 0, -r}};
    glBegin(GL_TRIANGLES);
    for (int x = 0; x < 2; ++x)
        for (int y = 2; y < 4; ++y)
            for (int z = 4; z < 6; ++z)
                for (const Vec3f& tip : {tips[x], tips[y], tips[z]})
                    glVertex3f(centre.x + tip.x, centre.y + tip.y, centre.z + tip.z);
    glEnd();
}

// A kind of new point: each point, and for the vertex points the path from the old place.
void drawPoints(PhasePart part, const float (&rgb)[3]) {
    const PointRange range = pointsOfPart(phases, part);
    color(rgb);
    for (std::int32_t v = range.begin; v < range.end; ++v)
        drawOctahedron(cartesian(phases.childPositions[v]));
    if (part != PhasePart::vertexPoints) return;
    glBegin(GL_LINES);
    for (std::int32_t v = range.begin; v < range.end; ++v) {
        const Vec4f& from = phases.parentPositions[v];
        const Vec4f& to = phases.childPositions[v];
        glVertex4f(from.x, from.y, from.z, from.w);
        glVertex4f(to.x, to.y, to.z, to.w);
    }
    glEnd();
}

void drawShrunkFace(const FaceVertexArrays& faces, const std::vector<Vec4f>& positions,
                    std::int32_t f) {
    const std::int32_t first = faces.faceStart[f];
    const std::int32_t end = faces.faceStart[f + 1];
    Vec3f centre{0.0f, 0.0f, 0.0f};
    for (std::int32_t c = first; c < end; ++c)
        centre = centre + cartesian(positions[faces.cornerVertex[c]]);
    centre = scaled(centre, 1.0f / float(std::max(1, end - first)));
    glBegin(GL_POLYGON);
    for (std::int32_t c = first; c < end; ++c) {
        const Vec3f p = cartesian(positions[faces.cornerVertex[c]]);
        const Vec3f q = centre + scaled(between(centre, p), faceShrink);
        glVertex3f(q.x, q.y, q.z);
    }
    glEnd();
}

bool isPicked(std::int32_t childFace) {
    return std::binary_search(pickedChildren.begin(), pickedChildren.end(), childFace);
}

// The new faces a part adds, each in its kind's colour; those of the tapped face are drawn
// with the picked ones.
void drawNewFaces(PhasePart part) {
    for (const FaceKindRange& range : phases.childKinds) {
        if (!partShowsFaceKind(part, range.kind)) continue;
        color(faceKindColor(range.kind));
        for (std::int32_t f = range.begin; f < range.end; ++f)
            if (!isPicked(f)) drawShrunkFace(phases.childFaces, phases.childPositions, f);
    }
}

// The tapped face outlined, and the new faces it becomes filled, whatever the phase.
void drawPicked() {
    if (pickedFace < 0) return;
    color(pickedColor);
    for (std::int32_t f : pickedChildren)
        drawShrunkFace(phases.childFaces, phases.childPositions, f);
    color(pickedOutlineColor);
    glLineWidth(2.0f);
    const FaceVertexArrays& faces = phases.parentFaces;
    glBegin(GL_LINE_LOOP);
    for (std::int32_t c = faces.faceStart[pickedFace]; c < faces.faceStart[pickedFace + 1]; ++c) {
        const Vec4f& p = phases.parentPositions[faces.cornerVertex[c]];
        glVertex4f(p.x, p.y, p.z, p.w);
    }
    glEnd();
    glLineWidth(1.0f);
}

void drawPart(PhasePart part) {
    switch (part) {
        case PhasePart::previousNet: drawNet(); break;
        case PhasePart::facePoints: drawPoints(part, facePointColor); break;
        case PhasePart::edgePoints: drawPoints(part, edgePointColor); break;
        case PhasePart::vertexPoints: drawPoints(part, vertexPointColor); break;
        default: drawNewFaces(part); break;
    }
}

bool addsFaces(PhasePart part) {
    for (int kind = 0; kind < faceKindCount; ++kind)
        if (partShowsFaceKind(part, FaceKind(kind))) return true;
    return false;
}

// Points and their paths are seen from every side; faces are culled as the program culls them.
void drawPart(PhasePart part, bool culling) {
    if (culling && addsFaces(part))
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    drawPart(part);
}

// The frame of a phase: the program's camera, grid and axes, then the parts shown so far.
void drawPhaseFrame() {
    beginSceneFrame();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    const bool culling = displaySwitches.backFaceCulling;
    for (int i = 0; i <= phaseShown && i < int(parts.size()); ++i)
        drawPart(parts[std::size_t(i)], culling);
    if (culling) glEnable(GL_CULL_FACE);
    drawPicked();
    glDisable(GL_CULL_FACE);
    glFlush();
    glutSwapBuffers();
}

void drawFirstWindow() {
    // The records are the program's own, not constant.
    ObjModel& model = const_cast<ObjModel&>(shownModel());
    if (phaseShown >= 0)
        drawPhaseFrame();
    else if (model.numFaces > facesPerPass)
        displaySceneInWindows(model);
    else
        displayScene();
}

// The program's own frame, with the compared level standing in for the shown one.
void drawComparedWindow() {
    ObjModel* const shown = subdividedModel;
    const int level = subdivisionLevel;
    subdividedModel = comparedModel;
    subdivisionLevel = comparedLevel;
    displayScene();
    subdividedModel = shown;
    subdivisionLevel = level;
}

// Draws every window in turn, once per frame.
void drawWindows() {
    const int current = glutGetWindow();
    glutSetWindow(1);
    drawFirstWindow();
    if (comparing) {
        glutSetWindow(compareWindow);
        drawComparedWindow();
    }
    glutSetWindow(current);
}

// The first window draws through the page: a heavy model a window of faces per pass, the
// teaching views their own pictures.
void takeOverFrames() {
    static bool taken = false;
    if (taken) return;
    taken = true;
    const int current = glutGetWindow();
    glutSetWindow(1);
    glutDisplayFunc(drawFirstWindow);
    glutIdleFunc(drawWindows);
    glutSetWindow(current);
}

void redrawAll() {
    const int current = glutGetWindow();
    glutSetWindow(1);
    glutPostRedisplay();
    if (compareWindow != 0) {
        glutSetWindow(compareWindow);
        glutPostRedisplay();
    }
    glutSetWindow(current);
}

double modelSize(const std::vector<Vec4f>& positions) {
    if (positions.empty()) return 1.0;
    Vec3f low = cartesian(positions[0]), high = low;
    for (const Vec4f& p : positions) {
        const Vec3f q = cartesian(p);
        low = {std::min(low.x, q.x), std::min(low.y, q.y), std::min(low.z, q.z)};
        high = {std::max(high.x, q.x), std::max(high.y, q.y), std::max(high.z, q.z)};
    }
    const Vec3f d = between(low, high);
    return std::sqrt(double(d.x) * d.x + double(d.y) * d.y + double(d.z) * d.z);
}

bool pixelInPolygon(const std::vector<ScreenPoint>& corners, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = corners.size() - 1; i < corners.size(); j = i++) {
        const ScreenPoint& a = corners[i];
        const ScreenPoint& b = corners[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

// The face of the level before nearest the camera under the window's pixel; -1 for none.
std::int32_t faceUnderPixel(int x, int y) {
    const FaceVertexArrays& faces = phases.parentFaces;
    std::vector<ScreenPoint> onScreen(phases.parentPositions.size());
    screenPoints(phases.parentPositions.data(), int(onScreen.size()), onScreen.data());
    std::int32_t nearest = -1;
    double nearestDepth = 0.0;
    std::vector<ScreenPoint> corners;
    for (std::int32_t f = 0; f < faceCount(faces); ++f) {
        corners.clear();
        double depth = 0.0;
        for (std::int32_t c = faces.faceStart[f]; c < faces.faceStart[f + 1]; ++c) {
            corners.push_back(onScreen[std::size_t(faces.cornerVertex[c])]);
            depth += corners.back().depth;
        }
        if (corners.size() < 3 || !pixelInPolygon(corners, x + 0.5, y + 0.5)) continue;
        depth /= double(corners.size());
        if (depth > 0.0 && (nearest < 0 || depth < nearestDepth)) {
            nearest = f;
            nearestDepth = depth;
        }
    }
    return nearest;
}

std::uint64_t budgetBytes() { return std::uint64_t(webBudgetMiB() * 1048576.0); }

}  // namespace

void drawFramesThroughPage() { takeOverFrames(); }

extern "C" {

// Counts the level shown, made by `shownScheme` (0 Doo-Sabin, 1 Catmull-Clark, 2 Loop, the
// order of SchemeKind), and forecasts the next one of `nextScheme`; then webLessonCount reads
// them. 1 when counted, -1 when the level is too large to count here, 0 when it cannot be.
EMSCRIPTEN_KEEPALIVE int webLessonCountLevels(int shownScheme, int nextScheme) {
    const ObjModel& shown = shownModel();
    nextCounted = false;
    if (shown.numFaces > mostCountedFaces) return -1;
    if (!countLevel(shown, shownCounts)) return 0;
    if (subdivisionLevel > 0) countFaceKinds(shown, SchemeKind(shownScheme), shownCounts);
    // Loop takes triangles only: no forecast for a level of other faces.
    const bool loopRefuses =
        SchemeKind(nextScheme) == SchemeKind::loop && shownCounts.faces * 3 != shownCounts.corners;
    nextCounted = !loopRefuses && shownCounts.faces > 0 &&
                  forecastNextLevel(shown, SchemeKind(nextScheme), shownCounts, nextCounts);
    return 1;
}

// One count of the last webLessonCountLevels, of the level shown (`next` 0) or the next one
// (1): 0 vertices, 1 edges, 2 faces, 3 V - E + F, 4 faces by kind known (0 or 1), 5 F-faces
// (from faces), 6 V-faces (from vertices), 7 E-faces (from edges); -1 when not counted.
EMSCRIPTEN_KEEPALIVE double webLessonCount(int next, int which) {
    if (next != 0 && !nextCounted) return -1.0;
    const LevelCounts& c = next != 0 ? nextCounts : shownCounts;
    switch (which) {
        case 0: return double(c.vertices);
        case 1: return double(c.edges);
        case 2: return double(c.faces);
        case 3: return double(eulerCharacteristic(c));
        case 4: return c.kindsKnown ? 1.0 : 0.0;
        case 5: return double(c.facesByKind[int(FaceKind::fromFace)]);
        case 6: return double(c.facesByKind[int(FaceKind::fromVertex)]);
        case 7: return double(c.facesByKind[int(FaceKind::fromEdge)]);
        default: return -1.0;
    }
}

// Takes one step of `scheme` from the level shown apart and shows its first phase. Returns
// the number of phases, 0 when the model cannot take the step, -1 when the next level would
// be too dense to watch.
EMSCRIPTEN_KEEPALIVE int webLessonPhasesBegin(int scheme) {
    LevelCounts shown, next;
    if (shownModel().numFaces > mostPhasedFaces) return -1;
    if (!countLevel(shownModel(), shown)) return 0;
    if (forecastNextLevel(shownModel(), SchemeKind(scheme), shown, next) &&
        next.faces > mostPhasedFaces)
        return -1;
    if (!buildStepPhases(shownModel(), SchemeKind(scheme), phases)) return 0;
    parts = phaseParts(SchemeKind(scheme));
    pointRadius = pointRadiusShare * modelSize(phases.parentPositions);
    phaseShown = 0;
    pickedFace = -1;
    pickedChildren.clear();
    takeOverFrames();
    redrawAll();
    return int(parts.size());
}

// Shows the phases up to `phase` (0 the net of the level before); -1 ends the phases and lets
// go of the step, the program's frame drawing the window again.
EMSCRIPTEN_KEEPALIVE void webLessonShowPhase(int phase) {
    phaseShown = phase;
    if (phase < 0) {
        phases = StepPhases{};
        parts.clear();
        pickedFace = -1;
        pickedChildren.clear();
    }
    redrawAll();
}

// Picks the face of the level before under the window's pixel (x, y from the top) while the
// phases are shown; returns its number, -1 for none (which clears the pick).
EMSCRIPTEN_KEEPALIVE int webLessonPick(int x, int y) {
    if (phaseShown < 0) return -1;
    pickedFace = faceUnderPixel(x, y);
    pickedChildren.clear();
    if (pickedFace >= 0) {
        pickedChildren = childFacesOf(phases, pickedFace);
        std::sort(pickedChildren.begin(), pickedChildren.end());
    }
    redrawAll();
    return pickedFace;
}

// The faces of one kind (0 from the face, 1 from its vertices, 2 from its edges: FaceKind)
// that the picked face becomes.
EMSCRIPTEN_KEEPALIVE int webLessonPickedFaces(int kind) {
    int count = 0;
    for (std::int32_t f : pickedChildren)
        if (childFaceKind(phases, f) == FaceKind(kind)) ++count;
    return count;
}

// The second window (canvas "#window2"), made the first time: the program's frame of the
// compared level through the same camera, turned by the same mouse.
EMSCRIPTEN_KEEPALIVE void webLessonCompareOpen() {
    takeOverFrames();
    comparing = true;
    if (compareWindow == 0) {
        const int current = glutGetWindow();
        glutInitWindowSize(windowWidth, windowHeight);
        compareWindow = glutCreateWindow("Side by side");
        glutReshapeFunc(reshapeScene3d);
        glutMouseFunc(onMouseButton);
        glutMotionFunc(onMouseMotion);
        initScene3d();
        comparedModel = new ObjModel{};
        glutSetWindow(current);
    }
    const int current = glutGetWindow();
    glutSetWindow(compareWindow);
    glutDisplayFunc(drawComparedWindow);
    glutSetWindow(current);
    redrawAll();
}

// Hides the second window's picture: it is no longer drawn.
EMSCRIPTEN_KEEPALIVE void webLessonCompareClose() {
    comparing = false;
    if (compareWindow == 0) return;
    const int current = glutGetWindow();
    glutSetWindow(compareWindow);
    glutDisplayFunc(nullptr);
    glutSetWindow(current);
}

// Builds `level` of `scheme` from the base model for the second window. 1 when shown, 0 when
// refused (the reason on the error stream), -1 when too dense for a second picture.
EMSCRIPTEN_KEEPALIVE int webLessonCompareLevel(int level, int scheme) {
    if (comparedModel == nullptr) return 0;
    ModelSize size = measureModel(*baseModel);
    LevelCounts counts;
    if (SchemeKind(scheme) != SchemeKind::dooSabin && countLevel(*baseModel, counts)) {
        MeshCounts mesh{counts.vertices, counts.edges, counts.faces, counts.corners};
        for (int step = 0; step < level; ++step) mesh = refinedCounts(SchemeKind(scheme), mesh);
        size.faces = mesh.faces;
    } else {
        for (int step = 0; step < level; ++step) size = boundNextDooSabinLevel(size);
    }
    if (size.faces > mostComparedFaces) return -1;
    LevelRequest request;
    request.scheme = SchemeKind(scheme);
    request.budgetBytes = budgetBytes();
    // Level 0 is the base model itself, as in the first window; a refused level shows it too.
    const bool built =
        level == 0 || applySubdivisionLevel(*baseModel, comparedModel, level, request);
    comparedLevel = built ? level : 0;
    redrawAll();
    return built ? 1 : 0;
}

}  // extern "C"
