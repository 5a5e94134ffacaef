// Fitting a model into Subdivo's start view: its bounding box centred on the origin and its
// largest extent made 2 units, by one translation and one uniform scale of every vertex.
#pragma once

#include "obj_model.h"

// The drawn points' bounding box: each vertex counts as (x/w, y/w, z/w); a vertex whose
// point is not finite (w = 0, or an overflow) does not count. `points` is how many counted.
struct PointBounds {
    double low[3];
    double high[3];
    long long points;
};

PointBounds drawnPointBounds(const ObjModel& model);

// Moves the centre of the bounds to the origin and scales about it so that the largest extent
// becomes 2. Every vertex is mapped as a homogeneous point, so w stays and the drawn point
// moves as the box does; a direction (w = 0) is only scaled. Without counted points nothing
// changes; with a largest extent of 0 the model is only moved. Normals keep their directions.
void fitModel(ObjModel& model);
