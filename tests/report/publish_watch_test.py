"""tools/publish.tcl as an operator runs it.

- One publication says where the site is and how many pages it wrote; a
  second one writes none (every page is already there as it is).
- Every wrong option or folder is refused with one line, its own exit
  status, no Tcl stack trace and nothing written.
- The upload step runs the given words as a program, without a shell, after
  a publication that succeeded, and reports its exit status; never after one
  that failed.
- Watching a copy of the sample: a table caught half written is not
  published, the complete one appears within a few seconds (the figure is
  printed); an award page that cannot be made yet is skipped with one line
  while the site is published, and nothing is republished while no table
  changes.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

BUILD = os.environ.get("TAVC_BINARY_DIR", "build")
SOURCE = os.environ.get("TAVC_SOURCE_DIR", ".")
LIBRARY = os.environ.get("TAVC_LIBRARY", os.path.join(BUILD, "libtavC.so"))
TCLSH = os.environ.get("TAVC_TCLSH", "tclsh")
PUBLISH = os.path.join(SOURCE, "tools", "publish.tcl")
APP = os.path.join(BUILD, "sample", "app")

# A program for the upload step: appends its arguments, one per line, to
# the file named by the first, and exits with the status of the second.
RECORDER = """import sys
with open(sys.argv[1], "a") as f:
    f.write("\\n".join(sys.argv[3:]) + "\\n--\\n")
