"""A table created by another tool opens, edits and saves here.

shapelib's dbfcreate and dbfadd write a table (language-driver byte 0x57,
Windows-1252 text); the library loads it with what python3-dbfread reports,
writes it back byte for byte on a forced save, and after updates, an
addition and a deletion both python3-dbfread and shapelib's own dbfdump read
the edits.
"""

import os
import subprocess
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compat_support as cs  # noqa: E402

ROWS = [('Anna', '12', '3.5'), ('Pérez', '40', '10.25'), ('Søren Ødegård', '7', '')]


def shapelib_table(folder):
    """Creates NAME C 20, AGE N 5.0, SCORE N 8.2 with ROWS (text passed to the
    tools in Windows-1252) and places it as T01.DBF in `folder`."""
    base = os.path.join(folder, 'people')
    subprocess.run(['dbfcreate', base, '-s', 'NAME', '20', '-n', 'AGE', '5', '0',
                    '-n', 'SCORE', '8', '2'], check=True, capture_output=True)
    for row in ROWS:
        subprocess.run([b'dbfadd', base.encode()] + [v.encode('cp1252') for v in row],
                       check=True, capture_output=True)
    target = os.path.join(folder, 'T01.DBF')
    os.rename(base + '.dbf', target)
    return target


def dbfdump_records(path):
    """dbfdump -m: per record its deleted mark and the text of each field."""
    out = subprocess.run(['dbfdump', '-m', path], check=True, capture_output=True).stdout
    records = []
    for line in out.decode('cp1252').splitlines():
        if line.startswith('Record: '):
            records.append([False, {}])
        elif line == '(DELETED)':
            records[-1][0] = True
        elif ': ' in line and records:
            name, value = line.split(': ', 1)
            records[-1][1][name] = value.strip()
    return [(deleted, fields) for deleted, fields in records]


class ShapelibTest(unittest.TestCase):

    def setUp(self):
        self.scratch = cs.ScratchFolder()
        self.folder = self.scratch.sub('db')
        self.path = shapelib_table(self.folder)

    def tearDown(self):
        self.scratch.remove()

    def test_loads_as_the_independent_reader_sees_it(self):
        view = cs.TableView(self.path)
        self.assertEqual(view.language_driver, 0x57)
        dump = cs.dump_table(self.folder)
        self.assertEqual(dump.load, '1')
        self.assertEqual(dump.counts, (3, 0, 3))
        self.assertEqual(dump.fields, [('NAME', 'C', 20, 1), ('AGE', 'N', 5, 21),
                                       ('SCORE', 'N', 8, 26)])
        self.assertEqual(dump.values(deleted=False), view.texts(view.active))
        self.assertEqual([values[0] for values in dump.values(deleted=False)],
                         [row[0] for row in ROWS])

    def test_forced_save_is_byte_identical(self):
        source = cs.read_bytes(self.path)
        other = self.scratch.sub('copy')
        rows = cs.run_tcl('openTable {%s} T01\ntav_setDbfMod T01\n'
                          'try_emit save {tav_save}\ntry_emit saveAs {tav_saveAs {%s}}\n'
                          % (self.folder, other))
        self.assertEqual(rows, [['load', '1'], ['save', 'ok', '1'], ['saveAs', 'ok', '1']])
        self.assertEqual(cs.read_bytes(self.path), source)
        self.assertEqual(cs.read_bytes(os.path.join(other, 'T01.DBF')), source)

    def test_edits_saved_here_read_back_in_both_tools(self):
        rows = cs.run_tcl('''
openTable {%s} T01
emit update [tav_updateRec T01 0 {NAME=Zoë AGE=13}]
emit update [tav_updateRec T01 2 {SCORE=9.75}]
emit add [tav_addRec T01 1 {{NAME=François Müller} AGE=101 SCORE=0.5}]
emit delete [tav_delRec T01 1]
try_emit save {tav_save}
''' % self.folder)
        self.assertEqual(rows, [['load', '1'], ['update', '1'], ['update', '1'],
                                ['add', '3'], ['delete', '1'], ['save', 'ok', '1']])
        expected_active = [['Zoë', '13', '3.50'], ['Søren Ødegård', '7', '9.75'],
                           ['François Müller', '101', '0.5']]
        expected_deleted = [['Pérez', '40', '10.25']]

        view = cs.TableView(self.path)
        self.assertEqual(view.record_count, 4)
        self.assertEqual(view.texts(view.active), expected_active)
        self.assertEqual(view.texts(view.deleted), expected_deleted)

        dumped = dbfdump_records(self.path)
        self.assertEqual([deleted for deleted, _ in dumped], [False, True, False, False])
        self.assertEqual([fields['NAME'] for _, fields in dumped],
                         ['Zoë', 'Pérez', 'Søren Ødegård', 'François Müller'])
        self.assertEqual([float(fields['AGE']) for _, fields in dumped], [13, 40, 7, 101])
        self.assertEqual([float(fields['SCORE']) for _, fields in dumped],
                         [3.5, 10.25, 9.75, 0.5])


if __name__ == '__main__':
    unittest.main()
