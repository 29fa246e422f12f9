"""Writes the drawings the picture-export and canvas tests render.

    python3 render_drawings.py layers OUT.dxf   layer A: 2 lines, layer B: 3 circles,
                                                layer T: a text
    python3 render_drawings.py canvas OUT.dxf   filled squares on layers RED, GREEN and
                                                BLUE (a block whose square is on layer 0
                                                and whose bar is on layer RED), a white
                                                square (ACI 7) on layer WHITE, and a
                                                layout with two viewports showing all of
                                                it, GREEN frozen in the left one
    python3 render_drawings.py sample OUT.dxf   a bit of everything, for looking at
"""
import math
import sys

import ezdxf


def square(space, x, y, size, layer, **attribs):
    attribs["layer"] = layer
    space.add_solid([(x, y), (x + size, y), (x, y + size), (x + size, y + size)],
                    dxfattribs=attribs)


def layers(path):
    doc = ezdxf.new("R2000")
    doc.layers.add("A", color=1)
    doc.layers.add("B", color=5)
    doc.layers.add("T", color=3)
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"layer": "A"})
    msp.add_line((0, 10), (100, 60), dxfattribs={"layer": "A"})
    for i in range(3):
        msp.add_circle((20 + 30 * i, 30), 8, dxfattribs={"layer": "B"})
    msp.add_text("Label", dxfattribs={"layer": "T", "height": 5, "insert": (0, 70)})
    doc.saveas(path)


def canvas(path):
    doc = ezdxf.new("R2000")
    doc.layers.add("RED", color=1)
    doc.layers.add("GREEN", color=3)
    doc.layers.add("BLUE", color=5)
    doc.layers.add("WHITE", color=7)
    doc.layers.add("VP", color=8)
    msp = doc.modelspace()
    square(msp, 0, 0, 10, "RED")
    square(msp, 20, 0, 10, "GREEN")
    blk = doc.blocks.new("TILE")
    square(blk, 0, 0, 10, "0")
    square(blk, 0, 12, 10, "RED")  # keeps its own layer inside the block
    msp.add_blockref("TILE", (40, 0), dxfattribs={"layer": "BLUE"})
    square(msp, 60, 0, 10, "WHITE")

    psp = doc.layout("Layout1")
    for vp in list(psp.query("VIEWPORT")):
        if vp.dxf.id > 1:
            psp.delete_entity(vp)
    # Two viewports side by side on the sheet, each showing the whole model.
    left = psp.add_viewport(center=(100, 100), size=(180, 80), view_center_point=(35, 11),
                            view_height=40, dxfattribs={"layer": "VP"})
    left.frozen_layers = ["GREEN"]
    psp.add_viewport(center=(300, 100), size=(180, 80), view_center_point=(35, 11),
                     view_height=40, dxfattribs={"layer": "VP"})
    doc.saveas(path)


def sample(path):
    doc = ezdxf.new("R2000", setup=True)
    for name, color in (("Walls", 7), ("Doors", 1), ("Text", 2), ("Grid", 8), ("Curves", 4),
                        ("Fill", 3), ("Frame", 6)):
        doc.layers.add(name, color=color)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (120, 0), (120, 80), (0, 80)], close=True,
                       dxfattribs={"layer": "Walls"})
    msp.add_lwpolyline([(10, 10, 0, 0, 0), (40, 10, 0, 0, 1), (40, 30)],
                       format="xyseb", dxfattribs={"layer": "Walls"})
    for x in range(0, 121, 20):
        msp.add_line((x, -10), (x, -5), dxfattribs={"layer": "Grid"})
    door = doc.blocks.new("DOOR")
    door.add_line((0, 0), (0, 10), dxfattribs={"layer": "0"})
    door.add_arc((0, 0), 10, 0, 90, dxfattribs={"layer": "0", "color": 0})
    for i, ang in enumerate((0, 90, 180)):
        msp.add_blockref("DOOR", (60 + 20 * i, 40), dxfattribs={"layer": "Doors",
                                                                 "rotation": ang})
    msp.add_circle((90, 15), 8, dxfattribs={"layer": "Curves"})
    msp.add_ellipse((30, 60), major_axis=(15, 5), ratio=0.4, dxfattribs={"layer": "Curves"})
    msp.add_spline([(60, 60), (70, 75), (85, 55), (100, 70), (110, 62)],
                   dxfattribs={"layer": "Curves"})
    msp.add_solid([(5, 40), (20, 40), (5, 50), (20, 50)], dxfattribs={"layer": "Fill"})
    msp.add_text("Ground floor", dxfattribs={"layer": "Text", "height": 4,
                                             "insert": (5, 85)})
    msp.add_mtext("{\\fArial|b1;Room} 1\\PArea %%c 12 m\\U+00B2",
                  dxfattribs={"layer": "Text", "char_height": 2.5,
                              "insert": (75, 28)})
    psp = doc.layout("Layout1")
    for vp in list(psp.query("VIEWPORT")):
        if vp.dxf.id > 1:
            psp.delete_entity(vp)
    psp.add_viewport(center=(150, 110), size=(260, 170), view_center_point=(60, 38),
                     view_height=110, dxfattribs={"layer": "Frame"})
    psp.add_text("Plan 1:100", dxfattribs={"layer": "Text", "height": 6,
                                           "insert": (20, 10)})
    psp.add_lwpolyline([(10, 5), (290, 5), (290, 200), (10, 200)], close=True,
                       dxfattribs={"layer": "Frame"})
    doc.saveas(path)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("layers", "canvas", "sample"):
        print(__doc__)
        return 2
    {"layers": layers, "canvas": canvas, "sample": sample}[sys.argv[1]](sys.argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main())
