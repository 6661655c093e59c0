"""Results as JSON and the score audit, through tools/publish.tcl.

The real competition is tools/sample/protocols/gpf2017_protocol.json: the
official protocols of the ISU Grand Prix of Figure Skating Final 2017, as
structured by BuzzFeed News (Jeremy Singer-Vine, John Templon), licensed
CC BY 4.0 (https://creativecommons.org/licenses/by/4.0/); SOURCE.md beside
it gives the source.  The build lays it out as a database
($TAVC_BINARY_DIR/sample/gpf2017/db).

Checked here: the judges' details pages of that database show every number
of every performance as the protocol prints it; its JSON export, and the
sample's, validate against doc/results.schema.json (Debian's
python3-jsonschema); the JSON gives the protocol back (protocol -> database
-> JSON); the audit finds the real protocol and the sample clean and reports
a planted wrong mark, total and place, and --strict then publishes nothing;
--json and --check also work under --watch.
"""

import glob
import html.parser
import json
import math
import os
import shutil
import subprocess
import tempfile
import time
import unittest

import jsonschema

BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
SOURCE = os.environ.get("TAVC_SOURCE_DIR", ".")
LIBRARY = os.environ.get("TAVC_LIBRARY", os.path.join(BUILD, "libtavC.so"))
TCLSH = os.environ.get("TAVC_TCLSH", "tclsh")
PUBLISH = os.path.join(SOURCE, "tools", "publish.tcl")
PROTOCOL = os.path.join(SOURCE, "tools", "sample", "protocols", "gpf2017_protocol.json")
SCHEMA = os.path.join(SOURCE, "doc", "results.schema.json")
REAL = os.path.join(BUILD, "sample", "gpf2017")
SAMPLE = os.path.join(BUILD, "sample")


def hundredths(value):
    """A protocol number (or text) in hundredths; None for NaN."""
    value = float(value)
    return None if math.isnan(value) else int(round(value * 100))


def load_protocol():
    with open(PROTOCOL, encoding="utf-8") as f:
        return json.load(f)["performances"]  # Python reads the bare NaN


def segment_of(program):
    """("JUNIOR PAIRS", "SHORT PROGRAM") of "JUNIOR PAIRS SHORT PROGRAM"."""
    for kind in ("SHORT PROGRAM", "FREE SKATING", "SHORT DANCE", "FREE DANCE"):
        if program.endswith(" " + kind):
            return program[: -len(kind) - 1], kind
    raise ValueError(program)


def publish(db, out, app, *options, timeout=120):
    return subprocess.run([TCLSH, PUBLISH, db, out, "--library", LIBRARY, "--app", app, *options],
                          capture_output=True, text=True, timeout=timeout)


