#!/usr/bin/env python3
"""Writes the drawings of the command-line, viewport and script tests with ezdxf.

Usage: cmdline_make.py OUTDIR

Writes into OUTDIR:
  layers2000.dxf  R2000: layers in several states, model-space lines, layout
                  "Layout1" with two floating viewports (TEXT frozen in the
                  second; XDATA on the first) and layout "Plan B" with one.
  vp341.dxf       the same drawing with the viewports' frozen-layer handles
                  written as group 341 instead of 331.
  layersR12.dxf   R12: the same layers and one paper space with two floating
                  viewports (TEXT frozen in the second).
Prints a JSON manifest: the files and, per file, the layer handles.
"""

import json
import os
import sys

import ezdxf

# name -> (colour, flags): flag 1 frozen, 2 frozen in new viewports, 4 locked.
LAYERS = {
    "WALL": (1, 0),
    "DOOR": (2, 0),
    "WINDOW": (4, 0),
    "Furniture A": (5, 0),
    "TEXT": (6, 0),
    "DIM": (3, 2),
    "HATCH": (8, 1),
    "GRID": (9, 4),
    "NOPLOT-ME": (7, 0),
    "A-1": (7, 0),
    "A-2": (7, 0),
    "B-1": (7, 0),
}
R12_SAFE = {name: v for name, v in LAYERS.items() if " " not in name}


def add_layers(doc, layers):
    for name, (color, flags) in layers.items():
        layer = doc.layers.add(name, color=color)
        layer.dxf.flags = flags
    msp = doc.modelspace()
    for i, name in enumerate(layers):
        msp.add_line((0, i), (10, i), dxfattribs={"layer": name})
    doc.header["$CLAYER"] = "WALL"


def add_viewports(layout, frozen_in_second):
    vp1 = layout.add_viewport(center=(100, 100), size=(80, 60), view_center_point=(5, 6),
                              view_height=50)
    vp2 = layout.add_viewport(center=(200, 100), size=(80, 60), view_center_point=(7, 8),
                              view_height=40)
    vp2.frozen_layers = frozen_in_second
    return vp1, vp2


def make_2000(path):
    doc = ezdxf.new("R2000")
    add_layers(doc, LAYERS)
    doc.appids.new("TOVA_TEST")
    vp1, _ = add_viewports(doc.layouts.get("Layout1"), ["TEXT"])
    vp1.set_xdata("TOVA_TEST", [(1000, "kept")])
    plan = doc.layouts.new("Plan B")
    plan.add_viewport(center=(50, 50), size=(40, 30), view_center_point=(0, 0), view_height=20)
    doc.layouts.get("Layout1").add_line((0, 0), (10, 10), dxfattribs={"layer": "WALL"})
    doc.saveas(path)
    return doc


def to_341(src, dst):
    """Rewrites group 331 as 341 inside VIEWPORT entities, keeping all else."""
    with open(src, "r", encoding="cp1252", newline="") as f:
        lines = f.read().splitlines(keepends=True)
    out = []
    in_viewport = False
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i], lines[i + 1]
        if code.strip() == "0":
            in_viewport = value.strip() == "VIEWPORT"
        if in_viewport and code.strip() == "331":
            code = code.replace("331", "341")
        out += [code, value]
    with open(dst, "w", encoding="cp1252", newline="") as f:
        f.write("".join(out))


def make_r12(path):
    doc = ezdxf.new("R12")
    add_layers(doc, R12_SAFE)
    add_viewports(doc.layouts.get("Layout1"), ["TEXT"])
    doc.saveas(path)
    return doc


def handles(doc):
    return {layer.dxf.name: layer.dxf.handle for layer in doc.layers}


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {}
    d2000 = make_2000(os.path.join(out, "layers2000.dxf"))
    files["layers2000"] = {"path": os.path.join(out, "layers2000.dxf"), "layers": handles(d2000)}
    to_341(files["layers2000"]["path"], os.path.join(out, "vp341.dxf"))
    files["vp341"] = {"path": os.path.join(out, "vp341.dxf"), "layers": handles(d2000)}
    d12 = make_r12(os.path.join(out, "layersR12.dxf"))
    files["layersR12"] = {"path": os.path.join(out, "layersR12.dxf"), "layers": handles(d12)}
    print(json.dumps(files))


if __name__ == "__main__":
    main()
