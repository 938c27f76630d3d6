#!/usr/bin/python3
"""Draws the program icon (resources/ZUVO_MTT.ico): a radar fan with range rings and one
tracked object, in the colours of the sector view. Run it again after changing the design.
"""
import math
import os

from PIL import Image, ImageDraw

SIZES = [256, 64, 48, 32, 24, 16]
BACKGROUND = (42, 50, 60, 255)
FAN = (113, 171, 204, 255)
RING = (124, 190, 227, 255)
TRACK = (252, 176, 253, 255)


def draw(size):
    scale = 4  # drawn large and scaled down for smooth edges
    s = size * scale
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    d.rounded_rectangle([0, 0, s - 1, s - 1], radius=s // 6, fill=BACKGROUND)
    cx, cy, r = s / 2, s * 0.86, s * 0.72
    d.pieslice([cx - r, cy - r, cx + r, cy + r], start=210, end=330, fill=FAN)
    for k in (0.35, 0.7, 1.0):
        rr = r * k
        d.arc([cx - rr, cy - rr, cx + rr, cy + rr], start=210, end=330, fill=RING,
              width=max(scale, s // 40))
    # A track fading into the fan and the object's marker.
    points = [(cx + r * t * math.cos(math.radians(a)), cy - r * t * math.sin(math.radians(a)))
              for t, a in ((0.45, 120), (0.55, 105), (0.62, 90), (0.66, 75))]
    d.line(points, fill=TRACK, width=max(scale, s // 24), joint="curve")
    mx, my = points[-1]
    mr = s * 0.07
    d.ellipse([mx - mr, my - mr, mx + mr, my + mr], fill=(255, 255, 255, 255))
    return image.resize((size, size), Image.LANCZOS)


def main():
    root = os.path.join(os.path.dirname(__file__), "..")
    images = [draw(size) for size in SIZES]
    images[0].save(os.path.join(root, "resources", "ZUVO_MTT.ico"),
                   sizes=[(n, n) for n in SIZES], append_images=images[1:])


if __name__ == "__main__":
    main()
