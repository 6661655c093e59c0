"""Checks the sample competition database with an independent reader.

python3-dbfread reads every table the build generated into
$TAVC_BINARY_DIR/sample/db; the checks then confirm that the competition
holds together the way the scoring program would leave it: identifiers
unique and non-zero, every reference resolving, every protocol adding up
(points in hundredths), places agreeing with points and statuses agreeing
with places, start orders agreeing with warm-up groups, and stored
timelines running without gaps.
"""

import os
import sys
import unittest

from dbfread import DBF

# The sample the build wrote; TAVC_SAMPLE_DB and TAVC_SAMPLE_APP point the
# same checks at another generated database (the generator test does so for
# a small large-scale one, where TAVC_SAMPLE_LARGE skips the checks that only
# the hand-written sample must pass).
BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
DB = os.environ.get("TAVC_SAMPLE_DB", os.path.join(BUILD, "sample", "db"))
APP = os.environ.get("TAVC_SAMPLE_APP", os.path.join(BUILD, "sample", "app"))
LARGE = os.environ.get("TAVC_SAMPLE_LARGE") == "1"

BASE_TABLES = ("CFG BST CAT CVM DGR ELL ELM EVT JE4 JES JEV JPS MES MOT NAT OBO OJE OPE "
               "PAR PCT PEL PER PJS PPRF PRF SCP TIM TTM WBG WBP PCD PAT NEN POAC "
               "CTE TCC TEC TEM MED").split()

KIND = {("D", "C"): "C", ("D", "D"): "D", ("D", "F"): "I", ("D", "S"): "R",
        ("T", "F"): "T", ("T", "S"): "U"}


def kind_letter(cat_type, scp_type):
    if cat_type in ("S", "P"):
        return cat_type
    return KIND.get((cat_type, scp_type), " ")


def n(value):
    """A numeric field in the units the library reads it in (blank is 0).

    The decimal count of a score field says what it holds: a field with
    decimals holds points written with a decimal point (read here as float)
    and is taken in hundredths, so "7.25" is 725; a field without decimals
    holds an integer, hundredths already for scores."""
    if value in (None, ""):
        return 0
    if isinstance(value, float):
        return int(round(value * 100))
    return int(value)


def rounded_division(value, divisor):
    half = divisor // 2
    return (value + half) // divisor if value >= 0 else -((-value + half) // divisor)


def trimmed_mean(values):
    values = sorted(values)
    middle = values[1:-1]
    return rounded_division(sum(middle), len(middle))


def load(table):
    return list(DBF(os.path.join(DB, table + ".DBF"), encoding="cp1252",
                    char_decode_errors="strict"))


class Sample:
    """Every table, read once."""

    def __init__(self):
        self.tables = {t: load(t) for t in BASE_TABLES}
        t = self.tables
        self.evt = {r["EVT_ID"]: r for r in t["EVT"]}
        self.cat = {r["CAT_ID"]: r for r in t["CAT"]}
        self.scp = {r["SCP_ID"]: r for r in t["SCP"]}
        self.par = {r["PAR_ID"]: r for r in t["PAR"]}
        self.prf = {r["PRF_ID"]: r for r in t["PRF"]}
        self.pct = {r["PCT_ID"]: r for r in t["PCT"]}
        self.wbg = {r["WBG_ID"]: r for r in t["WBG"]}
        self.nations = {r["NAT_OMF"]: r for r in t["NAT"]}
        self.elements = {(r["ELM_GROUP"], r["ELM_SNAME"]): r for r in t["ELM"]}

    def slot_of(self, scp_id):
        """Slot index (0-5) of a segment in its category."""
        cat = self.cat[self.scp[scp_id]["CAT_ID"]]
        for k in range(6):
            if n(cat["CAT_SCPID%d" % (k + 1)]) == scp_id:
                return k
        raise AssertionError("segment %d is in no slot" % scp_id)

    def judges(self, scp):
        return sum(1 for j in range(1, 13) if n(scp["SCP_JID%02d" % j]) > 0)

    def category_segments(self, cat_id):
        cat = self.cat[cat_id]
        return [n(cat["CAT_SCPID%d" % k]) for k in range(1, 7) if n(cat["CAT_SCPID%d" % k]) > 0]


