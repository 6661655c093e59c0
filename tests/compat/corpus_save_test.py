"""Real-world table files survive a forced save.

A table read and saved with force (in place, and to another folder) is
written back byte for byte.  The only bytes the writer does not carry are
those of a gap between the header terminator and the first record, which it
writes as zeros; in the corpus every such gap already holds zeros, so every
file that loads comes back identical, the four well-formed ones included.
"""

import os
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compat_support as cs  # noqa: E402


def with_zero_gap(data):
    """The file as the writer produces it: the gap after the header
    terminator zeroed."""
    _, header_length, _, _ = cs.header_fields(data)
    start = cs.descriptor_end(data)
    return data[:start] + bytes(header_length - start) + data[header_length:]


class CorpusSaveTest(unittest.TestCase):

    def setUp(self):
        self.scratch = cs.ScratchFolder()

    def tearDown(self):
        self.scratch.remove()

    def forced_saves(self, source):
        """Loads `source` as T01, saves it with force in place and then to a
        second folder; returns the bytes of both files."""
        folder = self.scratch.sub('db')
        other = self.scratch.sub('copy')
        self.scratch.place(source, folder)
        rows = cs.run_tcl('''
openTable {%s} T01
tav_setDbfMod T01
try_emit save {tav_save}
emit modified [tav_isMod T01]
tav_setDbfMod T01
try_emit saveAs {tav_saveAs {%s}}
emit modified [tav_isMod T01]
''' % (folder, other))
        self.assertEqual(rows, [['load', '1'], ['save', 'ok', '1'], ['modified', 'No'],
                                ['saveAs', 'ok', '1'], ['modified', 'No']])
        return (cs.read_bytes(os.path.join(folder, 'T01.DBF')),
                cs.read_bytes(os.path.join(other, 'T01.DBF')))

    def test_loadable_files_are_written_back_byte_for_byte(self):
        for name in cs.loadable_files():
            with self.subTest(file=name):
                source = cs.read_bytes(cs.corpus_path(name))
                in_place, saved_as = self.forced_saves(cs.corpus_path(name))
                self.assertEqual(in_place, with_zero_gap(source))
                self.assertEqual(saved_as, with_zero_gap(source))
                if name in cs.WELL_FORMED:
                    self.assertEqual(in_place, source)

    def test_gap_bytes_are_written_as_zeros(self):
        # A gap that holds something (here a backlink name, as some producers
        # leave it) is not carried: the rest of the file is.
        source = bytearray(cs.read_bytes(cs.corpus_path('vfp9_30.dbf')))
        start = cs.descriptor_end(source)
        source[start:start + 9] = b'owner.dbc'
        path = os.path.join(self.scratch.path, 'with_backlink.dbf')
        with open(path, 'wb') as f:
            f.write(source)
        in_place, saved_as = self.forced_saves(path)
        self.assertNotEqual(in_place, bytes(source))
        self.assertEqual(in_place, with_zero_gap(bytes(source)))
        self.assertEqual(saved_as, in_place)


if __name__ == '__main__':
    unittest.main()
