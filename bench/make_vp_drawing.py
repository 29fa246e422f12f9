"""Writes the drawing the viewport-freezing benchmark runs its script on.

    python3 make_vp_drawing.py OUT.dxf [LAYERS]

An R2000 drawing with LAYERS layers (1,000 when not given) named
"VP-LAYER-0001" and up, a line and a circle on each in model space, and a
layout "Layout1" with one floating viewport showing all of model space.
"""
import sys

import ezdxf


def main():
    if len(sys.argv) not in (2, 3):
        print(__doc__)
        return 2
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) == 3 else 1000
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    columns = 40
    for i in range(count):
        name = "VP-LAYER-%04d" % (i + 1)
        doc.layers.add(name, color=1 + i % 255)
        x = (i % columns) * 10.0
        y = (i // columns) * 10.0
        msp.add_line((x, y), (x + 8, y + 8), dxfattribs={"layer": name})
        msp.add_circle((x + 4, y + 4), 3, dxfattribs={"layer": name})
    rows = (count + columns - 1) // columns
    width = columns * 10.0
    height = max(rows, 1) * 10.0

    psp = doc.layout("Layout1")
    for vp in list(psp.query("VIEWPORT")):
        if vp.dxf.id > 1:
            psp.delete_entity(vp)
    psp.add_viewport(center=(150, 110), size=(260, 170),
                     view_center_point=(width / 2, height / 2),
                     view_height=max(height, width * 170 / 260) * 1.05)
    psp.add_lwpolyline([(10, 10), (290, 10), (290, 210), (10, 210)], close=True)
    doc.saveas(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
