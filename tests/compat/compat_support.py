"""Shared helpers of the compatibility tests.

The tests drive the library through short Tcl scripts run in the build's
tclsh (the library loaded headless) and read the same table files with
independent readers: python3-dbfread and shapelib's dbfdump.

Tcl hands every value back as the hex of its UTF-8 bytes, one row per line, so
that any text (blanks, braces, control bytes, non-Latin letters) survives the
pipe unchanged.  The library converts field text between a table's code page
(its language-driver byte; Windows-1252 when the byte is 0 or unknown) and
UTF-8, so the raw bytes that dbfread reports are decoded with the same code
page before they are compared.
"""

import codecs
import os
import shutil
import struct
import subprocess
import tempfile

from dbfread import DBF
from dbfread.codepages import guess_encoding

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, 'corpus')

# The two corpus files whose last record is not followed by the 0x1A file
# terminator: the reader refuses them.
UNTERMINATED = ('dbase_31.dbf', 'WSPMST.DBF')
# Files with header length 32 x fields + 33, a record count equal to their
# records and one 0x1A after the last record.
WELL_FORMED = ('dbase_03.dbf', 'dbase_83.dbf', 'dbase_8b.dbf', 'dbase_not_latin1.dbf')


def corpus_files():
    return sorted(name for name in os.listdir(CORPUS)
                  if name.lower().endswith('.dbf'))


def loadable_files():
    """The corpus files that end with the 0x1A terminator."""
    return [name for name in corpus_files() if name not in UNTERMINATED]


def corpus_path(name):
    return os.path.join(CORPUS, name)


def _environment(name, default=None):
    value = os.environ.get(name, default)
    if not value:
        raise RuntimeError(name + ' is not set; run the test through ctest')
    return value


# --- Text --------------------------------------------------------------------

def _undefined_as_same_code_point(error):
    # Tcl's single-byte encodings read a byte that the code page leaves
    # undefined as the character with the same number (0x81 -> U+0081).
    undefined = error.object[error.start:error.end]
    return ''.join(chr(b) for b in undefined), error.end


codecs.register_error('tavc-undefined', _undefined_as_same_code_point)


def code_page(language_driver):
    """The Python codec of a language-driver byte: dbfread's table, with
    Windows-1252 for 0 or an unknown byte."""
    if language_driver == 0:
        return 'cp1252'
    try:
        return guess_encoding(language_driver)
    except LookupError:
        return 'cp1252'


def decode(raw, codec):
    return raw.decode(codec, errors='tavc-undefined')


def field_text(raw):
    """Stored field bytes as the library reads them out: leading blanks, tabs
    and NUL bytes removed, the value ends at the first NUL left inside it,
    trailing blanks and tabs removed."""
    text = raw.lstrip(b' \t\0')
    text = text.split(b'\0', 1)[0]
    return text.rstrip(b' \t')


# --- Independent reading -------------------------------------------------------

class TableView:
    """A table as an independent reader sees it: header numbers, field
    descriptions and the raw bytes of every field, active and deleted records
    apart (each in file order)."""

    def __init__(self, path):
        table = DBF(path, raw=True, encoding='latin-1', ignore_missing_memofile=True,
                    recfactory=lambda items: [value for _, value in items], load=True)
        self.record_count = table.header.numrecords
        self.header_length = table.header.headerlen
        self.record_length = table.header.recordlen
        self.language_driver = table.header.language_driver
        self.codec = code_page(self.language_driver)
        # Names are decoded as Latin-1 by dbfread (lossless), then read in the
        # table's code page like every other text.
        self.fields = [(decode(f.name.encode('latin-1'), self.codec), f.type, f.length)
                       for f in table.fields]
        self.active = list(table.records)
        self.deleted = list(table.deleted)

    def texts(self, records):
        """Field texts of raw records, decoded, as a whole-record read gives
        them (an empty one-character text field reads as a blank)."""
        out = []
        for record in records:
            values = []
            for raw, (_, ftype, length) in zip(record, self.fields):
                text = decode(field_text(raw), self.codec)
                if ftype == 'C' and length == 1 and text == '':
                    text = ' '
                values.append(text)
            out.append(values)
        return out


class RawTable:
    """The records of a table file in file order, as mutable raw bytes, with
    the field layout: the model that the write tests edit alongside the
    library."""

    def __init__(self, data):
        count, self.header_length, self.record_length, language_driver = header_fields(data)
        self.codec = code_page(language_driver)
        self.fields = []  # (name bytes, type, length, offset)
        offset = 1
        for start in range(32, descriptor_end(data) - 1, 32):
            d = data[start:start + 32]
            self.fields.append((d[:11].split(b'\0', 1)[0], chr(d[11]), d[16], offset))
            offset += d[16]
        self.records = [bytearray(data[self.header_length + r * self.record_length:
                                       self.header_length + (r + 1) * self.record_length])
                        for r in range(count)]

    def name(self, index):
        return decode(self.fields[index][0], self.codec)

    def index(self, name):
        """The field a name selects: the last one whose trimmed stored name
        it is."""
        raw = name.encode(self.codec)
        found = [i for i, f in enumerate(self.fields) if f[0].strip(b' \t') == raw]
        return found[-1]

    def field(self, record, index):
        _, _, length, offset = self.fields[index]
        return bytes(self.records[record][offset:offset + length])

    def text(self, record, index):
        return decode(field_text(self.field(record, index)), self.codec)

    def is_deleted(self, record):
        return self.records[record][0:1] == b'*'

    def first(self, ftype, min_length=1):
        """The name of the first field of a type at least `min_length` wide
        that no later field shares."""
        for i, (_, t, length, _) in enumerate(self.fields):
            if t == ftype and length >= min_length and self.index(self.name(i)) == i:
                return self.name(i)
        return None

    # The edits, as the record formatter stores them.
    def assign(self, record, assignments):
        for name, value in assignments:
            index = self.index(name)
            _, ftype, length, offset = self.fields[index]
            raw = value.encode(self.codec)[:length]
            if ftype == 'C':
                raw = raw.ljust(length, b' ')
            elif ftype == 'N':
                raw = raw.rjust(length, b' ')
            self.records[record][offset:offset + length] = raw

    def add(self, assignments):
        self.records.append(bytearray(b' ' * self.record_length))
        self.assign(len(self.records) - 1, [(n, v) for n, v in assignments if v != ''])
        return len(self.records) - 1

    def delete(self, record):
        self.records[record][0:1] = b'*'

    def split_fields(self, deleted):
        """Raw field bytes of the active (or deleted) records, in order."""
        return [[self.field(r, i) for i in range(len(self.fields))]
                for r in range(len(self.records)) if self.is_deleted(r) == deleted]


