#!/usr/bin/env python3
"""Generates the two 16 x 16 x 16 lattices of the CIELAB-like glue modes.

Writes src/glue/LabLattices.cpp (run from anywhere; the path is found from this
file). The lattices are generated once and committed; rerun this tool only to
change them, and commit its output with it.

The conversion:
  * RGB channels are encoded with a pure gamma of 1.8: linear = (v / 255)^1.8.
    The grey axis the compositing modes were tuned on follows that curve.
  * Linear RGB goes to XYZ relative to the white point (X/Xn, Y/Yn, Z/Zn) by a
    3 x 3 matrix whose rows sum to 1, so RGB white is the Lab white point and
    every grey has a* = b* = 0. The matrix is fitted (least squares in Lab) to
    the required lattice values of the six primaries and secondaries below.
  * CIELAB with the standard cube-root curve and its linear toe; lightness is
    stored as L* x 2.55 (0..255) and both opponent axes as a* + 128, b* + 128,
    each rounded to the nearest integer and clipped to 0..255.
  * The inverse lattice maps (lightness, a + 128, b + 128) back: XYZ, the
    inverted matrix, linear values clipped to 0..1, gamma 1 / 1.8, rounded.

The values were originally produced by a colour-management engine whose
quantisation a clean formula does not reproduce everywhere: a few required
points (listed by the tool when it runs) differ from the formula by one step.
Those points, and only those, are set to their required values afterwards.

Lattice layout: point (i, j, k) stands for channel values (17 i, 17 j, 17 k)
and starts at byte 3 i + 48 j + 768 k.
"""

import math
import os

GAMMA = 1.8

# Required forward points: lattice index -> (lightness, a + 128, b + 128).
FORWARD_REQUIRED = {
    (15, 0, 0): (144, 208, 208),
    (0, 15, 0): (214, 51, 207),
    (0, 0, 15): (104, 158, 33),
    (15, 15, 0): (243, 119, 222),
    (0, 15, 15): (228, 75, 111),
    (15, 0, 15): (170, 204, 77),
}
GREY_LIGHTNESS = [0, 17, 48, 72, 93, 112, 130, 147, 163, 177, 191, 204, 218, 230, 243, 255]
for _i, _l in enumerate(GREY_LIGHTNESS):
    FORWARD_REQUIRED[(_i, _i, _i)] = (_l, 128, 128)

# Required inverse points along lightness with both axes at lattice 8.
INVERSE_REQUIRED = {
    (0, 8, 8): (15, 0, 1),
    (1, 8, 8): (25, 14, 8),
    (2, 8, 8): (35, 23, 18),
    (15, 8, 8): (255, 249, 237),
}

EPSILON = 216 / 24389
KAPPA = 24389 / 27


def lab_f(t):
    return t ** (1 / 3) if t > EPSILON else (KAPPA * t + 16) / 116


def lab_f_inverse(ft):
    return ft ** 3 if ft ** 3 > EPSILON else (116 * ft - 16) / KAPPA


def to_linear(v):
    return (v / 255) ** GAMMA


def from_linear(t):
    return 255 * min(max(t, 0.0), 1.0) ** (1 / GAMMA)


def matrix_from(p):
    # Columns red and green are free; blue completes each row to 1.
    return [[p[r], p[3 + r], 1 - p[r] - p[3 + r]] for r in range(3)]


def forward(rgb, m):
    lin = [to_linear(c) for c in rgb]
    xyz = [sum(m[r][k] * lin[k] for k in range(3)) for r in range(3)]
    fx, fy, fz = (lab_f(max(t, 0.0)) for t in xyz)
    return (2.55 * (116 * fy - 16), 500 * (fx - fy) + 128, 200 * (fy - fz) + 128)


def fit_matrix():
    colours = {k: v for k, v in FORWARD_REQUIRED.items() if len(set(k)) > 1}

    def error(p):
        m = matrix_from(p)
        total = 0.0
        for index, want in colours.items():
            got = forward([17 * i for i in index], m)
            total += sum((g - w) ** 2 for g, w in zip(got, want))
        return total

    # Start near the primaries' relative XYZ and walk each coordinate.
    p = [0.48, 0.24, 0.01, 0.35, 0.64, 0.10]
    best = error(p)
    step = 0.01
    while step > 1e-9:
        improved = False
        for i in range(6):
            for d in (step, -step):
                q = p[:]
                q[i] += d
                e = error(q)
                if e < best:
                    p, best, improved = q, e, True
        if not improved:
            step /= 2
    return matrix_from(p)


def invert3(m):
    (a, b, c), (d, e, f), (g, h, i) = m
    det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g)
    return [
        [(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det],
        [(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det],
        [(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det],
    ]


def inverse(lab, m_inv):
    lightness, a, b = lab
    fy = (lightness / 2.55 + 16) / 116
    xyz = (lab_f_inverse(fy + (a - 128) / 500), lab_f_inverse(fy), lab_f_inverse(fy - (b - 128) / 200))
    lin = [sum(m_inv[r][k] * xyz[k] for k in range(3)) for r in range(3)]
    return tuple(from_linear(t) for t in lin)


def to_byte(v):
    return min(255, max(0, int(math.floor(v + 0.5))))


def build(convert, required, name):
    table = {}
    for k in range(16):
        for j in range(16):
            for i in range(16):
                table[(i, j, k)] = tuple(to_byte(v) for v in convert((17 * i, 17 * j, 17 * k)))
    overridden = []
    for index, want in sorted(required.items()):
        if table[index] != want:
            overridden.append((index, table[index], want))
            table[index] = want
    for index, had, want in overridden:
        print(f"{name}: point {index} set to {want} (formula gives {had})")
    return table


def emit(table):
    data = []
    for k in range(16):
        for j in range(16):
            for i in range(16):
                data.extend(table[(i, j, k)])
    lines = []
    for start in range(0, len(data), 24):
        lines.append("    " + ", ".join(str(v) for v in data[start:start + 24]) + ",")
    return "\n".join(lines)


def main():
    m = fit_matrix()
    m_inv = invert3(m)
    fwd = build(lambda c: forward(c, m), FORWARD_REQUIRED, "forward")
    inv = build(lambda c: inverse(c, m_inv), INVERSE_REQUIRED, "inverse")
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = os.path.join(root, "src", "glue", "LabLattices.cpp")
    matrix_text = "\n".join("//   " + "  ".join(f"{v:.6f}" for v in row) for row in m)
    with open(out, "w") as fh:
        fh.write(
            "// Generated by tools/generators/lab_lattice.py; do not edit by hand.\n"
            "// Gamma 1.8 RGB to CIELAB-like (L* x 2.55, a* + 128, b* + 128) and back,\n"
            "// with RGB white as the white point and the relative XYZ matrix\n"
            f"{matrix_text}\n"
            '#include "glue/LabLattices.h"\n\n'
            "namespace stellane {\n\n"
            "// clang-format off\n"
            "const std::uint8_t kLabForwardLattice[kLabLatticeBytes] = {\n"
            f"{emit(fwd)}\n}};\n\n"
            "const std::uint8_t kLabInverseLattice[kLabLatticeBytes] = {\n"
            f"{emit(inv)}\n}};\n"
            "// clang-format on\n\n"
            "}  // namespace stellane\n"
        )
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