SAMPLE = None


def setUpModule():
    global SAMPLE
    SAMPLE = Sample()


class TablesTest(unittest.TestCase):
    def test_every_table_of_version_11135_is_read(self):
        for table in BASE_TABLES:
            dbf = DBF(os.path.join(DB, table + ".DBF"), load=True)
            self.assertEqual(len(dbf.records), dbf.header.numrecords, table)
            self.assertTrue(dbf.field_names, table)
            self.assertTrue(all(len(f) <= 10 for f in dbf.field_names), table)

    def test_configuration_holds_the_version(self):
        cfg = SAMPLE.tables["CFG"]
        self.assertEqual(len(cfg), 1)
        self.assertEqual(cfg[0]["CFG_DBFVER"], "11135")

    def test_identifiers_are_unique_and_not_zero(self):
        for table, rows in SAMPLE.tables.items():
            if table == "CFG" or not rows:
                continue
            field = "PRF_ID" if table == "PPRF" else table + "_ID"
            ids = [r[field] for r in rows]
            self.assertTrue(all(n(i) > 0 for i in ids), table)
            self.assertEqual(len(ids), len(set(ids)), table)

    @unittest.skipIf(LARGE, "the generated event has no stored timelines")
    def test_every_competition_table_has_records(self):
        for table in "CAT DGR ELL ELM EVT JPS NAT OPE PAR PCT PEL PJS PRF SCP TIM TTM WBG WBP".split():
            self.assertTrue(SAMPLE.tables[table], table)

    def test_abbreviation_files_have_tab_separated_lines(self):
        for name in ("state_abbrev", "misc_abbrev"):
            with open(os.path.join(APP, name), encoding="cp1252") as f:
                lines = [l.strip() for l in f if l.strip() and not l.startswith("#")]
            self.assertTrue(lines, name)
            self.assertTrue(all("\t" in l for l in lines), name)


