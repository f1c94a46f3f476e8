#!/usr/bin/python3
"""ezdxf, a DXF reader and writer independent of lumen7, for lumen7's tests.

  ezdxf_tool.py read FILE
      Audits FILE and prints "errors N fixes M", then one line per model
      space entity: "LINE x1 y1 x2 y2", "CIRCLE x y r" or the entity type,
      with every number as Python's exact repr.
  ezdxf_tool.py write VERSION FILE
      Writes FILE in DXF version VERSION (R12, R2000, ...) from lines on
      standard input: "LINE x1 y1 x2 y2", "CIRCLE x y r", "ARC x y r a b",
      "TEXT x y", "PAPERLINE x1 y1 x2 y2" (a line on the paper space),
      "INSERT x y" (a block of one line, placed at x y).
"""
import sys

import ezdxf


def read(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print("errors", len(auditor.errors), "fixes", len(auditor.fixes))
    for entry in auditor.errors + auditor.fixes:
        print("#", entry.message)
    for entity in doc.modelspace():
        kind = entity.dxftype()
        if kind == "LINE":
            s, e = entity.dxf.start, entity.dxf.end
            print("LINE", repr(s.x), repr(s.y), repr(e.x), repr(e.y))
        elif kind == "CIRCLE":
            c = entity.dxf.center
            print("CIRCLE", repr(c.x), repr(c.y), repr(entity.dxf.radius))
        elif kind == "ARC":
            c = entity.dxf.center
            print("ARC", repr(c.x), repr(c.y), repr(entity.dxf.radius), repr(entity.dxf.start_angle),
                  repr(entity.dxf.end_angle))
        else:
            print(kind)


def write(version, path):
    doc = ezdxf.new(version)
    msp = doc.modelspace()
    block = None
    for line in sys.stdin:
        words = line.split()
        if not words:
            continue
        kind, values = words[0], [float(w) for w in words[1:]]
        if kind == "LINE":
            msp.add_line(values[0:2], values[2:4])
        elif kind == "CIRCLE":
            msp.add_circle(values[0:2], values[2])
        elif kind == "ARC":
            msp.add_arc(values[0:2], values[2], values[3], values[4])
        elif kind == "TEXT":
            msp.add_text("lumen7").set_placement(values[0:2])
        elif kind == "PAPERLINE":
            doc.layout("Layout1").add_line(values[0:2], values[2:4])
        elif kind == "INSERT":
            if block is None:
                block = doc.blocks.new(name="PART")
                block.add_line((0, 0), (1, 1))
            msp.add_blockref("PART", values[0:2])
        else:
            raise SystemExit("unknown entity " + kind)
    doc.saveas(path)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "read":
        read(sys.argv[2])
    elif len(sys.argv) == 4 and sys.argv[1] == "write":
        write(sys.argv[2], sys.argv[3])
    else:
        raise SystemExit(__doc__)
