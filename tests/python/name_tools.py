#!/usr/bin/env python3
"""Drawings of the name tools test, and what ezdxf reads in them.

Usage:
  name_tools.py make OUTDIR   writes r12.dxf and r2000.dxf and prints
                              {"r12": path, "r2000": path}
  name_tools.py check FILE    prints what the drawing holds, as JSON

Layers: OLD, OTHER, KEEP (current), b-1, A.1, A-1, A, XA, T. OLD holds a
model-space line, a paper-space line, a line inside block BLK and an insert
of BLK; OTHER a circle; b-1, A.1, A-1, A and XA one line each (A two); T the
texts "abc-1" and "abc-2" and a line. The first paper-space viewport freezes
OLD and OTHER, the second only OLD.
"""

import json
import os
import sys

import ezdxf

from layer_rename import r12_frozen


def make(path, version):
    doc = ezdxf.new(version)
    for name in ("OLD", "OTHER", "KEEP", "b-1", "A.1", "A-1", "A", "XA", "T"):
        doc.layers.add(name)
    doc.header["$CLAYER"] = "KEEP"
    msp = doc.modelspace()
    psp = doc.layout()
    old = {"layer": "OLD"}
    msp.add_line((0, 0), (10, 0), dxfattribs=old)
    msp.add_circle((0, 0), 1, dxfattribs={"layer": "OTHER"})
    psp.add_line((1, 1), (2, 2), dxfattribs=old)
    blk = doc.blocks.new("BLK")
    blk.add_line((0, 0), (1, 0), dxfattribs=old)
    msp.add_blockref("BLK", (20, 0), dxfattribs=old)
    for i, name in enumerate(("b-1", "A.1", "A-1", "A", "A", "XA", "T")):
        msp.add_line((i, 5), (i, 6), dxfattribs={"layer": name})
    msp.add_text("abc-1", dxfattribs={"layer": "T", "insert": (0, 10)})
    msp.add_text("abc-2", dxfattribs={"layer": "T", "insert": (0, 12)})
    vp1 = psp.add_viewport(center=(100, 100), size=(80, 60), view_center_point=(5, 6),
                           view_height=50)
    vp1.frozen_layers = ["OLD", "OTHER"]
    vp2 = psp.add_viewport(center=(200, 100), size=(80, 60), view_center_point=(7, 8),
                           view_height=40)
    vp2.frozen_layers = ["OLD"]
    doc.saveas(path)


def check(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    out = {
        "layers": sorted(layer.dxf.name for layer in doc.layers),
        "modelspace": sorted(f"{e.dxftype()}:{e.dxf.layer}" for e in doc.modelspace()),
        "paperspace": sorted(f"{e.dxftype()}:{e.dxf.layer}" for e in doc.layout()
                             if e.dxftype() != "VIEWPORT"),
        "block": sorted(e.dxf.layer for e in doc.blocks.get("BLK")),
        "texts": sorted(f"{e.dxf.text}:{e.dxf.layer}" for e in doc.modelspace().query("TEXT")),
        "viewports": r12_frozen(path) if doc.dxfversion == "AC1009" else
        [sorted(vp.frozen_layers) for vp in doc.layout().viewports() if vp.dxf.id > 1],
        "errors": len(auditor.errors),
    }
    print(json.dumps(out))


def main():
    if sys.argv[1] == "make":
        out = sys.argv[2]
        os.makedirs(out, exist_ok=True)
        files = {}
        for key, version in (("r12", "R12"), ("r2000", "R2000")):
            files[key] = os.path.join(out, key + ".dxf")
            make(files[key], version)
        print(json.dumps(files))
    else:
        check(sys.argv[2])


if __name__ == "__main__":
    main()
