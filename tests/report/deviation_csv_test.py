"""The sample's judges' deviation report read as a spreadsheet would read it.

The library writes the report of the whole sample event with every column
and line; Python's csv module must load it as a rectangular table, and the
per-judge totals must agree with a count made here, independently, from
the protocols (python3-dbfread): for every placed, active performance, a
judge's grade deviates when it lies at least the threshold away from the
median of the panel's grades.
"""

import csv
import os
import subprocess
import tempfile
import unittest

from dbfread import DBF

BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
LIBRARY = os.environ.get("TAVC_LIBRARY", os.path.join(BUILD, "libtavC.so"))
TCLSH = os.environ.get("TAVC_TCLSH", "tclsh")
DB = os.path.join(BUILD, "sample", "db")
APP = os.path.join(BUILD, "sample", "app")
THRESHOLD = 1

SCRIPT = """
load {library}
tav_set_exec {{{app}}}
tav_openDB {{{db}}}
tav_basicPopulate 0
tav_eventPopulate
puts [tav_eventEvtDeviation {{{out}}} 1 {{}} {threshold} 1 1 1 1 1 1 1]
"""


def write_report(path):
    script = SCRIPT.format(library=LIBRARY, app=APP, db=DB, out=path, threshold=THRESHOLD)
    done = subprocess.run([TCLSH], input=script, capture_output=True, text=True, check=True)
    assert done.stdout.strip() == "1", done.stdout + done.stderr


def n(value):
    return 0 if value in (None, "") else int(value)


def expected_totals():
    """Deviations per judge PCT_ID, counted from the tables."""
    segments = {r["SCP_ID"]: r for r in DBF(os.path.join(DB, "SCP.DBF"))}
    participants = {r["PAR_ID"]: r for r in DBF(os.path.join(DB, "PAR.DBF"))}
    totals = {}
    for prf in DBF(os.path.join(DB, "PRF.DBF")):
        scp = segments.get(prf["SCP_ID"])
        par = participants.get(prf["PAR_ID"])
        if scp is None or par is None or n(prf["PRF_PLACE"]) < 1:
            continue
        group = (scp["SCP_GROUP"] or "").strip()
        if group and (par["PAR_GROUP"] or "").strip() != group:
            continue
        status = (prf["PRF_STAT"] or "").strip()
        if not (status == "O" or (status == "L" and (par["PAR_STAT"] or "").strip() == "A")):
            continue
        judges = [n(scp["SCP_JID%02d" % j]) for j in range(1, 11)]
        for e in range(1, 21):
            if not str(prf["PRF_XCFE%02d" % e] or "").startswith("X"):
                continue
            marks = [n(prf["PRF_E%02dJ%02d" % (e, j)]) for j in range(1, 11)]
            grades = sorted(m - 4 for m in marks if m != 9)
            if not grades:
                median = 0.0
            elif len(grades) % 2:
                median = float(grades[len(grades) // 2])
            else:
                median = (grades[len(grades) // 2 - 1] + grades[len(grades) // 2]) / 2
            for mark, judge in zip(marks, judges):
                if mark == 9 or judge <= 0:
                    continue
                grade = mark - 4
                if grade >= median + THRESHOLD or grade <= median - THRESHOLD:
                    totals[judge] = totals.get(judge, 0) + 1
    return totals


class DeviationCsvTest(unittest.TestCase):
    def test_loads_as_rectangular_table_with_the_expected_totals(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "deviation.csv")
            write_report(path)
            with open(path, newline="", encoding="cp1252") as f:
                rows = list(csv.reader(f))
        widths = {len(row) for row in rows}
        self.assertEqual(len(widths), 1, widths)
        header, totals = rows[0], rows[1]
        self.assertEqual(header[1:7], ["Segment", "Skater", "Element", "numDev",
                                       "median GOE", "AllGoe"])
        self.assertEqual(totals[0], "Judge deviation totals")
        # Judges follow in ascending PCT_ID; the line ends with ",".
        people = {r["PCT_ID"]: (r["PCT_INAME"] or "").strip()
                  for r in DBF(os.path.join(DB, "PCT.DBF"))}
        expected = expected_totals()
        judges = sorted(self.panel_judges())
        self.assertEqual(header[7:-1], [people[j] for j in judges])
        self.assertEqual([int(t) for t in totals[7:-1]], [expected.get(j, 0) for j in judges])
        self.assertEqual(header[-1], "")
        self.assertGreater(len(rows), 500)

    def panel_judges(self):
        ids = set()
        for scp in DBF(os.path.join(DB, "SCP.DBF")):
            ids.update(n(scp["SCP_JID%02d" % j]) for j in range(1, 13))
        ids.discard(0)
        return ids


if __name__ == "__main__":
    unittest.main()