sys.exit(int(sys.argv[2]))
"""


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
        self.recorder = os.path.join(self.work, "recorder.py")
        with open(self.recorder, "w") as f:
            f.write(RECORDER)
        self.log = os.path.join(self.work, "upload.log")

    def tearDown(self):
        shutil.rmtree(self.work, ignore_errors=True)

    def publish(self, *args, db=None, out=None):
        return subprocess.run([TCLSH, PUBLISH, db or self.db, out or self.out,
                               "--library", LIBRARY, "--app", APP] + list(args),
                              capture_output=True, text=True, timeout=120)

    def upload_args(self, status):
        return ["--after", sys.executable, self.recorder, self.log, str(status)]

    def test_publishes_once_and_then_writes_only_what_changed(self):
        run = self.publish("--format", "2", "--local-copy")
        self.assertEqual(run.returncode, 0, run.stderr)
        index = os.path.join(self.out, "index.html")
        pages = len(os.listdir(self.out))
        self.assertEqual(run.stdout, "Published the results site: open file://%s\n"
                         "%d pages written, 0 unchanged\n" % (index, pages))
        self.assertIn(b"Riverside Autumn Trophy 2014", read(index))
        self.assertTrue(os.path.exists(os.path.join(self.out, "SEGM011.html")))
        again = self.publish("--format", "2", "--local-copy")
        self.assertEqual(again.stdout.splitlines()[1], "0 pages written, %d unchanged" % pages)
        # Customer pages without a local copy: the ASP index; the smallest
        # value each option allows is taken.
        asp = os.path.join(self.work, "asp")
        run = self.publish("--format", "2", "--category", "0", "--live", "0", "--deviation", "0",
                           "--interval", "1", out=asp)
        self.assertEqual((run.returncode, run.stdout.splitlines()[0]),
                         (0, "Published the results site: open file://%s"
                          % os.path.join(asp, "index.asp")), run.stderr)

    def test_wrong_options_and_folders_are_refused_before_anything_is_written(self):
        a_file = os.path.join(self.work, "a-file")
        with open(a_file, "w") as f:
            f.write("x")
        cases = [
            # (arguments, database, output, exit status, message)
            (["--format"], None, None, 2, "--format needs a value (0|1|2)"),
            (["--format", "5"], None, None, 2, "--format must be one of 0, 1, 2"),
            (["--details", "x"], None, None, 2, "--details must be one of 1, -1, 0"),
            (["--colour"], None, None, 2, "unknown option --colour"),
            (["--deviation", "-5"], None, None, 2, "--deviation needs a whole number of at least 0"),
            (["--interval", "0"], None, None, 2, "--interval needs a whole number of at least 1"),
            (["--sixty", "/nonexistent"], None, None, 2, "--sixty names no folder: /nonexistent"),
            (["--awards", "11,x"], None, None, 2, '--awards needs segment identifiers or "started"'),
            (["--after"], None, None, 2, "--after needs a command"),
            (["--after", "echo", ">", "x"], None, None, 2,
             '--after cannot pass the word ">" (it would be read as a redirection)'),
            (["--event", "7"], None, None, 2, "no event 7 in the database"),
            (["--category", "99"], None, None, 2, "--category: no category 99 in event 1"),
            (["--live", "999"], None, None, 2, "--live: no segment 999 in event 1"),
            (["--awards", "11,999"], None, None, 2, "--awards: no segment 999 in event 1"),
            ([], "/nonexistent/db", None, 2, "no database folder: /nonexistent/db"),
            ([], None, a_file, 2,
             "cannot make the output folder %s: %s is not a folder" % (a_file, a_file)),
            ([], None, os.path.join(a_file, "site"), 2, "cannot make the output folder %s: %s"
             " is not a folder" % (os.path.join(a_file, "site"), a_file)),
            # /proc takes no new folder, even from root, who may write there.
            ([], None, "/proc/tavc/site", 2,
             "cannot make the output folder /proc/tavc/site: no such file or directory"
             if os.access("/proc", os.W_OK) else
             "cannot write into the output folder: /proc is not writable"),
        ]
        cases.append((["--watch", "--category", "99"], None, None, 2,
                      "--category: no category 99 in event 1"))
        for args, db, out, status, message in cases:
            upload = [] if "--after" in args else self.upload_args(0)
            run = self.publish(*(args + upload), db=db, out=out)
            self.assertEqual((run.returncode, run.stderr, run.stdout),
                             (status, "publish: %s\n" % message, ""), args)
            self.assertFalse(os.path.exists(self.out), args)
        self.assertFalse(os.path.exists(self.log))

    def test_a_failed_publication_says_why_in_one_line_and_uploads_nothing(self):
        replace(os.path.join(self.db, "PCT.DBF"), b"\x03\x01")
        run = self.publish(*self.upload_args(0))
        self.assertEqual(run.returncode, 1)
        self.assertRegex(run.stderr, r"\Apublish: cannot read %s: Unable to read header[^\n]*\n\Z"
                         % re.escape(os.path.join(self.db, "PCT.DBF")))
        self.assertFalse(os.path.exists(self.log))
        # A page that cannot be put in place (a folder stands there).
        shutil.copytree(os.path.join(BUILD, "sample", "db"), self.db, dirs_exist_ok=True)
        os.makedirs(os.path.join(self.out, "SEG012.html"))
        run = self.publish(*self.upload_args(0))
        self.assertEqual((run.returncode, run.stderr), (1, "publish: not published: Unable to "
                         "write: %s - Is a directory\n" % os.path.join(self.out, "SEG012.html")))
        self.assertFalse(os.path.exists(self.log))

    def test_the_upload_step_gets_its_words_as_they_are_and_reports_its_status(self):
        words = ["a b", "$HOME", "x;y", "*"]
        run = self.publish(*(self.upload_args(0) + words))
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertRegex(run.stdout, r"upload step %s: exit status 0\n\Z" % re.escape(sys.executable))
        self.assertEqual(read(self.log).decode(), "\n".join(words) + "\n--\n")
        failed = self.publish(*self.upload_args(3))
        self.assertEqual(failed.returncode, 1)
        self.assertEqual(failed.stderr, "publish: upload step %s: exit status 3\n" % sys.executable)
        missing = self.publish("--after", os.path.join(self.work, "no-such-program"))
        self.assertEqual(missing.returncode, 1)
        self.assertEqual(len(missing.stderr.splitlines()), 1, missing.stderr)

    def watch(self, *args):
        return subprocess.Popen(
            [TCLSH, PUBLISH, self.db, self.out, "--library", LIBRARY, "--app", APP,
             "--watch", "--interval", "100"] + list(args),
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)

    def stop(self, watcher):
        watcher.terminate()
        output = watcher.communicate(timeout=60)[0]
        if watcher.poll() is None:
            watcher.kill()
            watcher.wait()
        return output

    def test_watch_republishes_a_change_and_never_a_half_saved_table(self):
        watcher = self.watch()
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
            time.sleep(1.5)
        finally:
            output = self.stop(watcher)
        self.assertIn("waiting for a complete database: cannot read %s: "
                      % os.path.join(self.db, "EVT.DBF"), output)
        self.assertEqual(output.count("waiting for a complete database"), 1, output)
        # No temporary page was left behind.
        self.assertEqual([n for n in os.listdir(self.out) if ".tmp-" in n], [])

    def test_watch_skips_an_award_page_not_yet_possible_and_never_loops(self):
        watcher = self.watch("--awards", "71", *self.upload_args(0))
        try:
            index = os.path.join(self.out, "index.html")
            self.assertTrue(wait_for(lambda: os.path.exists(self.log), 60))
            stamp = os.stat(index).st_mtime_ns
            # Nothing changes: nothing is published again.
            time.sleep(3)
            self.assertEqual(os.stat(index).st_mtime_ns, stamp)
            table = os.path.join(self.db, "EVT.DBF")
            replace(table, read(table).replace(b"Trophy 2014", b"Trophy 2099"))
            self.assertTrue(wait_for(lambda: b"Trophy 2099" in read(index), 10))
            self.assertTrue(wait_for(lambda: read(self.log).count(b"--") == 2, 10))
            time.sleep(1.5)
        finally:
            output = self.stop(watcher)
        # Each publication skips the award page with one line; a table saved
        # within the second the watcher read it is read once more, which
        # writes nothing and uploads nothing.
        lines = output.splitlines()
        published = [l for l in lines if re.match(r"\d\d:\d\d:\d\d published ", l)]
        skipped = [l for l in lines if l[9:] == "award page skipped: Empty spin map."]
        self.assertIn(len(published), (2, 3), output)
        self.assertEqual(len(skipped), len(published), output)
        self.assertTrue(all("0 pages written" in l for l in published[2:]), output)
        self.assertNotIn("while executing", output)
        self.assertNotIn("Error:", output)
        self.assertEqual(read(self.log).count(b"--"), 2)


if __name__ == "__main__":
    unittest.main(verbosity=2)
