"""Writes the small drawings the object-model tests use (tests/data).

Run again when the drawings need to change: python3 tests/python/make_test_data.py
"""
import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data")


def build(version, path):
    doc = ezdxf.new(version, setup=True)
    for name, color in (("A-1", 1), ("A-2", 2), ("B-1", 3), ("B-2", 4), ("Empty", 5)):
        doc.layers.add(name, color=color)
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "A-1"})
    msp.add_line((0, 5), (10, 5), dxfattribs={"layer": "A-2", "color": 1})
    msp.add_circle((5, 5), 2, dxfattribs={"layer": "B-1", "linetype": "DASHED"})
    msp.add_text("hello", dxfattribs={"layer": "B-2", "height": 1})
    blk = doc.blocks.new("PART")
    blk.add_line((0, 0), (1, 1), dxfattribs={"layer": "B-1"})
    msp.add_blockref("PART", (20, 20), dxfattribs={"layer": "A-1"})
    psp = doc.layout("Layout1")
    psp.add_line((0, 0), (100, 0), dxfattribs={"layer": "A-2"})
    doc.header["$CLAYER"] = "A-1"
    doc.saveas(path)


def main():
    os.makedirs(OUT, exist_ok=True)
    build("R2000", os.path.join(OUT, "small_2000.dxf"))
    build("R12", os.path.join(OUT, "small_r12.dxf"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
