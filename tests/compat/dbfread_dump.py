"""Prints a table file as python3-dbfread reads it, for the C++ tests.

Output: "count N" with the header's record count, then one line per active
record ("active" and the hex of its field bytes) and one per deleted record
("deleted" and the same), each kind in file order.

Usage: /usr/bin/python3 dbfread_dump.py TABLE.DBF
"""

import sys

from dbfread import DBF


def main(path):
    table = DBF(path, raw=True, encoding='latin-1', ignore_missing_memofile=True,
                recfactory=lambda items: b''.join(value for _, value in items), load=True)
    print('count %d' % table.header.numrecords)
    for record in table.records:
        print('active ' + record.hex())
    for record in table.deleted:
        print('deleted ' + record.hex())


if __name__ == '__main__':
    main(sys.argv[1])