def header_fields(data):
    """(record count, header length, record length, language driver) of the
    bytes of a table file."""
    count, header_length, record_length = struct.unpack('<IHH', data[4:12])
    return count, header_length, record_length, data[29]


def descriptor_end(data):
    """Offset just after the 0x0D header terminator."""
    offset = 32
    while data[offset] != 0x0D:
        offset += 32
    return offset + 1


# --- The library in tclsh ------------------------------------------------------

TCL_PROCEDURES = r'''
load [lindex $argv 0]
fconfigure stdout -translation lf

# One output row: every value as the hex of its UTF-8 bytes.
proc emit {args} {
    set words {}
    foreach value $args {
        lappend words [binary encode hex [encoding convertto utf-8 $value]]
    }
    puts [join $words " "]
}

# Loads table `handle` from `folder`; the row carries "1" or the refusal.
proc openTable {folder handle} {
    tav_set_dir $folder
    emit load [tav_load $handle]
}

# Counts, field descriptions and every record (whole-record reads); only
# the open handles when the table is not open.
proc dumpTable {handle} {
    emit handles {*}[tav_getHandleList]
    if {$handle ni [tav_getHandleList]} return
    set fields [tav_getNF $handle]
    set records [tav_getNR $handle]
    emit counts $records [tav_getNDR $handle] $fields
    for {set i 0} {$i < $fields} {incr i} {
        set info [split [tav_getFinfo $handle $i] " "]
        emit field [join [lrange $info 0 end-3] " "] {*}[lrange $info end-2 end]
    }
    for {set r 0} {$r < $records} {incr r} {
        emit record {*}[tav_getRec $handle $r {} 0]
    }
}

# Runs a command; the row carries its result or its error text.
proc try_emit {tag script} {
    if {[catch {uplevel 1 $script} result]} {
        emit $tag error $result
    } else {
        emit $tag ok $result
    }
}
'''


def run_tcl(body, timeout=300):
    """Runs `body` after the helper procedures in a fresh tclsh with the
    library loaded; returns the emitted rows (lists of strings, the first
    one being the row's tag)."""
    tclsh = _environment('TAVC_TCLSH', 'tclsh')
    library = _environment('TAVC_LIBRARY')
    with tempfile.NamedTemporaryFile('w', suffix='.tcl', encoding='utf-8',
                                     delete=False) as script:
        script.write(TCL_PROCEDURES + body + '\nexit 0\n')
    try:
        done = subprocess.run([tclsh, script.name, library], capture_output=True,
                              timeout=timeout)
    finally:
        os.unlink(script.name)
    if done.returncode != 0:
        raise AssertionError('tclsh ended with code %d: %s' % (
            done.returncode, done.stderr.decode('utf-8', 'replace')))
    rows = []
    for line in done.stdout.decode('ascii').splitlines():
        rows.append([bytes.fromhex(word).decode('utf-8') for word in line.split(' ')])
    return rows


def tcl_quote(text):
    """`text` as one braced Tcl word (the test texts hold no braces or
    backslashes)."""
    assert not set(text) & set('{}\\'), text
    return '{' + text + '}'


def tcl_list(items):
    return ' '.join(tcl_quote(item) for item in items)


class Dump:
    """The rows of `dumpTable`, parsed."""

    def __init__(self, rows):
        self.load = None
        self.handles = []
        self.counts = None
        self.fields = []
        self.records = []  # (deleted, values)
        for row in rows:
            tag = row[0]
            if tag == 'load':
                self.load = row[1]
            elif tag == 'handles':
                self.handles = row[1:]
            elif tag == 'counts':
                self.counts = tuple(int(v) for v in row[1:])
            elif tag == 'field':
                self.fields.append((row[1], row[2], int(row[3]), int(row[4])))
            elif tag == 'record':
                self.records.append((row[1] == '*', row[2:]))

    def values(self, deleted):
        return [values for is_deleted, values in self.records if is_deleted == deleted]


def dump_table(folder, handle='T01'):
    return Dump(run_tcl('openTable %s %s\ndumpTable %s\n' % (
        tcl_quote(folder), handle, handle)))


class ScratchFolder:
    """A temporary folder, removed with everything in it."""

    def __init__(self):
        self.path = tempfile.mkdtemp(prefix='tavc-compat-')

    def sub(self, name):
        path = os.path.join(self.path, name)
        os.makedirs(path, exist_ok=True)
        return path

    def place(self, source, folder, handle='T01'):
        """Copies `source` into `folder` as handle.DBF; returns its path."""
        target = os.path.join(folder, handle + '.DBF')
        shutil.copyfile(source, target)
        return target

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


def read_bytes(path):
    with open(path, 'rb') as f:
        return f.read()
