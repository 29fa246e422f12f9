#!/usr/bin/env python3
"""Drawings of the layer rename test, and what ezdxf reads in them.

Usage:
  layer_rename.py make OUTDIR   writes r12.dxf, r2000.dxf and r2018.dxf and
                                prints {"r12": path, ...}
  layer_rename.py check FILE    prints what the drawing holds, as JSON

Each drawing has the layers OLD, OTHER and KEEP (current). OLD holds a
model-space line, a paper-space line, a line inside block BLK and an insert of
BLK; OTHER holds a circle; the first paper-space viewport freezes OLD and
OTHER, the second only OTHER.
"""

import json
import os
import sys

import ezdxf


def make(path, version):
    doc = ezdxf.new(version, setup=["linetypes"])
    for name in ("OLD", "OTHER", "KEEP"):
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
    vp1 = psp.add_viewport(center=(100, 100), size=(80, 60), view_center_point=(5, 6),
                           view_height=50)
    vp1.frozen_layers = ["OLD", "OTHER"]
    vp2 = psp.add_viewport(center=(200, 100), size=(80, 60), view_center_point=(7, 8),
                           view_height=40)
    vp2.frozen_layers = ["OTHER"]
    doc.saveas(path)


def r12_frozen(path):
    """Per floating VIEWPORT of an R12 file, the layer names of its XDATA
    frozen-layer list (group 1003), read from the file's tags."""
    with open(path, "r", encoding="cp1252", newline="") as f:
        lines = f.read().splitlines()
    lists = []
    current = None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == "0":
            current = {"id": 0, "names": []} if value == "VIEWPORT" else None
            if current is not None:
                lists.append(current)
        elif current is not None and code == "69":
            current["id"] = int(value)
        elif current is not None and code == "1003":
            current["names"].append(value)
    return [sorted(vp["names"]) for vp in lists if vp["id"] > 1]


def check(path):
    doc = ezdxf.readfile(path)
    out = {
        "layers": sorted(layer.dxf.name for layer in doc.layers),
        "clayer": doc.header.get("$CLAYER", ""),
        "modelspace": sorted(f"{e.dxftype()}:{e.dxf.layer}" for e in doc.modelspace()),
        "paperspace": sorted(f"{e.dxftype()}:{e.dxf.layer}" for e in doc.layout()
                             if e.dxftype() != "VIEWPORT"),
        "block": sorted(e.dxf.layer for e in doc.blocks.get("BLK")),
        "viewports": r12_frozen(path) if doc.dxfversion == "AC1009" else
        [sorted(vp.frozen_layers) for vp in doc.layout().viewports() if vp.dxf.id > 1],
    }
    print(json.dumps(out))


def main():
    if sys.argv[1] == "make":
        out = sys.argv[2]
        os.makedirs(out, exist_ok=True)
        files = {}
        for key, version in (("r12", "R12"), ("r2000", "R2000"), ("r2018", "R2018")):
            files[key] = os.path.join(out, key + ".dxf")
            make(files[key], version)
        print(json.dumps(files))
    else:
        check(sys.argv[2])


if __name__ == "__main__":
    main()
