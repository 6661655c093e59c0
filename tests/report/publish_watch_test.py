"""tools/publish.tcl: one publication, and watching a database that changes.

A copy of the sample is published with --watch.  The scoring program's
saves are played on the copy: first a table caught half written (the file
cut after its first bytes), which must not be published, then the complete
table with a new event name, which must appear in the index page within a
few seconds (the figure is printed; the watcher republishes within about two
seconds of a change).
"""

import os
import shutil
import subprocess
import tempfile
import time
import unittest

BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
SOURCE = os.environ.get("TAVC_SOURCE_DIR", ".")
LIBRARY = os.environ.get("TAVC_LIBRARY", os.path.join(BUILD, "libtavC.so"))
TCLSH = os.environ.get("TAVC_TCLSH", "tclsh")
PUBLISH = os.path.join(SOURCE, "tools", "publish.tcl")
APP = os.path.join(BUILD, "sample", "app")


def wait_for(predicate, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if predicate():
            return True
        time.sleep(0.05)
    return False


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def replace(path, data):
    """Writes a file as a save does: a new file renamed over the old one."""
    with open(path + ".new", "wb") as f:
        f.write(data)
    os.replace(path + ".new", path)


class PublishTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="tavc-publish-")
        self.db = os.path.join(self.work, "db")
        self.out = os.path.join(self.work, "site")
        shutil.copytree(os.path.join(BUILD, "sample", "db"), self.db)

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def publish(self, out, *args):
        return subprocess.run([TCLSH, PUBLISH, self.db, out, "--library", LIBRARY] + list(args),
                              capture_output=True, text=True, timeout=120)

    def test_publishes_once_and_says_where(self):
        # Customer pages: the ASP index, or index.html with a local copy.
        for args, index in ((["--local-copy"], "index.html"), ([], "index.asp")):
            out = os.path.join(self.work, index)
            run = self.publish(out, "--app", APP, "--format", "2", *args)
            self.assertEqual(run.returncode, 0, run.stderr)
            page = os.path.join(out, index)
            self.assertEqual(run.stdout, "Published the results site: open file://%s\n" % page)
            self.assertIn(b"Riverside Autumn Trophy 2014", read(page))
            self.assertTrue(os.path.exists(os.path.join(out, "SEGM011.html")))

    def test_refusals_and_failures_give_a_message_and_an_exit_status(self):
        # An award page that cannot be put in place (a folder has its name).
        taken = os.path.join(self.work, "taken")
        os.makedirs(os.path.join(taken, "SAA_Senior Men Short Program.html"))
        cases = (
            (["--format"], 2, "usage: "),
            (["--format", "x"], 2, "publish: --format needs a whole number\n"),
            (["--colour"], 2, "publish: unknown option --colour\n"),
            (["--deviation", "x"], 2, "publish: --deviation needs a whole number\n"),
            (["--event", "99"], 1, "publish: Error: CTav.getEvtPtr: Invalid EVT_ID: 99\n"),
            (["--awards", "11"], 1, "publish: award page not written: "),
        )
        for args, status, message in cases:
            out = taken if "--awards" in args else self.out
            run = self.publish(out, *args)
            self.assertEqual(run.returncode, status, args)
            self.assertTrue(run.stderr.startswith(message), run.stderr)
            self.assertEqual(run.stdout, "", args)
            if status == 2:
                self.assertFalse(os.path.exists(self.out))

    def test_watch_republishes_a_change_and_never_a_half_saved_table(self):
        watcher = subprocess.Popen(
            [TCLSH, PUBLISH, self.db, self.out, "--library", LIBRARY, "--app", APP,
             "--watch", "--interval", "100"],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        try:
            index = os.path.join(self.out, "index.html")
            self.assertTrue(wait_for(lambda: b"Trophy 2014" in read(index), 60))
            table = os.path.join(self.db, "EVT.DBF")
            complete = read(table)
            # Let the watcher settle (it reads once more after the second in
            # which it opened the database), then save half a table.
            time.sleep(1.5)
            replace(table, complete[:100])
            self.assertFalse(wait_for(lambda: read(index) == b"", 1.5))
            self.assertIn(b"Trophy 2014", read(index))
            changed = complete.replace(b"Trophy 2014", b"Trophy 2099")
            self.assertNotEqual(changed, complete)
            replace(table, changed)
            start = time.time()
            self.assertTrue(wait_for(lambda: b"Trophy 2099" in read(index), 10))
            print("republished %.2f s after the save" % (time.time() - start))
            # Stop it between publications (it reads once more within the
            # second after a publication).
            time.sleep(1.5)
        finally:
            watcher.terminate()
            output = watcher.communicate(timeout=60)[0]
            if watcher.poll() is None:
                watcher.kill()
                watcher.wait()
        self.assertIn("waiting for a complete database: cannot open", output)
        # No temporary page was left behind.
        self.assertEqual([n for n in os.listdir(self.out) if ".tmp-" in n], [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
