#!/usr/bin/env python3
"""Writes the seed corpus of the table reader fuzzer (corpus/dbf_reader/).

Each seed is a small table file: well-formed tables of every shape the reader
accepts, and files cut or bent in each way the reader must refuse.  Findings
of the fuzzer are kept in the same folder under names starting "finding-";
this script leaves them alone.  Run it from anywhere; it is deterministic.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus", "dbf_reader")


def header(count, hsize, rsize, version=0x03, date=(114, 11, 5), codepage=0x03):
    return (bytes([version, *date]) + struct.pack("<IHH", count, hsize, rsize)
            + bytes(16) + bytes([0, codepage]) + bytes(2))


def descriptor(name, ftype, length, decimals=0):
    raw = name.encode("latin-1")[:11]
    return raw + bytes(11 - len(raw)) + ftype.encode() + bytes(4) + bytes([length, decimals]) + bytes(14)


def record(fields, values, deleted=False):
    out = b"*" if deleted else b" "
    for (name, ftype, length), value in zip(fields, values):
        v = value if isinstance(value, bytes) else value.encode("latin-1")
        v = v[:length]
        pad = b" " * (length - len(v))
        out += pad + v if ftype == "N" else v + pad
    return out


def table(fields, rows, deleted=(), gap=0, count=None, hsize=None, rsize=None,
          terminator=True, **head):
    computed_rsize = 1 + sum(f[2] for f in fields)
    computed_hsize = 32 + 32 * len(fields) + 1 + gap
    body = b"".join(descriptor(*f) for f in fields) + b"\x0d" + bytes(gap)
    recs = b"".join(record(fields, r, i in deleted) for i, r in enumerate(rows))
    out = header(len(rows) if count is None else count,
                 computed_hsize if hsize is None else hsize,
                 computed_rsize if rsize is None else rsize, **head) + body + recs
    return out + (b"\x1a" if terminator else b"")


PERSON = [("PCT_ID", "N", 6), ("PCT_FNAME", "C", 12), ("PCT_GNAME", "C", 10)]
PEOPLE = [["1", "Anna", "Berg"], ["2", "Bob", "Stone"], ["3", "Cleo", "Marsh"]]
TYPES = [("NAME", "C", 8), ("AGE", "N", 3), ("BORN", "D", 8), ("OK", "L", 1), ("MEMO", "M", 10)]


def seeds():
    s = {}
    # Tables the reader accepts.
    s["ok-people"] = table(PERSON, PEOPLE, deleted={1})
    s["ok-no-records"] = table(PERSON, [])
    s["ok-no-fields"] = table([], [])
    s["ok-no-fields-records"] = table([], [[], []], deleted={1})
    s["ok-gap-263"] = table(PERSON, PEOPLE[:2], gap=263)
    s["ok-all-types"] = table(TYPES, [["Anna", "12", "20141105", "T", "0000000001"],
                                      ["", "", "", "?", ""]])
    s["ok-names"] = table([("ELEVENCHARS", "C", 2), ("PAD   ", "C", 2), (" TAB\t", "C", 2),
                           ("DUP", "C", 1), ("DUP", "N", 1)], [["ab", "cd", "ef", "x", "9"]])
    s["ok-count-above-held"] = table(PERSON, PEOPLE, count=7)
    s["ok-count-below-held"] = table(PERSON, PEOPLE, deleted={0, 2}, count=1)
    s["ok-wide-field"] = table([("TEXT", "C", 255), ("N", "N", 4)], [["x" * 255, "42"]])
    s["ok-codepage-1251"] = table([("NAME", "C", 10)], [[b"\xcf\xe5\xf2\xf0"]], codepage=0xC9)
    s["ok-nul-and-tabs"] = table([("A", "C", 6), ("B", "N", 5)],
                                 [[b"\x00ab\x00c", b"\t 12\t"], [b"\x00\x00", b"-3x"]])
    s["ok-version-byte"] = table(PERSON, PEOPLE[:1], version=0x83, date=(99, 12, 31))
    s["ok-record-after-terminator"] = table(PERSON, PEOPLE[:1]) + b"q" * 28 + b"\x1a"
    s["ok-zero-length-field"] = table([("EMPTY", "C", 0), ("A", "C", 1)], [["", "a"]])
    # 29 bytes of fields in a 40-byte record: the rest of the record is spare.
    s["ok-spare-record-bytes"] = (table(PERSON, PEOPLE[:1], rsize=40, terminator=False)
                                  + b"#" * 11 + b"\x1a")
    # Files the reader refuses.
    s["bad-empty"] = b""
    s["bad-one-byte"] = b"\x03"
    s["bad-short-header"] = header(1, 65, 5)[:31]
    s["bad-header-only"] = header(1, 65, 5)
    s["bad-short-descriptor"] = header(1, 65, 5) + descriptor("A", "C", 4)[:17]
    s["bad-no-header-terminator"] = header(0, 1000, 5) + descriptor("A", "C", 4) * 3
    s["bad-record-length-zero"] = table(PERSON, PEOPLE, rsize=0)
    s["bad-fields-past-record"] = table(PERSON, PEOPLE, rsize=20)
    s["bad-header-cuts-descriptors"] = table(PERSON, PEOPLE, hsize=64)
    s["bad-header-length-zero"] = table(PERSON, PEOPLE, hsize=0)
    s["bad-header-past-end"] = table(PERSON, PEOPLE, hsize=65535)
    s["bad-no-terminator"] = table(PERSON, PEOPLE, terminator=False)
    s["bad-record-cut"] = table(PERSON, PEOPLE)[:-10]
    s["bad-bytes-after-terminator"] = table(PERSON, PEOPLE) + b"xyz"
    s["bad-huge-record-length"] = table(PERSON, PEOPLE, rsize=65535, count=0xFFFFFFFF)
    s["bad-many-wide-fields"] = table([("W%d" % i, "C", 255) for i in range(300)], [],
                                      rsize=65535)
    s["bad-no-fields-no-terminator"] = table([], [[], []], terminator=False)
    return s


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in sorted(seeds().items()):
        with open(os.path.join(OUT, name + ".dbf"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
