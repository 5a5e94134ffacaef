#!/usr/bin/env bash
# Writes Subdivo's sample models into models/: poly.obj (the default: a pentagonal prism with a
# pyramid cap), cube.obj, grid.obj (an open quad grid), torus.obj and no_normals.obj. Every
# face winds counter-clockwise seen from outside (from above for the grid).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/models"
mkdir -p "$out"

echo "== poly.obj: pentagonal prism with a pyramid cap (1 pentagon, 5 quads, 5 triangles)"
awk 'BEGIN {
  pi = atan2(0, -1); r = 0.7; top = 0.7; apex = 1.2
  print "# Subdivo sample: a pentagonal prism with a pyramid cap, resting on the ground."
  print "# One normal per vertex, shared by the faces that meet there (v//vn references)."
  for (k = 0; k < 5; k++) printf "v %.6f %.6f %.6f\n", r * cos(2 * pi * k / 5), 0, r * sin(2 * pi * k / 5)
  for (k = 0; k < 5; k++) printf "v %.6f %.6f %.6f\n", r * cos(2 * pi * k / 5), top, r * sin(2 * pi * k / 5)
  printf "v %.6f %.6f %.6f\n", 0, apex, 0
  for (k = 0; k < 5; k++) printf "vn %.6f %.6f %.6f\n", 0.6 * cos(2 * pi * k / 5), -0.8, 0.6 * sin(2 * pi * k / 5)
  for (k = 0; k < 5; k++) printf "vn %.6f %.6f %.6f\n", 0.8 * cos(2 * pi * k / 5), 0.6, 0.8 * sin(2 * pi * k / 5)
  print "vn 0 1 0"
  print "g bottom"
  print "f 1//1 2//2 3//3 4//4 5//5"
  print "g walls"
  for (k = 1; k <= 5; k++) { n = k % 5 + 1; printf "f %d//%d %d//%d %d//%d %d//%d\n", k, k, k + 5, k + 5, n + 5, n + 5, n, n }
  print "g roof"
  for (k = 1; k <= 5; k++) { n = k % 5 + 1; printf "f %d//%d 11//11 %d//%d\n", k + 5, k + 5, n + 5, n + 5 }
}' >"$out/poly.obj"

echo "== cube.obj: unit cube about the origin, one normal per face"
cat >"$out/cube.obj" <<'CUBE'
# Subdivo sample: the cube [-0.5, 0.5]^3, one normal per face (v//vn references).
v -0.5 -0.5 -0.5
v 0.5 -0.5 -0.5
v 0.5 0.5 -0.5
v -0.5 0.5 -0.5
v -0.5 -0.5 0.5
v 0.5 -0.5 0.5
v 0.5 0.5 0.5
v -0.5 0.5 0.5
vn 0 0 1
vn 0 0 -1
vn 1 0 0
vn -1 0 0
vn 0 1 0
vn 0 -1 0
f 5//1 6//1 7//1 8//1
f 1//2 4//2 3//2 2//2
f 2//3 3//3 7//3 6//3
f 1//4 5//4 8//4 4//4
f 4//5 8//5 7//5 3//5
f 1//6 2//6 6//6 5//6
CUBE

echo "== grid.obj: open 8 x 8 quad grid with a gentle bump, facing up"
awk 'BEGIN {
  pi = atan2(0, -1); n = 8
  print "# Subdivo sample: an open grid of 8 x 8 quads over [-1, 1]^2 with a bump; it has a boundary."
  for (i = 0; i <= n; i++) for (j = 0; j <= n; j++) {
    x = -1 + 2 * i / n; z = -1 + 2 * j / n
    printf "v %.6f %.6f %.6f\n", x, 0.3 * cos(pi * x / 2) * cos(pi * z / 2), z
  }
  for (i = 0; i <= n; i++) for (j = 0; j <= n; j++) {
    x = -1 + 2 * i / n; z = -1 + 2 * j / n
    gx = -0.15 * pi * sin(pi * x / 2) * cos(pi * z / 2); gz = -0.15 * pi * cos(pi * x / 2) * sin(pi * z / 2)
    l = sqrt(gx * gx + 1 + gz * gz)
    printf "vn %.6f %.6f %.6f\n", -gx / l, 1 / l, -gz / l
  }
  for (i = 0; i < n; i++) for (j = 0; j < n; j++) {
    a = i * (n + 1) + j + 1; b = a + 1; c = b + n + 1; d = a + n + 1
    printf "f %d//%d %d//%d %d//%d %d//%d\n", a, a, b, b, c, c, d, d
  }
}' >"$out/grid.obj"

echo "== torus.obj: closed torus of 16 x 8 quads resting on the ground"
awk 'BEGIN {
  pi = atan2(0, -1); U = 16; V = 8; R = 0.7; r = 0.25
  print "# Subdivo sample: a closed torus of 16 x 8 quads (radii 0.7 and 0.25) resting on the ground."
  for (i = 0; i < U; i++) for (j = 0; j < V; j++) {
    u = 2 * pi * i / U; v = 2 * pi * j / V
    printf "v %.6f %.6f %.6f\n", (R + r * cos(v)) * cos(u), r + r * sin(v), (R + r * cos(v)) * sin(u)
  }
  for (i = 0; i < U; i++) for (j = 0; j < V; j++) {
    u = 2 * pi * i / U; v = 2 * pi * j / V
    printf "vn %.6f %.6f %.6f\n", cos(v) * cos(u), sin(v), cos(v) * sin(u)
  }
  for (i = 0; i < U; i++) for (j = 0; j < V; j++) {
    a = i * V + j + 1; b = i * V + (j + 1) % V + 1
    c = ((i + 1) % U) * V + (j + 1) % V + 1; d = ((i + 1) % U) * V + j + 1
    printf "f %d//%d %d//%d %d//%d %d//%d\n", a, a, b, b, c, c, d, d
  }
}' >"$out/torus.obj"

echo "== no_normals.obj: square pyramid without normals"
cat >"$out/no_normals.obj" <<'PYRAMID'
# Subdivo sample: a square pyramid resting on the ground, without normals (plain references).
v -0.6 0 -0.6
v 0.6 0 -0.6
v 0.6 0 0.6
v -0.6 0 0.6
v 0 1 0
f 1 2 3 4
f 1 5 2
f 2 5 3
f 3 5 4
f 4 5 1
PYRAMID

echo "== Done: $(ls "$out" | tr '\n' ' ')"
