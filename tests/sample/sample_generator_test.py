"""The sample generator (tools/sample, built as <build>/tools/tavc_sample).

It must write the same bytes every time, refuse faulty schemas and
descriptions with a message naming the fault, and write a large database
that the library opens and that holds together like the sample.
"""

import filecmp
import os
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.environ.get("TAVC_SOURCE_DIR", ".")
BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
GENERATOR = os.path.join(BUILD, "tools", "tavc_sample")
SCHEMA = os.path.join(SOURCE, "tools", "sample", "schema.txt")
DESCRIPTION = os.path.join(SOURCE, "tools", "sample", "competition.txt")
# The ISU Grand Prix Final 2017 protocols as structured by BuzzFeed News,
# CC BY 4.0; tools/sample/protocols/SOURCE.md gives the source.
PROTOCOL = os.path.join(SOURCE, "tools", "sample", "protocols", "gpf2017_protocol.json")
CHECKER = os.path.join(SOURCE, "tests", "sample", "sample_consistency_test.py")


def generate(folder, schema=SCHEMA, description=DESCRIPTION, extra=()):
    return subprocess.run(
        [GENERATOR, "--schema", schema, "--description", description,
         "--db", os.path.join(folder, "db"), "--app", os.path.join(folder, "app")] + list(extra),
        capture_output=True, text=True)


def write(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


class GeneratorTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.folder = self.tmp.name

    def tearDown(self):
        self.tmp.cleanup()

    def same_folders(self, first, second):
        names = sorted(os.listdir(first))
        self.assertEqual(names, sorted(os.listdir(second)))
        match, mismatch, errors = filecmp.cmpfiles(first, second, names, shallow=False)
        self.assertEqual((mismatch, errors), ([], []))

    def test_the_build_sample_is_what_the_generator_writes(self):
        done = generate(self.folder, extra=["--indexes"])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.same_folders(os.path.join(self.folder, "db"), os.path.join(BUILD, "sample", "db"))
        self.same_folders(os.path.join(self.folder, "app"), os.path.join(BUILD, "sample", "app"))

    def test_indexes_are_written_only_when_asked_for(self):
        done = generate(self.folder)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertFalse([n for n in os.listdir(os.path.join(self.folder, "db")) if n.endswith(".CDX")])

    def test_schema_faults_are_refused(self):
        faults = {
            "table T\nT_ID N 4 1-3\n": "no run of zeros",
            "table T\nT_E0 N 4 1-10\n": "does not fit",
            "table T\nT_VERYLONGNAME N 4\n": "longer than 10",
            "table T\nT_ID X 4\n": "must be C, N, D or L",
            "table T\nT_D D 6\n": "invalid length",
            "table T\nT_P N 4.3\n": "invalid length",
            "table T\nT_C C 6.2\n": "invalid length",
            "table T\nT_ID N 4\nT_ID N 4\n": "defined twice",
            "table T\n": "has no fields",
        }
        for text, message in faults.items():
            done = generate(self.folder, schema=write(self.folder, "schema.txt", text))
            self.assertEqual(done.returncode, 1, text)
            self.assertIn(message, done.stderr, text)

    def test_a_schema_without_a_needed_field_is_refused(self):
        with open(SCHEMA, encoding="utf-8") as f:
            text = f.read().replace("PRF_M1TOT   N  7.2\n", "")
        done = generate(self.folder, schema=write(self.folder, "schema.txt", text))
        self.assertEqual(done.returncode, 1)
        self.assertIn("PRF: no field PRF_M1TOT", done.stderr)

    def test_description_faults_are_refused_with_their_line(self):
        with open(DESCRIPTION, encoding="utf-8") as f:
            text = f.read()
        faults = {
            text + "bogus 1\n": r"competition.txt:\d+: unknown keyword bogus",
            text.replace("program MSP1 4T+3T", "program MSP1 5T+3T"):
                r"segment 11, participant \d+: element S\+5T is not in the register",
            text + 'skater 3001 Twice Used gender=M nat=ITA\n': "register id used twice",
            text.replace('entry 110 3010 status=W', 'entry 110 3010 status=X'): "status must be",
            text + 'event 1 "Open quote\n': "unclosed quote",
        }
        for changed, message in faults.items():
            done = generate(self.folder, description=write(self.folder, "competition.txt", changed))
            self.assertEqual(done.returncode, 1, message)
            self.assertRegex(done.stderr, message)

    def test_protocol_faults_are_refused_with_their_place(self):
        with open(PROTOCOL, encoding="utf-8") as f:
            text = f.read()
        first = '"J1": 6.0,'
        faults = {
            text[:1000]: "not JSON",
            text.replace('"performances"', '"entries"'): "no list of performances",
            text.replace(first, '"J1": 6.001,', 1): "performance 1: J1: has more than two decimals",
            text.replace('"J1": 1.0,', '"J1": 1.5,', 1): "performance 1: J1: not a whole grade",
            text.replace('"rank": "1"', '"rank": "first"', 1): "performance 1: rank: not a number",
            text.replace('"JUNIOR PAIRS SHORT PROGRAM"', '"JUNIOR PAIRS WARM-UP"', 1):
                'performance 1: unknown program "JUNIOR PAIRS WARM-UP"',
            text.replace('"element_num": 2,', '"element_num": 3,', 1):
                "elements are not numbered 1, 2, ...",
            text.replace('"starting_number": "4"', '"starting_number": "5"', 1):
                "a second performance of the entry or start number",
            text.replace('"name": "Apollinariia', '"name": "Apollinariia\\u0001', 1):
                "name: holds a control character",
            "[" * 100000: "nested deeper than a protocol file",
        }
        for changed, message in faults.items():
            self.assertNotEqual(changed, text, message)
            done = subprocess.run(
                [GENERATOR, "--schema", SCHEMA, "--protocol", write(self.folder, "p.json", changed),
                 "--db", os.path.join(self.folder, "db"), "--app", os.path.join(self.folder, "app")],
                capture_output=True, text=True)
            self.assertEqual(done.returncode, 1, message)
            self.assertIn(message, done.stderr)
            self.assertEqual(done.stderr.count("\n"), 1, done.stderr)

    def test_large_database_opens_and_holds_together(self):
        done = generate(self.folder, extra=["--large", "5", "--entries", "12", "--register", "900"])
        self.assertEqual(done.returncode, 0, done.stderr)
        env = dict(os.environ, TAVC_SAMPLE_DB=os.path.join(self.folder, "db"),
                   TAVC_SAMPLE_APP=os.path.join(self.folder, "app"), TAVC_SAMPLE_LARGE="1")
        checked = subprocess.run([sys.executable, CHECKER], env=env, capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stderr[-3000:])
        script = ("load {%s}\nputs [tav_openDB {%s}]\nputs [llength [tav_getHandleList]]\n"
                  "puts [tav_getNR PCT]\nputs [tav_getNR CAT]\n"
                  % (os.environ["TAVC_LIBRARY"], os.path.join(self.folder, "db")))
        opened = subprocess.run([os.environ["TAVC_TCLSH"]], input=script, capture_output=True, text=True)
        self.assertEqual(opened.stdout.split(), ["1", "39", "900", "5"], opened.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=1)
