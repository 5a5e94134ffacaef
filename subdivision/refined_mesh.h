// A mesh as the refinement core holds it between steps: positions and faces in flat arrays,
// and the texture coordinates with faces of their own, so that a seam stays a seam. Made from
// a model record once, refined step by step, and turned into a model record at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh_topology.h"
#include "obj_model.h"
#include "refinement_scheme.h"

struct RefinedMesh {
    std::vector<Vec4f> positions;  // one per vertex of `faces`
    FaceVertexArrays faces;
    std::vector<Vec3f> texCoords;    // empty when the mesh carries none
    FaceVertexArrays texCoordFaces;  // with texCoords: the same face runs, texture vertices
};

enum class MeshResult { made, invalidModel, tooManyCorners };

// The model's faces as flat arrays of its vertex indices, without checking them.
FaceVertexArrays faceVertexArraysOf(const ObjModel& model);

// Copies the model's positions, faces and (when it has them) texture coordinates, these with
// a texture vertex per pair of vertex and texture index that some corner joins. Checks the
// record's rules first: counts not negative, arrays present, every index in range.
// std::bad_alloc passes through.
MeshResult meshFromModel(const ObjModel& model, RefinedMesh& mesh);

// One Catmull-Clark or Loop step of `parent` into `child` (Loop wants triangles only). The
// texture coordinates take the very rules of the positions on their own faces: a seam of the
// texture is a boundary there, following the B-spline of the seam, and a texture vertex in
// one face, or where seams meet, stays put (OpenSubdiv's face-varying "corners only").
// std::bad_alloc passes through.
void refineMesh(const RefinedMesh& parent, SchemeKind scheme, RefinedMesh& child);

// The topologies of a mesh's positions and of its texture coordinates, handed from step to step.
struct MeshTopologies {
    bool known = false;
    MeshTopology positions;
    MeshTopology texCoords;  // with texture coordinates
};

// refineMesh with the parent's topologies in `topologies`, built first when not known. With
// `keepChild` they are left holding the child's, taken from the parent's (buildChildTopology),
// for the next step; else they are released and not known. The step's work is split over
// `threads` threads, with the same result for every count. std::bad_alloc passes through.
void refineMeshKeepingTopology(const RefinedMesh& parent, SchemeKind scheme,
                               MeshTopologies& topologies, bool keepChild, RefinedMesh& child,
                               int threads = 1);

// Heap bytes of a mesh of these counts, texture coordinates and their faces included when
// `texCoords` is not 0.
std::uint64_t refinedMeshBytes(const MeshCounts& counts, std::int64_t texCoords);

// Fills `model` (holding no arrays) from the mesh: positions, texture coordinates, faces in
// order with their colours by `kinds`, and no normals; the faces' index lists are filled over
// `threads` threads. False when memory runs out; what was obtained stays for freeModelArrays.
bool modelFromMesh(const RefinedMesh& mesh, const std::vector<FaceKindRange>& kinds,
                   ObjModel& model, int threads = 1);
