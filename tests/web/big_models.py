#!/usr/bin/env python3
"""Writes the two large models that the page's memory figures are measured with:
  grid950.obj    a 950 x 950 quad grid in the plane y = 0 (about 50 MB), an open mesh;
  sphere100k.obj a closed sphere of 99,372 triangles with 2% noise on its radius, made from a
                 subdivided cube, standing far from the origin at (40, 25, -60) with radius 12,
                 as a scanned part in its own coordinates would.
  tests/web/big_models.py OUT_DIR
"""
import math
import os
import random
import sys


def write_grid(path, n=950):
    with open(path, "w") as out:
        out.write("# %d x %d quad grid\n" % (n, n))
        for i in range(n + 1):
            out.write("".join("v %.6f 0 %.6f\n" % (j / n * 2 - 1, i / n * 2 - 1) for j in range(n + 1)))
        for i in range(n):
            row = []
            for j in range(n):
                a = i * (n + 1) + j + 1
                row.append("f %d %d %d %d\n" % (a, a + n + 1, a + n + 2, a + 1))
            out.write("".join(row))


def write_sphere(path, n=91, centre=(40.0, 25.0, -60.0), radius=12.0):
    rng = random.Random(14)
    index = {}
    points = []

    def vertex(p):
        key = tuple(round(c * 2 * n) for c in p)
        if key not in index:
            length = math.sqrt(sum(c * c for c in p))
            r = radius * (1 + 0.02 * (rng.random() - 0.5))
            points.append(tuple(centre[k] + p[k] / length * r for k in range(3)))
            index[key] = len(points)
        return index[key]

    triangles = []
    # Each face of the cube [-1, 1]^3 as an n x n lattice, wound counter-clockwise from outside.
    for axis in range(3):
        for side in (-1.0, 1.0):
            u_axis, v_axis = (axis + 1) % 3, (axis + 2) % 3
            if side < 0:
                u_axis, v_axis = v_axis, u_axis
            for i in range(n):
                for j in range(n):
                    corners = []
                    for di, dj in ((0, 0), (1, 0), (1, 1), (0, 1)):
                        p = [0.0, 0.0, 0.0]
                        p[axis] = side
                        p[u_axis] = (i + di) / n * 2 - 1
                        p[v_axis] = (j + dj) / n * 2 - 1
                        corners.append(vertex(p))
                    triangles.append((corners[0], corners[1], corners[2]))
                    triangles.append((corners[0], corners[2], corners[3]))
    with open(path, "w") as out:
        out.write("# noisy sphere, %d triangles\n" % len(triangles))
        out.write("".join("v %.6f %.6f %.6f\n" % p for p in points))
        out.write("".join("f %d %d %d\n" % t for t in triangles))


if __name__ == "__main__":
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_grid(os.path.join(folder, "grid950.obj"))
    write_sphere(os.path.join(folder, "sphere100k.obj"))
