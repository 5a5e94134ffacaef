// Face colours compared exactly: every face of one kind carries the very same three floats.
#include "face_materials.h"

#include "doo_sabin.h"

namespace {

bool sameColor(const float (&a)[3], const float (&b)[3]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// The name of a kind of face of the Doo-Sabin step by its colour; null for other colours.
const char* kindName(const float (&color)[3]) {
    if (sameColor(color, faceFromFaceColor)) return "from_face";
    if (sameColor(color, faceFromVertexColor)) return "from_vertex";
    if (sameColor(color, faceFromEdgeColor)) return "from_edge";
    return nullptr;
}

}  // namespace

int materialOf(const std::vector<FaceMaterial>& materials, const float (&color)[3], int hint) {
    if (hint >= 0 && hint < int(materials.size()) && sameColor(materials[hint].color, color)) {
        return hint;
    }
    for (std::size_t m = 0; m < materials.size(); ++m) {
        if (sameColor(materials[m].color, color)) return int(m);
    }
    return -1;
}

std::vector<FaceMaterial> kindMaterials(const std::vector<FaceKindRange>& kinds) {
    std::vector<FaceMaterial> materials;
    for (const FaceKindRange& range : kinds) {
        const float(&color)[3] = faceKindColor(range.kind);
        if (range.begin == range.end || materialOf(materials, color, -1) >= 0) continue;
        materials.push_back({faceKindName(range.kind), {color[0], color[1], color[2]}});
    }
    return materials;
}

std::vector<FaceMaterial> faceMaterials(const ObjModel& model) {
    std::vector<FaceMaterial> materials;
    int current = -1, otherColors = 0;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const float(&color)[3] = model.faces[f].color;
        current = materialOf(materials, color, current);
        if (current >= 0) continue;
        const char* kind = kindName(color);
        std::string name = kind != nullptr ? kind : "face_colour_" + std::to_string(++otherColors);
        materials.push_back({std::move(name), {color[0], color[1], color[2]}});
        current = int(materials.size()) - 1;
    }
    return materials;
}
