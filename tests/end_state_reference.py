#!/usr/bin/env python3
"""End states of two complete runs, computed apart from the program to check its numbers.

A second implementation of the step, written from the equations of motion and the fourth-
order scheme with the driving held for the whole step; single precision is Python's float
conversion through struct (round to nearest). Prints the step count and x, y, vx, vy, t with
17 significant digits for the default run and for beta = 2, the values that
model_oscillator_test.cpp pins.
"""
import math
import struct


def single(v):
    return struct.unpack("f", struct.pack("f", v))[0]


def run(alpha=0.001, beta=0.5, Xm=0.1, DYg=1.0 / 3.0, Xo=0.0, Vox=0.0, Yo=4.0 / 3.0, Voy=0.0, Tmax=150.0):
    per_period = 6.283185307 / 50
    h = single(per_period if beta <= 1 else per_period / beta)
    t_end = single((2 * Tmax) * 3.1415926535)

    def increments(x, y, vx, vy, xs):
        L = math.sqrt((x - xs) ** 2 + y**2)
        return (h * vx, h * vy,
                -h * (2 * alpha * vx + (x - xs) * (1 - 1 / L)),
                -h * (2 * alpha * vy + y * (1 - 1 / L) - DYg))

    t = 0.0
    x, y, vx, vy = Xo, Yo, Vox, single(Voy)
    xn, yn, vxn, vyn = x, y, vx, vy
    steps = 0
    while t < t_end:
        xs = Xm * math.sin(beta * t)
        k1 = increments(x, y, vx, vy, xs)  # vy: the last step's velocity before its rounding
        k2 = increments(xn + k1[0] / 2, yn + k1[1] / 2, vxn + k1[2] / 2, vyn + k1[3] / 2, xs)
        k3 = increments(xn + k2[0] / 2, yn + k2[1] / 2, vxn + k2[2] / 2, vyn + k2[3] / 2, xs)
        k4 = list(increments(xn + k3[0], yn + k3[1], vxn + k3[2], vyn + k3[3], xs))
        k4[2], k4[3] = single(k4[2]), single(k4[3])
        x = xn + (k1[0] + 2 * k2[0] + 2 * k3[0] + k4[0]) / 6
        y = yn + (k1[1] + 2 * k2[1] + 2 * k3[1] + k4[1]) / 6
        vx = vxn + (k1[2] + 2 * k2[2] + 2 * k3[2] + k4[2]) / 6
        vy = vyn + (k1[3] + 2 * k2[3] + 2 * k3[3] + k4[3]) / 6
        xn, yn, vxn, vyn = x, y, vx, single(vy)
        t = single(t + h)
        steps += 1
    return steps, x, y, vx, vy, t


if __name__ == "__main__":
    for beta in (0.5, 2.0):
        steps, *end = run(beta=beta)
        print(f"beta={beta} steps={steps}", " ".join(f"{v:.17g}" for v in end))
