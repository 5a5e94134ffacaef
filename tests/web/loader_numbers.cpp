// Prints every number the OBJ loader read from the files named, as exact hexadecimal floats.
// Built natively and for the web (node); browser_test.sh compares the two outputs, so that the
// web build's own float conversion is held to the desktop's bit for bit.
#include <cstdio>

#include "obj_loader.h"
#include "obj_model.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        ObjModel model{};
        if (!loadObjFile(argv[i], &model)) return 1;
        for (int v = 0; v < model.numVertices; ++v) {
            const Vec4f& p = model.vertices[v];
            std::printf("v %a %a %a %a\n", p.x, p.y, p.z, p.w);
        }
        for (int n = 0; n < model.numNormals; ++n) {
            const Vec3f& q = model.normals[n];
            std::printf("vn %a %a %a\n", q.x, q.y, q.z);
        }
        freeModelArrays(&model);
    }
    return 0;
}
