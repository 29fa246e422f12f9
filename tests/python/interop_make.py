#!/usr/bin/env python3
"""Writes the drawings of the ezdxf interoperability test with ezdxf.

Usage: interop_make.py OUTDIR

Creates one drawing per flavour (R12, 2000, 2004 in Shift_JIS, 2007, 2018)
and prints a JSON manifest: per flavour the file, its $ACADVER, the number
of layers, the layer names by role, the handles of the entities the test
changes and the texts it wrote.
"""

import json
import os
import sys

import ezdxf

# Layer roles; each flavour names them (ASCII, or Japanese where the drawing
# can hold it).
ASCII_LAYERS = {
    "current": "WALL",
    "renamed": "WALL-RENAMED",
    "off": "LIGHTING",
    "frozen": "FURNITURE",
    "locked": "STRUCTURE",
    "vpdefault": "VPFREEZE",
    "noplot": "NOPLOT",
    "recolor": "RECOLOR",
    "linetype": "DASHED-LAYER",
    "lineweight": "HEAVY",
    "unused": "UNUSED",
    "target": "TARGET",
    "added": "ADDED",
}

SJIS_LAYERS = {
    "current": "壁-外部-1",
    "renamed": "壁-外部-2",
    "off": "電気-照明",
    "frozen": "家具-凍結",
    "locked": "構造-ロック",
    "vpdefault": "ビューポート-既定",
    "noplot": "印刷しない",
    "recolor": "色-変更",
    "linetype": "破線-レイヤ",
    "lineweight": "太線",
    "unused": "未使用",
    "target": "対象-レイヤ",
    # Characters where code page 932 and plain Shift_JIS differ.
    "added": "新規-レイヤ～①",
}

UTF8_LAYERS = dict(ASCII_LAYERS)
UTF8_LAYERS.update({"current": "壁-内部", "renamed": "壁-内部-改", "added": "追加-Ebene-ü"})


def long_text(unit: str, min_len: int) -> str:
    """A paragraph-separated text of at least min_len characters."""
    parts = []
    n = 0
    i = 0
    while n < min_len:
        part = f"{unit} {i}"
        parts.append(part)
        n += len(part) + 2
        i += 1
    return "\\P".join(parts)


FLAVOURS = {
    "r12": ("R12", None, ASCII_LAYERS, "Plain text 12", None),
    "r2000": ("R2000", None, ASCII_LAYERS, "Plain text 2000",
              long_text("Zeile mit Umlauten äöü", 320)),
    # An odd number of ASCII characters first, so that 250-byte chunks would
    # cut a double-byte character if a writer did not care.
    "r2004_sjis": ("R2004", "cp932", SJIS_LAYERS, "元の文字列",
                   "x" + long_text("日本語の段落～テキスト", 300)),
    "r2007": ("R2007", None, UTF8_LAYERS, "元のテキスト 2007",
              long_text("多言語 multi-language Ζ", 320)),
    "r2018": ("R2018", None, ASCII_LAYERS, "Plain text 2018",
              long_text("Line of text 2018", 320)),
}


def make(path: str, version: str, encoding, names: dict, text: str, mtext):
    doc = ezdxf.new(version, setup=["linetypes"])
    if encoding:
        doc.encoding = encoding
    r12 = doc.dxfversion == "AC1009"
    for role in ("current", "off", "frozen", "locked", "vpdefault", "noplot", "recolor",
                 "linetype", "lineweight", "unused", "target"):
        doc.layers.add(names[role], color=1 if role == "recolor" else 7)
    doc.header["$CLAYER"] = names["current"]
    msp = doc.modelspace()
    psp = doc.layout()
    cur = {"layer": names["current"]}
    handles = {}

    # Objects on the current layer: model space, paper space, a block.
    handles["msp_line"] = msp.add_line((0, 0), (10, 0), dxfattribs=cur).dxf.handle
    pline = msp.add_polyline2d([(0, 0), (5, 5), (10, 0)], dxfattribs=cur)
    handles["polyline"] = pline.dxf.handle
    handles["vertex"] = pline.vertices[0].dxf.handle
    handles["psp_line"] = psp.add_line((1, 1), (2, 2), dxfattribs=cur).dxf.handle
    blk = doc.blocks.new("DOOR")
    handles["block_line"] = blk.add_line((0, 0), (1, 0), dxfattribs=cur).dxf.handle
    blk.add_attdef("NUMBER", (0, 1), dxfattribs=cur)
    insert = msp.add_blockref("DOOR", (20, 0), dxfattribs=cur)
    insert.add_auto_attribs({"NUMBER": "D1"})
    handles["insert"] = insert.dxf.handle
    handles["attrib"] = insert.attribs[0].dxf.handle

    # Objects on the other layers keep them.
    for role in ("off", "frozen", "locked", "recolor", "linetype"):
        msp.add_circle((0, 0), 1, dxfattribs={"layer": names[role]})

    # Objects the test changes one by one.
    handles["retarget"] = msp.add_line((0, 5), (5, 5)).dxf.handle
    handles["text"] = msp.add_text(text, dxfattribs={"layer": "0"}).dxf.handle
    if mtext is not None:
        handles["mtext"] = msp.add_mtext(mtext).dxf.handle
    if not r12:
        # A paper-space viewport whose frozen-layer list names the layer the
        # test deletes; the reference must go with the layer.
        doc.layers.add("VIEWPORTS")
        vp = psp.add_viewport((5, 5), (4, 4), (0, 0), 10)
        vp.frozen_layers = [names["unused"], names["frozen"]]
        handles["viewport"] = vp.dxf.handle
    doc.saveas(path)
    return {
        "file": path,
        "version": doc.dxfversion,
        "codepage": doc.header.get("$DWGCODEPAGE", ""),
        "layer_count": len(doc.layers),
        "layers": names,
        "handles": handles,
        "linetype": "DASHED",
        "mtext": mtext,
        "text": text,
    }


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    manifest = {}
    for key, (version, encoding, names, text, mtext) in FLAVOURS.items():
        manifest[key] = make(os.path.join(out, key + ".dxf"), version, encoding, names, text,
                             mtext)
    json.dump(manifest, sys.stdout, ensure_ascii=False)
    sys.stdout.write("\n")


if __name__ == "__main__":
    main()
