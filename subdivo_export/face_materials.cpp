// A subdivided level names its materials by the kinds its driver told; only the loaded model,
// which has no kinds, is sorted by colour, and every face of one colour carries the very same
// three floats.
#include "face_materials.h"

namespace {

bool sameColor(const float (&a)[3], const float (&b)[3]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
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
    bool named[faceKindCount] = {};
    for (const FaceKindRange& range : kinds) {
        if (range.begin == range.end || named[int(range.kind)]) continue;
        named[int(range.kind)] = true;
        const float(&color)[3] = faceKindColor(range.kind);
        materials.push_back({faceKindName(range.kind), {color[0], color[1], color[2]}});
    }
    return materials;
}

std::vector<FaceMaterial> colourMaterials(const ObjModel& model) {
    std::vector<FaceMaterial> materials;
    int current = -1;
    for (std::int32_t f = 0; f < model.numFaces; ++f) {
        const float(&color)[3] = model.faces[f].color;
        current = materialOf(materials, color, current);
        if (current >= 0) continue;
        std::string name = "face_colour_" + std::to_string(materials.size() + 1);
        materials.push_back({std::move(name), {color[0], color[1], color[2]}});
        current = int(materials.size()) - 1;
    }
    return materials;
}
