#!/usr/bin/env python3
"""Reads a drawing with ezdxf and prints what the command-line tests check.

Usage: cmdline_check.py FILE

Prints JSON: "version"; "current" layer; "layers": per name on, frozen,
locked, plot, vpdefault, color, linetype, lineweight; "layouts": per layout
name its VIEWPORT entities (handle, id, frozen layers as ezdxf reads them);
"raw": per VIEWPORT handle the group codes 331/341 found in the file and the
names in an R12 MVIEW frozen-layer list; "audit_errors": what ezdxf's audit
reports.
"""

import json
import sys

import ezdxf


def raw_viewports(path):
    """Per VIEWPORT handle: its 331/341 tags and R12 MVIEW layer names."""
    with open(path, "r", encoding="cp1252", errors="replace") as f:
        lines = [line.strip() for line in f.read().splitlines()]
    result = {}
    current = None
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i], lines[i + 1]
        if code == "0":
            current = {"type": value, "handle": None, "c331": [], "c341": [], "mview": []}
            if value == "VIEWPORT":
                result.setdefault("_pending", []).append(current)
            continue
        if current is None or current["type"] != "VIEWPORT":
            continue
        if code == "5" and current["handle"] is None:
            current["handle"] = value.upper()
        elif code == "331":
            current["c331"].append(value.upper())
        elif code == "341":
            current["c341"].append(value.upper())
        elif code == "1003":
            current["mview"].append(value)
    out = {}
    for vp in result.get("_pending", []):
        out[vp["handle"]] = {"c331": vp["c331"], "c341": vp["c341"], "mview": vp["mview"]}
    return out


def main():
    path = sys.argv[1]
    doc = ezdxf.readfile(path)
    layers = {}
    for layer in doc.layers:
        layers[layer.dxf.name] = {
            "on": layer.is_on(),
            "frozen": layer.is_frozen(),
            "locked": layer.is_locked(),
            "plot": bool(layer.dxf.get("plot", 1)),
            "vpdefault": bool(layer.dxf.flags & 2),
            "color": layer.color,
            "linetype": layer.dxf.linetype,
            "lineweight": layer.dxf.get("lineweight", -3),
        }
    layouts = {}
    for name in doc.layouts.names_in_taborder():
        if name == "Model":
            continue
        layouts[name] = [
            {"handle": vp.dxf.handle, "id": vp.dxf.id, "frozen": list(vp.frozen_layers)}
            for vp in doc.layouts.get(name).query("VIEWPORT")
        ]
    auditor = doc.audit()
    print(json.dumps({
        "version": doc.dxfversion,
        "current": doc.header.get("$CLAYER", "0"),
        "layers": layers,
        "layouts": layouts,
        "raw": raw_viewports(path),
        "audit_errors": len(auditor.errors),
    }))


if __name__ == "__main__":
    main()
