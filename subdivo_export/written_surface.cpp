// A corner's vertex index serves as its normal index too, so the face records point that
// list at their vertex lists: nothing of the (possibly huge) level is copied.
#include "written_surface.h"

void viewWrittenSurface(WrittenSurface& view, const ObjModel& level,
                        const std::vector<Vec3f>* vertexNormals) {
    view.model = level;
    view.faces.assign(level.faces, level.faces + level.numFaces);
    view.model.faces = view.faces.empty() ? nullptr : view.faces.data();
    const bool perVertexNormals = vertexNormals != nullptr && level.numVertices > 0;
    view.model.hasNormals = perVertexNormals ? 1 : 0;
    view.model.numNormals = perVertexNormals ? level.numVertices : 0;
    view.model.normals = perVertexNormals ? const_cast<Vec3f*>(vertexNormals->data()) : nullptr;
    for (ObjFace& face : view.faces) {
        face.normalIndices = perVertexNormals ? face.vertexIndices : nullptr;
    }
}
