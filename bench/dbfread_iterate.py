"""Reference reader for the open benchmark: python3-dbfread iterating every
record of the named tables of a database folder.

Records are read with raw=True (field bytes, no conversion by type), which is
dbfread's fastest way through a table and the closest to what the library
does when it opens a folder.  Prints the elapsed seconds and the records read:

    dbfread_iterate.py FOLDER HANDLE...   ->   "seconds 12.345678 records 250000"
"""
import os
import sys
import time

from dbfread import DBF


def main():
    folder, handles = sys.argv[1], sys.argv[2:]
    start = time.perf_counter()
    records = 0
    for handle in handles:
        for _ in DBF(os.path.join(folder, handle + ".DBF"), raw=True):
            records += 1
    print("seconds %.6f records %d" % (time.perf_counter() - start, records))


if __name__ == "__main__":
    main()
