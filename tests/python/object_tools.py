#!/usr/bin/env python3
"""The drawing of the object tool tests, and what ezdxf reads in it.

Usage:
  object_tools.py make FILE    writes the drawing (AutoCAD 2000)
  object_tools.py check FILE   prints {"entities": [{handle, type, layer,
                               color, linetype, space}, ...]} as JSON

Layers "A.1" and "A-1" hold two lines each, "P#1" and "P11" one circle each,
"LOCK" (locked) one line, "OFF" (off) one line, "FRZ" (frozen) one line and
"T" a text. Model-space objects carry colour 1 and linetype DASHED unless
noted; one line on "A.1" is colour 3. A paper-space line lies on "A.1".
Model-space objects sit on a row along y = 0, 10 units apart, each 4 long.
"""

import json
import sys

import ezdxf


def make(path):
    doc = ezdxf.new("R2000", setup=["linetypes"])
    for name in ("A.1", "A-1", "P#1", "P11", "LOCK", "OFF", "FRZ", "T"):
        doc.layers.add(name)
    doc.layers.get("LOCK").lock()
    doc.layers.get("OFF").off()
    doc.layers.get("FRZ").freeze()
    msp = doc.modelspace()
    red = {"color": 1, "linetype": "DASHED"}
    x = 0

    def line(layer, **extra):
        nonlocal x
        attrs = dict(red, layer=layer)
        attrs.update(extra)
        msp.add_line((x, 0), (x + 4, 0), dxfattribs=attrs)
        x += 10

    line("A.1")
    line("A.1", color=3)
    line("A-1")
    line("A-1")
    for layer in ("P#1", "P11"):
        msp.add_circle((x + 2, 0), 2, dxfattribs=dict(red, layer=layer))
        x += 10
    line("LOCK")
    line("OFF")
    line("FRZ")
    msp.add_text("ABC", dxfattribs=dict(red, layer="T", height=2, insert=(x, 0)))
    doc.layout().add_line((1, 1), (2, 2), dxfattribs=dict(red, layer="A.1"))
    doc.saveas(path)


def check(path):
    doc = ezdxf.readfile(path)
    out = []
    for space, layout in (("model", doc.modelspace()), ("paper", doc.layout())):
        for e in layout:
            if e.dxftype() == "VIEWPORT":
                continue
            out.append({
                "handle": e.dxf.handle,
                "type": e.dxftype(),
                "layer": e.dxf.layer,
                "color": e.dxf.get("color", 256),
                "linetype": e.dxf.get("linetype", "BYLAYER"),
                "space": space,
            })
    print(json.dumps({"entities": out}))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        check(sys.argv[2])