class TableCells(html.parser.HTMLParser):
    """Every TABLE of a page as rows of cell texts, and the H2 headings."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tables, self.headings = [], []
        self._cell = self._heading = None

    def handle_starttag(self, tag, attrs):
        if tag == "table":
            self.tables.append([])
        elif tag == "tr":
            self.tables[-1].append([])
        elif tag in ("td", "th"):
            self._cell = ""
        elif tag == "h2":
            self._heading = ""

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self._cell is not None:
            self.tables[-1][-1].append(self._cell.replace("\xa0", "").strip())
            self._cell = None
        elif tag == "h2":
            self.headings.append(self._heading.strip())
            self._heading = None

    def handle_data(self, data):
        if self._cell is not None:
            self._cell += data
        if self._heading is not None:
            self._heading += data


def component_name(name):
    """A component name as the database holds it (30 characters at most)."""
    return name if len(name) <= 30 else name[:name.rindex("/")]


def number(text):
    return None if text in ("", "-") else int(round(float(text) * 100))


class ResultsJsonTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="tavc-results-")
        with open(SCHEMA, encoding="utf-8") as f:
            cls.schema = json.load(f)
        cls.protocol = load_protocol()
        cls.real_site = os.path.join(cls.work, "real")
        cls.real_run = publish(os.path.join(REAL, "db"), cls.real_site, os.path.join(REAL, "app"),
                               "--json", "--check")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def export(self, site):
        with open(os.path.join(site, "event1.json"), encoding="utf-8") as f:
            document = json.load(f)
        jsonschema.validate(document, self.schema)
        return document

    def test_real_protocol_publishes_audits_clean_and_validates(self):
        self.assertEqual(self.real_run.returncode, 0, self.real_run.stderr)
        self.assertIn("check: the stored scores add up", self.real_run.stdout)
        self.export(self.real_site)

    def test_json_gives_the_protocol_back(self):
        document = self.export(self.real_site)
        found = {}
        for category in document["event"]["categories"]:
            for segment in category["segments"]:
                self.assertEqual(segment["status"], "finished")
                for p in segment["performances"]:
                    key = (category["name"].upper(), segment["name"].upper(), p["startNumber"])
                    found[key] = (segment, p)
        self.assertEqual(len(found), len(self.protocol))
        for source in self.protocol:
            meta = source["metadata"]
            segment, p = found[segment_of(meta["program"]) + (int(meta["starting_number"]),)]
            got = {
                "place": p["place"], "name": " / ".join(p["members"]), "nation": p["nation"],
                "totals": [hundredths(p[k]) for k in
                           ("segmentScore", "elementScore", "componentScore", "totalDeductions")],
                "elements": [(e["number"], e["code"], e["info"], e["secondHalf"],
                              hundredths(e["baseValue"]), hundredths(e["goe"]), e["judges"],
                              hundredths(e["score"])) for e in p["elements"]],
                "components": [(c["name"], hundredths(c["factor"]),
                                [None if m is None else hundredths(m) for m in c["judges"]],
                                hundredths(c["score"])) for c in p["components"]],
            }
            judges = ["J%d" % j for j in range(1, segment["judges"] + 1)]
            want = {
                "place": int(meta["rank"]), "name": meta["name"], "nation": meta["nation"],
                "totals": [hundredths(meta[k]) for k in
                           ("total_segment_score", "total_element_score",
                            "total_component_score", "total_deductions")],
                "elements": [(e["element_num"], e["element_desc"],
                              "" if not isinstance(e["info_flag"], str) else e["info_flag"],
                              e["credit_flag"] == "X", hundredths(e["base_value"]),
                              hundredths(e["goe"]),
                              [None if math.isnan(e[j]) else int(e[j]) for j in judges],
                              hundredths(e["scores_of_panel"])) for e in source["elements"]],
                "components": [(component_name(c["component_desc"]), hundredths(c["factor"]),
                                [hundredths(c[j]) for j in judges], hundredths(c["scores_of_panel"]))
                               for c in source["components"]],
            }
            self.assertEqual(got, want, meta["program"] + " " + meta["name"])
            self.assertEqual(sum(hundredths(c["factoredScore"]) for c in p["components"]),
                             hundredths(meta["total_component_score"]))

    def test_pages_show_every_number_of_the_protocol(self):
        pages = {}
        for path in glob.glob(os.path.join(self.real_site, "SEGM*.html")):
            cells = TableCells()
            with open(path, encoding="cp1252") as f:
                cells.feed(f.read())
            pages[tuple(h.upper() for h in cells.headings[:2])] = cells.tables
        self.assertEqual(len(pages), 16)
        for source in self.protocol:
            meta = source["metadata"]
            tables = pages[segment_of(meta["program"])]
            blocks = [tables[i:i + 4] for i in range(0, len(tables), 4)]
            summary, scores = next((b[0], b[1]) for b in blocks if b[0][1][0] == meta["rank"])
            row = summary[1]
            self.assertEqual([number(c) for c in row[3:7]],
                             [hundredths(meta[k]) for k in ("total_segment_score", "total_element_score",
                                                            "total_component_score", "total_deductions")])
            elements = scores[1:1 + len(source["elements"])]
            for e, cells in zip(source["elements"], elements):
                judges = [None if math.isnan(e["J%d" % j]) else int(e["J%d" % j]) for j in range(1, 10)]
                shown = [None if c in ("", "-") else int(c) for c in cells[7:16]]
                self.assertEqual(
                    (int(cells[0]), cells[1], cells[2], cells[4] == "x", number(cells[3]),
                     number(cells[5]), shown, number(cells[-1])),
                    (e["element_num"], e["element_desc"],
                     e["info_flag"] if isinstance(e["info_flag"], str) else "",
                     e["credit_flag"] == "X", hundredths(e["base_value"]), hundredths(e["goe"]),
                     judges, hundredths(e["scores_of_panel"])), meta["name"])
            components = scores[3 + len(source["elements"]):-1]
            for c, cells in zip(source["components"], components):
                self.assertEqual(
                    (cells[1], number(cells[3]), [number(m) for m in cells[5:14]], number(cells[-1])),
                    (component_name(c["component_desc"]), hundredths(c["factor"]),
                     [hundredths(c["J%d" % j]) for j in range(1, 10)], hundredths(c["scores_of_panel"])))

    def test_sample_validates_and_audits_clean(self):
        site = os.path.join(self.work, "sample")
        run = publish(os.path.join(SAMPLE, "db"), site, os.path.join(SAMPLE, "app"), "--json", "--check")
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("check: the stored scores add up", run.stdout)
        statuses = {s["status"] for c in self.export(site)["event"]["categories"] for s in c["segments"]}
        self.assertEqual(statuses, {"finished", "in progress", "not started"})

    def plant(self, db, changes):
        """Writes field values into PRF records through the library."""
        script = ["load %s" % LIBRARY, "tav_openDB {%s}" % db]
        for prf_id, field, value in changes:
            script.append("set r [tav_getRecNo PRF PRF_ID=%d 0]" % prf_id)
            script.append("if {[tav_updateRec PRF $r [list %s=%s]] ne {1}} { exit 3 }" % (field, value))
        script.append("if {[tav_save] ne {1}} { exit 4 }")
        run = subprocess.run([TCLSH], input="\n".join(script) + "\n", capture_output=True, text=True,
                             timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)

    def test_audit_reports_a_planted_mark_total_and_place(self):
        db = os.path.join(self.work, "planted")
        shutil.copytree(os.path.join(REAL, "db"), db)
        # The first three performances of the file are places 1-3 of the
        # junior pairs' short program (60.81, 60.26, 59.51).
        segment = self.export(self.real_site)["event"]["categories"][0]["segments"][0]
        names = [p["name"] for p in segment["performances"][:3]]
        # Judge 5's 6.75 for the first component becomes the lowest mark: the
        # trimmed mean of 6.0 7.0 6.75 6.75 5.0 7.25 7.0 6.25 6.25 is 6.57.
        self.assertEqual(self.protocol[0]["components"][0]["J5"], 6.75)
        self.plant(db, [(1, "PRF_C00J05", "500"), (2, "PRF_POINTS", "60.36"), (3, "PRF_PLACE", "4")])
        run = publish(db, os.path.join(self.work, "planted-site"), os.path.join(REAL, "app"), "--check")
        self.assertEqual(run.returncode, 0, run.stderr)
        findings = [line for line in run.stdout.splitlines() if line.startswith("check: ")]
        where = "check: Junior Pairs / Short Program / "
        self.assertEqual(findings, [
            where + names[0] + ": Skating Skills panel score is 6.68, the marks give 6.57",
            where + names[1] + ": segment total is 60.36, the marks give 60.26",
            where + names[2] + ": place is 4, the marks give 3",
        ])
        site = os.path.join(self.work, "strict-site")
        run = publish(db, site, os.path.join(REAL, "app"), "--strict", "--json")
        self.assertEqual(run.returncode, 1)
        self.assertIn("not published: 3 score(s) differ", run.stderr)
        self.assertFalse(os.path.exists(os.path.join(site, "index.html")))

    def test_watch_exports_and_checks_every_publication(self):
        db = os.path.join(self.work, "watched")
        site = os.path.join(self.work, "watched-site")
        shutil.copytree(os.path.join(SAMPLE, "db"), db)
        watcher = subprocess.Popen([TCLSH, PUBLISH, db, site, "--library", LIBRARY, "--app",
                                    os.path.join(SAMPLE, "app"), "--watch", "--json", "--check",
                                    "--interval", "100"],
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        try:
            path = os.path.join(site, "event1.json")
            end = time.time() + 60
            while time.time() < end and not os.path.exists(path):
                time.sleep(0.1)
            self.export(site)
        finally:
            watcher.terminate()
            out, err = watcher.communicate(timeout=30)
        self.assertIn("check: the stored scores add up", out, err)
        self.assertIn("published", out)


if __name__ == "__main__":
    unittest.main()
