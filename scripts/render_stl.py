#!/usr/bin/env python3
"""Renders a binary STL file to a PNG picture, for the README: the triangles read straight from
the file (no code of this project), seen from above and aside, lit by one light, drawn with a
depth buffer. Needs only Python 3 and ImageMagick's convert.

    scripts/render_stl.py MODEL.stl PICTURE.png [SIZE]
"""
import math
import struct
import subprocess
import sys


def read_stl(path):
    with open(path, "rb") as f:
        data = f.read()
    (count,) = struct.unpack_from("<I", data, 80)
    return [struct.unpack_from("<12f", data, 84 + 50 * t)[3:] for t in range(count)]


def view(points, yaw, pitch):
    cy, sy, cp, sp = math.cos(yaw), math.sin(yaw), math.cos(pitch), math.sin(pitch)
    out = []
    for x, y, z in points:
        x, y = cy * x - sy * y, sy * x + cy * y  # turn about the vertical axis
        y, z = cp * y - sp * z, sp * y + cp * z  # tilt towards the viewer
        out.append((x, z, y))  # screen x, screen up, depth (larger is nearer)
    return out


def render(triangles, size):
    corners = [view([t[0:3], t[3:6], t[6:9]], math.radians(30), math.radians(-25))
               for t in triangles]
    xs = [p[0] for c in corners for p in c]
    ys = [p[1] for c in corners for p in c]
    scale = 0.9 * size / max(max(xs) - min(xs), max(ys) - min(ys))
    cx, cy = (max(xs) + min(xs)) / 2, (max(ys) + min(ys)) / 2
    depth = [-math.inf] * (size * size)
    image = bytearray([255] * (3 * size * size))
    light = (-0.4, 0.5, 0.77)
    for c in corners:
        (ax, ay, az), (bx, by, bz), (qx, qy, qz) = c
        n = ((by - ay) * (qz - az) - (bz - az) * (qy - ay),
             (bz - az) * (qx - ax) - (bx - ax) * (qz - az),
             (bx - ax) * (qy - ay) - (by - ay) * (qx - ax))
        length = math.sqrt(sum(v * v for v in n)) or 1.0
        shade = 0.25 + 0.75 * abs(sum(n[k] * light[k] for k in range(3)) / length)
        colour = (int(230 * shade), int(160 * shade), int(60 * shade))
        s = [((p[0] - cx) * scale + size / 2, size / 2 - (p[1] - cy) * scale, p[2]) for p in c]
        x0, x1 = max(0, int(min(p[0] for p in s))), min(size - 1, int(max(p[0] for p in s)) + 1)
        y0, y1 = max(0, int(min(p[1] for p in s))), min(size - 1, int(max(p[1] for p in s)) + 1)
        (sx0, sy0, d0), (sx1, sy1, d1), (sx2, sy2, d2) = s
        area = (sx1 - sx0) * (sy2 - sy0) - (sx2 - sx0) * (sy1 - sy0)
        if area == 0:
            continue
        for py in range(y0, y1 + 1):
            for px in range(x0, x1 + 1):
                fx, fy = px + 0.5, py + 0.5
                w0 = ((sx1 - fx) * (sy2 - fy) - (sx2 - fx) * (sy1 - fy)) / area
                w1 = ((sx2 - fx) * (sy0 - fy) - (sx0 - fx) * (sy2 - fy)) / area
                w2 = 1 - w0 - w1
                if w0 < 0 or w1 < 0 or w2 < 0:
                    continue
                d = w0 * d0 + w1 * d1 + w2 * d2
                at = py * size + px
                if d > depth[at]:
                    depth[at] = d
                    image[3 * at:3 * at + 3] = bytes(colour)
    return image


def main():
    source, target = sys.argv[1], sys.argv[2]
    size = int(sys.argv[3]) if len(sys.argv) > 3 else 400
    image = render(read_stl(source), size)
    header = b"P6 %d %d 255\n" % (size, size)
    subprocess.run(["convert", "ppm:-", target], input=header + bytes(image), check=True)


if __name__ == "__main__":
    main()
