"""Real-world table files load with what an independent reader reports.

Every corpus file either loads with the record count, deleted flags, field
names, types, lengths and field texts that python3-dbfread reports, or (the
two files whose records are not followed by the 0x1A terminator) is refused
with the reader's short-record message and count=0, leaving no table open
and a working interpreter.
"""

import os
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compat_support as cs  # noqa: E402


class CorpusReadTest(unittest.TestCase):

    def setUp(self):
        self.scratch = cs.ScratchFolder()
        self.folder = self.scratch.sub('db')

    def tearDown(self):
        self.scratch.remove()

    def test_corpus_has_the_eleven_files(self):
        self.assertEqual(len(cs.corpus_files()), 11)
        for name in cs.UNTERMINATED + cs.WELL_FORMED:
            self.assertIn(name, cs.corpus_files())

    def test_terminated_files_load_as_the_independent_reader_sees_them(self):
        for name in cs.loadable_files():
            with self.subTest(file=name):
                source = cs.corpus_path(name)
                self.scratch.place(source, self.folder)
                self.assertLoadsLike(cs.TableView(source), cs.dump_table(self.folder))

    def assertLoadsLike(self, view, dump):
        self.assertEqual(dump.load, '1')
        records, deleted, fields = dump.counts
        self.assertEqual(records, view.record_count)
        self.assertEqual(records, len(view.active) + len(view.deleted))
        self.assertEqual(deleted, len(view.deleted))
        self.assertEqual(fields, len(view.fields))

        offset = 1
        for ours, (name, ftype, length) in zip(dump.fields, view.fields):
            self.assertEqual(ours, (name, ftype, length, offset))
            offset += length

        self.assertEqual(dump.values(deleted=False), view.texts(view.active))
        self.assertEqual(dump.values(deleted=True), view.texts(view.deleted))

    def test_field_names_read_from_the_table_select_their_fields(self):
        # Names come out in the table's code page (dbase_not_latin1 has
        # non-ASCII ones) and are accepted back by the commands that take
        # names; a name used twice selects the later field.
        for name in cs.loadable_files():
            with self.subTest(file=name):
                source = cs.corpus_path(name)
                self.scratch.place(source, self.folder)
                model = cs.RawTable(cs.read_bytes(source))
                rows = cs.run_tcl('''
openTable {%s} T01
for {set i 0} {$i < [tav_getNF T01]} {incr i} {
    set name [string trim [join [lrange [split [tav_getFinfo T01 $i] " "] 0 end-3] " "]]
    emit name $name [tav_fieldExists T01 $name] [tav_getFidx T01 $name] \\
        [lindex [tav_getRec T01 0 [list $name] 0] 1]
}
tav_getMapRec T01 0
emit map {*}[lsort [array names gT01]]
''' % self.folder)
                self.assertEqual(rows[0], ['load', '1'])
                names = rows[1:-1]
                self.assertEqual(len(names), len(model.fields))
                for i, (_, field, exists, index, value) in enumerate(names):
                    self.assertEqual(field, model.name(i).strip(' \t'))
                    self.assertEqual(exists, '1')
                    self.assertEqual(int(index), model.index(field))
                    self.assertEqual(value, model.text(0, int(index)))
                self.assertEqual(rows[-1][1:], sorted(
                    {model.name(i) for i in range(len(model.fields))} | {'deleted'}))

    def test_unterminated_files_are_refused_with_the_short_record_message(self):
        for name in cs.UNTERMINATED:
            with self.subTest(file=name):
                source = cs.corpus_path(name)
                data = cs.read_bytes(source)
                count, header_length, record_length, _ = cs.header_fields(data)
                # The file is whole records and nothing after them.
                self.assertNotEqual(data[-1], 0x1A)
                self.assertEqual(len(data), header_length + count * record_length)

                self.scratch.place(source, self.folder)
                dump = cs.dump_table(self.folder)
                self.assertRegex(dump.load, r'^CDbf\.readRecords: T01_readRecords: Unable to '
                                 r'read enough record data: .*  count=0  rsize=%d$'
                                 % record_length)
                # The refused table is not left open and the interpreter goes on.
                self.assertEqual(dump.handles, [])
                self.assertIsNone(dump.counts)


if __name__ == '__main__':
    unittest.main()
