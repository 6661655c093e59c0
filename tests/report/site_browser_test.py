"""Loads the published results site of the sample in headless Chromium.

The sample event is published in the three page formats, with and without
the index's server-side script, with starting orders and judges' details.
Every written page is loaded in the browser (through a harness page that
holds each one in a frame, served from a local HTTP server, so one browser
run reads them all); then:

- every page parses into a document with a body;
- every link of every page points to a file that exists (links that the
  ASP index guards with its existence test are only checked for their
  form: the server shows them only when the file is there);
- pages read the same whatever character set the server declares: served
  with "charset=utf-8" and with "charset=windows-1252", the accented names
  of the sample come out identical and right;
- the tables have as many rows as the page's markup writes, the index one
  row per segment (and one per category without segments) under its head,
  each category page one row per listed entry, each judges' details page
  four tables per placed performance, counted from the tables with
  python3-dbfread.

Screenshots of an index and of a judges' details page are kept in
$TAVC_BINARY_DIR/report-artefacts (not part of the sources).  Without a
Chromium the test is skipped, unless TAVC_REQUIRE_BROWSER=1 (CI).
"""

import functools
import html
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest
import urllib.parse

from dbfread import DBF

BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
LIBRARY = os.environ.get("TAVC_LIBRARY", os.path.join(BUILD, "libtavC.so"))
TCLSH = os.environ.get("TAVC_TCLSH", "tclsh")
DB = os.path.join(BUILD, "sample", "db")
APP = os.path.join(BUILD, "sample", "app")
ARTEFACTS = os.path.join(BUILD, "report-artefacts")

# name: (format, sssIdx, localCopyFlag, detailFlag)
VARIANTS = {
    "complete": (0, 0, 0, 1),
    "fragments": (1, 0, 0, 1),
    "customer": (2, 0, 0, 1),
    "customer-sss": (2, 1, 1, -1),
}
LIVE_SEGMENT = 22

PUBLISH = r"""
lassign $argv library db app root
load $library
tav_set_exec $app
if {[tav_openDB $db] ne "1"} { puts stderr [tav_getErrStr]; exit 1 }
tav_basicPopulate 0
tav_eventPopulate
foreach {name format sss local detail} $variants {
    file mkdir [file join $root $name]
    set r [tav_eventEvtHtml [file join $root $name] 1 0 0 $sss 0 0 0 1 1 $format $local 1 0 \
        $detail %d {}]
    if {$r ne "1"} { puts stderr "$name: [tav_getErrStr]"; exit 1 }
}
""" % LIVE_SEGMENT

HARNESS_SCRIPT = """
window.addEventListener('load', function () {
  var results = [];
  document.querySelectorAll('iframe').forEach(function (frame) {
    var doc = frame.contentDocument;
    var entry = {page: frame.dataset.page, parsed: !!(doc && doc.body)};
    if (entry.parsed) {
      entry.tables = Array.from(doc.querySelectorAll('table')).map(function (t) {
        return t.rows.length; });
      entry.links = Array.from(doc.querySelectorAll('a[href]')).map(function (a) {
        return a.href; });
      entry.title = doc.title;
    }
    results.push(entry);
  });
  document.getElementById('out').textContent = JSON.stringify(results);
});
"""


def find_chromium():
    for name in (os.environ.get("TAVC_CHROMIUM"), "chromium", "chromium-browser"):
        if name and shutil.which(name):
            return shutil.which(name)
    return None


def chromium_command(browser, profile, *args):
    return [browser, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
            "--no-first-run", "--disable-background-networking",
            "--disable-component-update", "--disable-sync",
            "--user-data-dir=" + profile, *args]


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".asp": "text/html", ".html": "text/html"})

    def log_message(self, *args):
        pass


class CharsetHandler(QuietHandler):
    """Declares a character set for the pages, as a web server does."""

    def __init__(self, charset, *args, **kwargs):
        self.charset = charset
        super().__init__(*args, **kwargs)

    def guess_type(self, path):
        kind = super().guess_type(path)
        return kind + "; charset=" + self.charset if kind == "text/html" else kind


class SiteBrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = find_chromium()
        if cls.browser is None:
            if os.environ.get("TAVC_REQUIRE_BROWSER") == "1":
                raise RuntimeError("no Chromium found (install the Debian package chromium)")
            raise unittest.SkipTest("no Chromium found")
        cls.work = tempfile.mkdtemp(prefix="tavc-site-")
        cls.root = os.path.join(cls.work, "site")
        os.mkdir(cls.root)
        variants = " ".join("%s %d %d %d %d" % ((name,) + v) for name, v in VARIANTS.items())
        script = os.path.join(cls.work, "publish.tcl")
        with open(script, "w") as f:
            f.write("set variants {%s}\n" % variants + PUBLISH)
        subprocess.run([TCLSH, script, LIBRARY, DB, APP, cls.root], check=True)
        cls.pages = sorted(os.path.join(v, p) for v in VARIANTS
                           for p in os.listdir(os.path.join(cls.root, v)))
        with open(os.path.join(cls.root, "harness.html"), "w") as f:
            f.write("<!DOCTYPE html><html><body><pre id=out></pre>\n")
            for page in cls.pages:
                f.write('<iframe data-page="%s" src="%s"></iframe>\n' % (page, page))
            f.write("<script>%s</script></body></html>\n" % HARNESS_SCRIPT)
        handler = functools.partial(QuietHandler, directory=cls.root)
        cls.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=cls.server.serve_forever, daemon=True).start()
        cls.base = "http://127.0.0.1:%d/" % cls.server.server_address[1]
        profile = os.path.join(cls.work, "profile")
        os.mkdir(profile)
        dump = subprocess.run(
            chromium_command(cls.browser, profile, "--virtual-time-budget=30000",
                             "--dump-dom", cls.base + "harness.html"),
            capture_output=True, text=True, timeout=300)
        found = re.search(r'<pre id="out">(.*?)</pre>', dump.stdout, re.S)
        if not found or not found.group(1):
            raise RuntimeError("the harness gave no results: " + dump.stderr[-2000:])
        cls.results = {r["page"]: r for r in json.loads(html.unescape(found.group(1)))}
        cls.keep_screenshots(profile)

    @classmethod
    def keep_screenshots(cls, profile):
        os.makedirs(ARTEFACTS, exist_ok=True)
        for page, shot in (("complete/index.html", "index.png"),
                           ("complete/SEGM011.html", "judges-details.png")):
            subprocess.run(
                chromium_command(cls.browser, profile, "--window-size=1280,1600",
                                 "--screenshot=" + os.path.join(ARTEFACTS, shot),
                                 cls.base + page),
                capture_output=True, timeout=120)

    @classmethod
    def tearDownClass(cls):
        cls.server.shutdown()
        shutil.rmtree(cls.work, ignore_errors=True)

    def source(self, page):
        with open(os.path.join(self.root, page), "rb") as f:
            return f.read().decode("ascii")

    def test_every_page_parses(self):
        self.assertEqual(sorted(self.results), self.pages)
        unparsed = [p for p, r in self.results.items() if not r["parsed"]]
        self.assertEqual(unparsed, [])
        for page, result in self.results.items():
            if not page.startswith("fragments/"):
                self.assertEqual(result["title"], "Riverside Autumn Trophy 2014", page)

    def test_every_link_resolves(self):
        missing = []
        for page, result in self.results.items():
            guarded = set(re.findall(r'DoesFileExist\("([^"]+)"\)', self.source(page)))
            for link in result["links"]:
                url = urllib.parse.urlparse(link)
                if url.netloc != self.base[7:-1]:
                    continue  # the credit's link to the federation
                target = urllib.parse.unquote(url.path.lstrip("/"))
                if os.path.basename(target) in guarded:
                    continue
                if not os.path.isfile(os.path.join(self.root, target)):
                    missing.append((page, target))
        self.assertEqual(missing, [])
        # The plain indexes link pages; the ASP index guards every link.
        self.assertGreater(len(self.results["complete/index.html"]["links"]), 20)

    def test_accented_names_read_the_same_whatever_the_server_declares(self):
        pages = ("complete/SEG011.html", "complete/SEG022.html")
        dumps = {}
        for charset in ("utf-8", "windows-1252"):
            handler = functools.partial(CharsetHandler, charset, directory=self.root)
            server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
            threading.Thread(target=server.serve_forever, daemon=True).start()
            base = "http://127.0.0.1:%d/" % server.server_address[1]
            profile = tempfile.mkdtemp(dir=self.work)
            try:
                dumps[charset] = [subprocess.run(
                    chromium_command(self.browser, profile, "--dump-dom", base + page),
                    capture_output=True, timeout=120).stdout.decode("utf-8")
                    for page in pages]
            finally:
                server.shutdown()
                server.server_close()
        self.assertEqual(dumps["utf-8"], dumps["windows-1252"])
        text = "".join(dumps["utf-8"])
        for name in ("Fran\u00e7ois LEMAIRE", "G\u00f6teborgs Konst\u00e5kningsklubb"):
            self.assertIn(name, text)
        self.assertNotIn("\ufffd", text)

    def test_tables_have_the_rows_the_markup_writes(self):
        for page, result in self.results.items():
            source = self.source(page)
            # Rows written inside the server script are shown by the server.
            source = re.sub(r"<%.*?%>", "", source, flags=re.S)
            self.assertEqual(sum(result["tables"]), len(re.findall(r"<TR\b", source)), page)

    def test_tables_have_the_rows_of_the_database(self):
        cats = {r["CAT_ID"]: r for r in DBF(os.path.join(DB, "CAT.DBF"))}
        pars = list(DBF(os.path.join(DB, "PAR.DBF")))
        prfs = list(DBF(os.path.join(DB, "PRF.DBF")))
        slots = {c: [r["CAT_SCPID%d" % i] for i in range(1, 7) if r["CAT_SCPID%d" % i]]
                 for c, r in cats.items()}
        index_rows = 1 + sum(max(1, len(s)) for s in slots.values())
        for variant in ("complete", "customer-sss"):
            name = "index.asp" if variant == "customer" else "index.html"
            self.assertEqual(self.results[variant + "/" + name]["tables"], [index_rows])
        for cat_id in cats:
            page = "complete/CAT%03d.html" % cat_id
            if page not in self.results:
                continue
            listed = [p for p in pars if p["CAT_ID"] == cat_id
                      and (p["PAR_STAT"] or "")[:1] in ("A", "D", "N", "R", "W")]
            self.assertEqual(self.results[page]["tables"], [1 + len(listed)], page)
        for page, result in self.results.items():
            found = re.match(r"complete/SEGM(\d+)\.html", page)
            if not found:
                continue
            scp_id = int(found.group(1))
            placed = [p for p in prfs if p["SCP_ID"] == scp_id and (p["PRF_PLACE"] or 0) > 0
                      and (p["PRF_STAT"] or "")[:1] == "O"]
            self.assertEqual(len(result["tables"]), 4 * len(placed), page)


if __name__ == "__main__":
    unittest.main(verbosity=2)
