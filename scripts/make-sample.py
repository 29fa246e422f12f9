"""Writes data/samples/sample_layers.dxf: a small floor plan whose layers are
named by the four-class scheme discipline-element-kind-number, with objects
on every layer and a layout with two floating viewports.

Run again when the sample needs to change: python3 scripts/make-sample.py
"""
import math
import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "samples", "sample_layers.dxf")

CLASSES = {
    "ARC": {"WALL": ["EXT", "INT"], "DOOR": ["SGL", "DBL"], "WIN": ["FIX", "SLD"]},
    "STR": {"COL": ["RC", "S"], "BEAM": ["RC", "S"]},
    "MEP": {"PIPE": ["WS", "DR"], "DUCT": ["SA", "RA"]},
    "ELE": {"LIGHT": ["CL", "WL"], "PWR": ["OUT"]},
    "ANN": {"DIM": ["GEN"], "TEXT": ["ROOM", "NOTE"]},
}


def main():
    doc = ezdxf.new("R2000", setup=True)
    msp = doc.modelspace()
    colour = 1
    names = []
    for discipline, elements in CLASSES.items():
        for element, kinds in elements.items():
            for kind in kinds:
                for number in (1, 2):
                    name = f"{discipline}-{element}-{kind}-{number}"
                    doc.layers.add(name, color=colour)
                    names.append(name)
                    colour = colour % 250 + 1
    doc.layers.add("設計-メモ", color=6)
    names.append("設計-メモ")
    # A grid of rooms: every layer gets a few objects around its own cell.
    for i, name in enumerate(names):
        x = (i % 8) * 12.0
        y = (i // 8) * 10.0
        msp.add_lwpolyline([(x, y), (x + 10, y), (x + 10, y + 8), (x, y + 8)], close=True,
                           dxfattribs={"layer": name})
        msp.add_circle((x + 5, y + 4), 1.5 + (i % 3) * 0.5, dxfattribs={"layer": name})
        msp.add_line((x, y), (x + 10, y + 8), dxfattribs={"layer": name})
        msp.add_arc((x + 5, y + 4), 3, 0, 120 + i * 5, dxfattribs={"layer": name})
        msp.add_text(name, dxfattribs={"layer": name, "height": 0.6, "insert": (x + 0.3, y + 0.3)})
    psp = doc.layout("Layout1")
    psp.add_viewport(center=(70, 100), size=(120, 90), view_center_point=(48, 25), view_height=60)
    psp.add_viewport(center=(210, 100), size=(120, 90), view_center_point=(48, 25),
                     view_height=30)
    psp.add_text("TovalenAutoCAD sample", dxfattribs={"height": 5, "insert": (20, 170)})
    doc.header["$CLAYER"] = "0"
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    doc.saveas(OUT)
    print(f"{OUT}: {len(names)} layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