class ReferencesTest(unittest.TestCase):
    def test_register(self):
        s = SAMPLE
        kinds = {("PER", "JDG"), ("PER", "CMP"), ("COU", ""), ("PTS", ""), ("CLU", "")}
        for r in s.tables["PCT"]:
            self.assertIn((r["PCT_TYPE"], r["PCT_AFUNCT"]), kinds, r["PCT_ID"])
            self.assertIn(r["PCT_NAT"], s.nations, r["PCT_ID"])
            if n(r["PCT_CLBID"]):
                self.assertEqual(s.pct[r["PCT_CLBID"]]["PCT_TYPE"], "CLU", r["PCT_ID"])
            if r["PCT_TYPE"] == "COU":
                for key in ("PCT_PCTID", "PCT_PPCTID"):
                    partner = s.pct[r[key]]
                    self.assertEqual((partner["PCT_TYPE"], partner["PCT_AFUNCT"]), ("PER", "CMP"))
                self.assertEqual(r["PCT_CLBID"], s.pct[r["PCT_PCTID"]]["PCT_CLBID"])
                self.assertEqual(r["PCT_PCLBID"], s.pct[r["PCT_PPCTID"]]["PCT_CLBID"])
            if r["PCT_TYPE"] == "PER":
                self.assertEqual(r["PCT_FNAMEC"], r["PCT_FNAME"].upper())
                self.assertEqual(r["PCT_CNAME"], r["PCT_GNAME"] + " " + r["PCT_FNAMEC"])
        regnos = [r["PCT_REGNO"] for r in s.tables["PCT"]
                  if (r["PCT_TYPE"], r["PCT_AFUNCT"]) in (("PER", "CMP"), ("PTS", ""))]
        self.assertTrue(all(regnos))
        self.assertEqual(len(regnos), len(set(regnos)))
        self.assertEqual(sorted(r["NAT_ID"] for r in s.tables["NAT"]),
                         list(range(1, len(s.tables["NAT"]) + 1)))

    def test_planned_elements(self):
        s = SAMPLE
        owners = [r["PCT_ID"] for r in s.tables["PEL"]]
        self.assertEqual(len(owners), len(set(owners)))
        for owner in owners:
            self.assertIn(s.pct[owner]["PCT_TYPE"], ("PER", "COU", "PTS"))

    def test_event_tree(self):
        s = SAMPLE
        for cat in s.tables["CAT"]:
            self.assertIn(cat["EVT_ID"], s.evt)
            slots = s.category_segments(cat["CAT_ID"])
            self.assertTrue(slots)
            for scp_id in slots:
                self.assertEqual(s.scp[scp_id]["CAT_ID"], cat["CAT_ID"])
        for scp in s.tables["SCP"]:
            self.assertIn(scp["SCP_ID"], s.category_segments(scp["CAT_ID"]))
            if n(scp["SCP_WBG_ID"]) > 2:
                self.assertIn(scp["SCP_WBG_ID"], s.wbg)
            self.assertTrue(1 <= scp["SCP_EXTDT"] <= 4)
        for par in s.tables["PAR"]:
            self.assertIn(par["CAT_ID"], s.cat)
            self.assertIn(par["PCT_ID"], s.pct)
            for key in ("PAR_CLBID", "PAR_PCLBID"):
                if n(par[key]):
                    self.assertEqual(s.pct[par[key]]["PCT_TYPE"], "CLU")
            self.assertIn(par["PAR_NAT"], s.nations)
        seen = set()
        for prf in s.tables["PRF"]:
            par, scp = s.par[prf["PAR_ID"]], s.scp[prf["SCP_ID"]]
            self.assertEqual(par["CAT_ID"], scp["CAT_ID"], prf["PRF_ID"])
            self.assertNotIn((prf["PAR_ID"], prf["SCP_ID"]), seen)
            seen.add((prf["PAR_ID"], prf["SCP_ID"]))
        for wbp in s.tables["WBP"]:
            self.assertIn(wbp["WBG_ID"], s.wbg)

    def test_panels(self):
        s = SAMPLE
        for scp in s.tables["SCP"]:
            for slot in range(1, 23):
                pct_id = n(scp["SCP_JID%02d" % slot])
                if pct_id:
                    official = s.pct[pct_id]
                    self.assertEqual(official["PCT_AFUNCT"], "JDG")
                    self.assertEqual(scp["SCP_JNAT%02d" % slot], official["PCT_NAT"])
            self.assertGreaterEqual(s.judges(scp), 3)
        for table in ("JPS", "PJS", "OPE"):
            for r in s.tables[table]:
                self.assertEqual(s.pct[r["PCT_ID"]]["PCT_AFUNCT"], "JDG", table)
        for table in ("JPS", "PJS", "TIM", "TTM"):
            for r in s.tables[table]:
                self.assertIn(r["SCP_ID"], s.scp, table)
        self.assertEqual(len({r["SCP_ID"] for r in s.tables["TIM"]}), len(s.tables["TIM"]))

    def test_element_register(self):
        s = SAMPLE
        by_id = {r["ELM_ID"]: r for r in s.tables["ELM"]}
        for detail in s.tables["ELL"]:
            element = by_id[detail["ELL_ELM_ID"]]
            for part in detail["ELL_DETAIL"].split("+"):
                self.assertIn((element["ELM_GROUP"], part), s.elements)
        for prf in s.tables["PRF"]:
            scp = s.scp[prf["SCP_ID"]]
            kind = kind_letter(s.cat[scp["CAT_ID"]]["CAT_TYPE"], scp["SCP_TYPE"])
            for e in range(1, 21):
                if prf["PRF_XCFE%02d" % e] != "X":
                    continue
                for part in prf["PRF_XNAE%02d" % e].rstrip("*").split("+"):
                    self.assertIn((kind, part), s.elements, prf["PRF_ID"])


