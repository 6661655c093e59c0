"""Tables written by the library read back in an independent reader.

Real-world tables are edited through the table commands (updates, additions,
deletions), saved in place and saved to another folder; python3-dbfread then
reads each written file with the record count, field bytes and deleted flags
that the same edits give when applied to the original bytes by the stored
forms of the record formatter (text left-aligned, numbers right-aligned, both
blank-padded and cut to the field; dates and logicals as given), in the
table's code page.
"""

import os
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compat_support as cs  # noqa: E402

# Files with text, number, date and (some of them) logical fields; between
# them: a field name used twice, 30 deleted records, a spare header byte, a
# 263-byte header gap, binary fields and non-ASCII field names.
EDITED_FILES = ('dbase_03.dbf', 'PYACFL.DBF', 'dbase_not_latin1.dbf', 'vfp9_30.dbf',
                'dbase_8b.dbf')


class EditPlan:
    """Edits chosen from a table's fields and applied to the model; `script`
    gives the same edits as table commands."""

    def __init__(self, model):
        self.model = model
        self.commands = []
        count = len(model.records)
        active = [r for r in range(count) if not model.is_deleted(r)]
        deleted = [r for r in range(count) if model.is_deleted(r)]
        text = model.first('C', 6)
        number = model.first('N', 3)
        date = model.first('D', 8)
        logical = model.first('L', 1)

        first = [(text, 'Müller-Lüdenscheid, Zoë'), (number, '42'),
                 (date, '20240131'), (logical, 'T')]
        self.update(active[0], [(n, v) for n, v in first if n])
        if deleted:
            self.update(deleted[0], [(text, 'Pérez')])
        added = [(text, 'Ångström'), (number, '-7'), (date, '19991231'), (logical, 'F')]
        added = self.add([(n, v) for n, v in added if n])
        blank = self.add([(text, '')])
        self.delete(active[-1] if len(active) > 1 else added)
        self.delete(blank)

    def update(self, record, assignments):
        self.model.assign(record, assignments)
        self.commands.append('emit update [tav_updateRec T01 %d [list %s]]' % (
            record, assignments_list(assignments)))

    def add(self, assignments):
        record = self.model.add(assignments)
        self.commands.append('emit add %d [tav_addRec T01 1 [list %s]]' % (
            record, assignments_list(assignments)))
        return record

    def delete(self, record):
        self.model.delete(record)
        self.commands.append('emit delete [tav_delRec T01 %d]' % record)

    def script(self):
        return '\n'.join(self.commands) + '\n'


def assignments_list(assignments):
    return cs.tcl_list(name + '=' + value for name, value in assignments)


class EngineWriteTest(unittest.TestCase):

    def setUp(self):
        self.scratch = cs.ScratchFolder()

    def tearDown(self):
        self.scratch.remove()

    def assertReadsBackAs(self, path, model):
        view = cs.TableView(path)
        self.assertEqual(view.record_count, len(model.records))
        self.assertEqual(view.active, model.split_fields(deleted=False))
        self.assertEqual(view.deleted, model.split_fields(deleted=True))

    def test_edited_tables_read_back_with_the_edits(self):
        for name in EDITED_FILES:
            with self.subTest(file=name):
                folder = self.scratch.sub(name + '-db')
                other = self.scratch.sub(name + '-copy')
                source = cs.corpus_path(name)
                self.scratch.place(source, folder)
                model = cs.RawTable(cs.read_bytes(source))
                plan = EditPlan(model)

                rows = cs.run_tcl('openTable {%s} T01\n%s'
                                  'emit modified [tav_isMod T01]\n'
                                  'try_emit save {tav_save}\n'
                                  'try_emit saveAs {tav_saveAs {%s}}\n'
                                  % (folder, plan.script(), other))
                for row in rows:
                    if row[0] == 'add':
                        self.assertEqual(row[1], row[2])  # the new record's number
                    elif row[0] in ('load', 'update', 'delete'):
                        self.assertEqual(row[1], '1', row)
                self.assertIn(['modified', 'Yes'], rows)
                self.assertEqual(rows[-2:], [['save', 'ok', '1'], ['saveAs', 'ok', '1']])

                saved = os.path.join(folder, 'T01.DBF')
                self.assertReadsBackAs(saved, model)
                self.assertEqual(cs.read_bytes(os.path.join(other, 'T01.DBF')),
                                 cs.read_bytes(saved))

    def test_field_of_a_name_used_twice_is_the_later_one(self):
        # dbase_03 has a text field and, last, a number field both named
        # Point_ID: an assignment to the name writes the later field only.
        folder = self.scratch.sub('db')
        source = cs.corpus_path('dbase_03.dbf')
        self.scratch.place(source, folder)
        model = cs.RawTable(cs.read_bytes(source))
        self.assertEqual([i for i in range(len(model.fields)) if model.name(i) == 'Point_ID'],
                         [0, 30])
        before = model.field(2, 0)
        model.assign(2, [('Point_ID', '12345')])
        rows = cs.run_tcl('openTable {%s} T01\n'
                          'emit update [tav_updateRec T01 2 {Point_ID=12345}]\n'
                          'try_emit save {tav_save}\n' % folder)
        self.assertEqual(rows, [['load', '1'], ['update', '1'], ['save', 'ok', '1']])
        self.assertEqual(model.field(2, 0), before)
        self.assertEqual(model.field(2, 30), b'    12345')
        self.assertReadsBackAs(os.path.join(folder, 'T01.DBF'), model)


if __name__ == '__main__':
    unittest.main()
