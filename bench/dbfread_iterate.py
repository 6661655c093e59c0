"""Reference reader for the open benchmark: python3-dbfread iterating every
record of the named tables of a database folder.

By default records are read with raw=True (field bytes, no conversion by
type), dbfread's fastest way through a table and the closest to what the
library does when it opens a folder.  With --values, dbfread converts every
field by its type, as it does unless told otherwise.  Prints the elapsed
seconds and the records read:

    dbfread_iterate.py [--values] FOLDER HANDLE...
        ->   "seconds 12.345678 records 250000"
"""
import os
import sys
import time

from dbfread import DBF


def main():
    args = sys.argv[1:]
    raw = True
    if args and args[0] == "--values":
        raw = False
        args = args[1:]
    folder, handles = args[0], args[1:]
    start = time.perf_counter()
    records = 0
    for handle in handles:
        for _ in DBF(os.path.join(folder, handle + ".DBF"), raw=raw):
            records += 1
    print("seconds %.6f records %d" % (time.perf_counter() - start, records))


if __name__ == "__main__":
    main()