class ScoresTest(unittest.TestCase):
    def element_steps(self, kind, code):
        parts = [SAMPLE.elements[(kind, p)] for p in code.rstrip("*").split("+")]
        best = max(parts, key=lambda r: r["ELM_BV"])
        return sum(r["ELM_BV"] for r in parts), best["ELM_GOEP"], best["ELM_GOEM"]

    def test_protocols_add_up(self):
        s = SAMPLE
        checked = 0
        for prf in s.tables["PRF"]:
            if prf["PRF_STAT"] != "O":
                self.assertFalse(any(prf["PRF_XCFE%02d" % e] for e in range(1, 21)))
                self.assertEqual((n(prf["PRF_POINTS"]), n(prf["PRF_PLACE"])), (0, 0))
                continue
            scp = s.scp[prf["SCP_ID"]]
            cat_type = s.cat[scp["CAT_ID"]]["CAT_TYPE"]
            kind = kind_letter(cat_type, scp["SCP_TYPE"])
            judges = s.judges(scp)
            tes = bonus = 0
            for e in range(1, 21):
                if prf["PRF_XCFE%02d" % e] != "X":
                    continue
                code = prf["PRF_XNAE%02d" % e]
                base, plus, minus = self.element_steps(kind, code)
                if n(prf["PRF_E%02dHLF" % e]):
                    base = rounded_division(base * 11, 10)
                marks = [n(prf["PRF_E%02dJ%02d" % (e, j)]) for j in range(1, 11)]
                self.assertTrue(all(m == 9 for m in marks[judges:]))
                if code.endswith("*"):
                    self.assertEqual(n(prf["PRF_XBVE%02d" % e]), 0)
                    self.assertTrue(all(m == 9 for m in marks))
                    self.assertEqual(n(prf["PRF_E%02dRES" % e]), 0)
                    continue
                self.assertEqual(n(prf["PRF_XBVE%02d" % e]), base, (prf["PRF_ID"], e))
                values = []
                for j, mark in enumerate(marks[:judges]):
                    grade = mark - 4
                    self.assertTrue(-3 <= grade <= 3)
                    value = grade * (plus if grade > 0 else minus)
                    values.append(value)
                    self.assertEqual(n(prf["PRF_E%02dD%02d" % (e, j + 1)]), base + value)
                panel = trimmed_mean(values)
                self.assertEqual(n(prf["PRF_E%02dPNL" % e]), panel, (prf["PRF_ID"], e))
                deduction = n(prf["PRF_E%02dDED" % e])
                if deduction:
                    self.assertEqual(cat_type, "T")
                self.assertEqual(n(prf["PRF_E%02dRES" % e]), base + panel - deduction)
                tes += base + panel - deduction
                bonus += n(prf["PRF_E%02dBON" % e])
            self.assertEqual(n(prf["PRF_M1TOT"]), tes, prf["PRF_ID"])
            self.assertEqual(n(prf["PRF_BONUSP"]), bonus, prf["PRF_ID"])

            pcs = 0
            for slot in range(1, 11):
                factor = n(scp["SCP_CRFR%02d" % slot])
                c = slot - 1
                if not factor:
                    self.assertIsNone(prf["PRF_C%02dPNL" % c])
                    continue
                marks = [n(prf["PRF_C%02dJ%02d" % (c, j)]) for j in range(1, 11)]
                self.assertTrue(all(m == -9 for m in marks[judges:]))
                self.assertTrue(all(25 <= m <= 1000 and m % 25 == 0 for m in marks[:judges]))
                panel = trimmed_mean(marks[:judges])
                self.assertEqual(n(prf["PRF_C%02dPNL" % c]), panel)
                result = rounded_division(panel * factor, 100)
                self.assertEqual(n(prf["PRF_C%02dRES" % c]), result)
                pcs += result
            self.assertEqual(n(prf["PRF_M2TOT"]), pcs, prf["PRF_ID"])

            deductions = 0
            for i in range(17):
                factor = n(scp["SCP_DEFR%02d" % (i + 1)])
                if factor:
                    deductions += n(prf["PRF_DED%02d" % i]) * factor // 100
                else:
                    self.assertIsNone(prf["PRF_DED%02d" % i])
            self.assertEqual(n(prf["PRF_POINTS"]), tes + bonus + pcs - deductions, prf["PRF_ID"])
            self.check_majority_votes(scp, prf, judges)
            checked += 1
        self.assertGreater(checked, 20)

    def check_majority_votes(self, scp, prf, judges):
        for k in range(1, 4):
            index = scp["SCP_DEMJ%02d" % k]
            votes = [prf["PRF_D%02dJ%02d" % (k, j)] for j in range(1, 11)]
            referee = prf["PRF_D%02dJ15" % k]
            given = n(prf["PRF_DED%02d" % index]) if index is not None else 0
            if given:
                self.assertGreater(sum(1 for v in votes if v == given), judges // 2)
                self.assertEqual(referee, given)
            else:
                self.assertTrue(all(v == -99 for v in votes + [referee]))


class StatusTest(unittest.TestCase):
    def performances(self, scp_id):
        return [p for p in SAMPLE.tables["PRF"] if p["SCP_ID"] == scp_id]

    def test_segment_places_follow_points(self):
        for scp_id in SAMPLE.scp:
            skated = sorted((p for p in self.performances(scp_id) if p["PRF_STAT"] == "O"),
                            key=lambda p: p["PRF_PLACE"])
            self.assertEqual([p["PRF_PLACE"] for p in skated], list(range(1, len(skated) + 1)))
            points = [p["PRF_POINTS"] for p in skated]
            self.assertEqual(points, sorted(points, reverse=True), scp_id)
            for p in self.performances(scp_id):
                self.assertIn(p["PRF_STAT"], ("O", "L"))

    def test_participant_letters_agree_with_performances(self):
        s = SAMPLE
        for par in s.tables["PAR"]:
            segments = s.category_segments(par["CAT_ID"])
            letters = []
            for k, scp_id in enumerate(segments):
                letter = par["PAR_STAT%d" % (k + 1)]
                mine = [p for p in self.performances(scp_id) if p["PAR_ID"] == par["PAR_ID"]]
                self.assertEqual(letter, mine[0]["PRF_STAT"] if mine else "M", par["PAR_ID"])
                group = s.scp[scp_id]["SCP_GROUP"]
                if group and letter != "M":
                    self.assertEqual(par["PAR_GROUP"], group)
                if letter == "O":
                    self.assertEqual(par["PAR_POINT%d" % (k + 1)], mine[0]["PRF_POINTS"])
                    self.assertEqual(par["PAR_PLACE%d" % (k + 1)], mine[0]["PRF_PLACE"])
                else:
                    self.assertEqual(n(par["PAR_PLACE%d" % (k + 1)]), 0)
                letters.append(letter)
            status = par["PAR_STAT"]
            if status in ("W", "Q"):
                self.assertEqual(set(letters), {"M"}, par["PAR_ID"])
            elif status == "D":
                self.assertNotIn("O", letters)
            elif status == "N":
                self.assertEqual(letters[0], "O")
                self.assertEqual(set(letters[1:]), {"M"})
            elif status == "R":
                self.assertIn("L", letters)
                after = letters[letters.index("L") + 1:]
                self.assertTrue(set(after) <= {"M"})
            else:
                self.assertEqual(status, "A")

    def test_standings_follow_points(self):
        s = SAMPLE
        for cat_id in s.cat:
            segments = s.category_segments(cat_id)
            entries = [p for p in s.tables["PAR"] if p["CAT_ID"] == cat_id]
            last_started = -1
            for k in range(len(segments)):
                if any(p["PAR_STAT%d" % (k + 1)] == "O" for p in entries):
                    last_started = k
                skated = [p for p in entries if p["PAR_STAT%d" % (k + 1)] == "O"]
                cumulative = {p["PAR_ID"]: sum(n(p["PAR_POINT%d" % (j + 1)]) for j in range(k + 1)
                                               if p["PAR_STAT%d" % (j + 1)] == "O") for p in skated}
                ordered = sorted(skated, key=lambda p: p["PAR_IPLAC%d" % (k + 1)])
                self.assertEqual([p["PAR_IPLAC%d" % (k + 1)] for p in ordered],
                                 list(range(1, len(ordered) + 1)))
                totals = [cumulative[p["PAR_ID"]] for p in ordered]
                self.assertEqual(totals, sorted(totals, reverse=True), (cat_id, k))
            for p in entries:
                skated = [k for k in range(len(segments)) if p["PAR_STAT%d" % (k + 1)] == "O"]
                self.assertEqual(n(p["PAR_TPOINT"]), sum(n(p["PAR_POINT%d" % (k + 1)]) for k in skated))
                expected = (p["PAR_IPLAC%d" % (last_started + 1)]
                            if last_started >= 0 and last_started in skated else 0)
                self.assertEqual(n(p["PAR_TPLACE"]), n(expected), p["PAR_ID"])

    @unittest.skipIf(LARGE, "every segment of the generated event is finished")
    def test_every_status_and_stage_appears(self):
        s = SAMPLE
        self.assertEqual({p["PAR_STAT"] for p in s.tables["PAR"]}, set("ADNQRW"))
        stages = set()
        for scp_id in s.scp:
            prfs = self.performances(scp_id)
            stage = 0
            if any(n(p["PRF_STNUM"]) > 0 for p in prfs):
                stage = 1
            if any(p["PRF_STAT"] == "O" for p in prfs):
                stage = 2
            if stage == 2 and all(p["PRF_STAT"] == "O" or s.par[p["PAR_ID"]]["PAR_STAT"] != "A"
                                  for p in prfs):
                stage = 3
            stages.add(stage)
        self.assertEqual(stages, {0, 1, 2, 3})
        self.assertTrue(any(n(p["PRF_BONUSP"]) > 0 for p in s.tables["PRF"]))
        self.assertTrue(any(p["SCP_TYPE"] in ("C", "D") for p in s.tables["SCP"]))

    def test_start_orders_agree_with_warmup_groups(self):
        s = SAMPLE
        for scp_id, scp in s.scp.items():
            prfs = self.performances(scp_id)
            numbered = sorted((p for p in prfs if n(p["PRF_STNUM"]) > 0), key=lambda p: p["PRF_STNUM"])
            self.assertEqual([p["PRF_STNUM"] for p in numbered], list(range(1, len(numbered) + 1)))
            sizes = [n(scp["SCP_WUG%02d" % g]) for g in range(1, 26) if n(scp["SCP_WUG%02d" % g]) > 0]
            in_order = [p for p in numbered if p["PRF_STAT"] == "O"
                        or s.par[p["PAR_ID"]]["PAR_STAT"] in ("A", "R")]
            self.assertEqual(sum(sizes), len(in_order), scp_id)
            groups = [g + 1 for g, size in enumerate(sizes) for _ in range(size)]
            self.assertEqual([p["PRF_STGNUM"] for p in in_order], groups, scp_id)

    def test_stored_timelines_run_without_gaps(self):
        s = SAMPLE
        by_segment = {}
        for item in s.tables["TTM"]:
            by_segment.setdefault(item["SCP_ID"], []).append(item)
        self.assertTrue(by_segment or LARGE)
        for scp_id, items in by_segment.items():
            timing = [t for t in s.tables["TIM"] if t["SCP_ID"] == scp_id][0]
            items.sort(key=lambda i: i["TTM_SORT"])
            self.assertEqual(items[0]["TTM_BEGTIM"], timing["TIM_BEGTIM"])
            for before, after in zip(items, items[1:]):
                self.assertEqual(before["TTM_ENDTIM"], after["TTM_BEGTIM"])
            performances = [i for i in items if i["TTM_TYPE"] == "P"]
            numbered = sorted((p for p in self.performances(scp_id) if n(p["PRF_STNUM"]) > 0),
                              key=lambda p: p["PRF_STNUM"])
            self.assertEqual([(i["PAR_ID"], i["PER_STNUM"], i["PER_STGNUM"]) for i in performances],
                             [(p["PAR_ID"], p["PRF_STNUM"], p["PRF_STGNUM"]) for p in numbered])
            self.assertTrue(all(i["TTM_TYPE"] in "IWPRB" for i in items))
            self.assertTrue(all(i["TTM_DATE"] == timing["TIM_DATE"] for i in items))


if __name__ == "__main__":
    if not os.path.isdir(DB):
        print("no sample database in", DB, file=sys.stderr)
        sys.exit(1)
    unittest.main(verbosity=1)
