#!/usr/bin/env python3
"""Checks that ezdxf reads every drawing the DXF model fuzz target saved.

Usage: check_ezdxf.py FOLDER

Each *.dxf in FOLDER is read with ezdxf.readfile; a drawing it refuses fails
the check. Prints one line per failing file and exits 1 when any fails or
when the folder holds no drawing (the corpus run always leaves some).
"""

import pathlib
import sys

import ezdxf


def check(path):
    try:
        ezdxf.readfile(str(path))
    except Exception as e:  # ezdxf raises several kinds for unreadable files
        return f"not read: {type(e).__name__}: {e}"
    return None


def main():
    folder = pathlib.Path(sys.argv[1])
    files = sorted(folder.glob("*.dxf"))
    if not files:
        print(f"no saved drawings in {folder}")
        return 1
    failed = 0
    for path in files:
        problem = check(path)
        if problem:
            failed += 1
            print(f"{path.name}: {problem}")
    print(f"{len(files) - failed} of {len(files)} saved drawings read by ezdxf")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
