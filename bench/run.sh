#!/usr/bin/env bash
# Runs the benchmarks of the table engine and prints their figures and ratios
# (see doc/benchmarks.md).
#
#   bench/run.sh [BUILD_DIR] [DB_FOLDER] [REPEATS]
#
# BUILD_DIR   a Release build tree (default: build-bench beside bench/); the
#             library and the benchmark programs are built there if needed.
# DB_FOLDER   where the large database is written (default BUILD_DIR/bench-db);
#             it is written again whenever make_bench_db has changed.
# REPEATS     rounds of each side-by-side pair (default 5).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build-bench}"
db="${2:-$build/bench-db}"
repeats="${3:-5}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release > /dev/null
fi
cmake --build "$build" -j2 --target tavC floor_read engine_bench make_bench_db event_score_bench tavc_sample > /dev/null

stamp="$db/.complete"
if [ ! -f "$stamp" ] || [ "$build/bench/make_bench_db" -nt "$stamp" ]; then
  echo "... writing the benchmark database into $db" >&2
  rm -rf "$db"
  "$build/bench/make_bench_db" "$db"
  touch "$stamp"
fi

tclsh "$here/driver.tcl" "$build" "$db" "$repeats"

# The judges' deviation report over the large generated competition.
cmake --build "$build" -j2 --target sample_large > /dev/null
tclsh "$here/deviation_bench.tcl" "$build" "$repeats"

# The results site of the large generated competition beside cp -r of it.
tclsh "$here/site_bench.tcl" "$build" "$repeats"

# Republishing that site after one score changed, beside the full publication.
tclsh "$here/republish_bench.tcl" "$build" "$repeats"

# Results as JSON and the score audit beside the results site, same event.
tclsh "$here/results_bench.tcl" "$build" "$repeats"

# The event tree over the large generated competition: the build beside
# opening, the build over a tenth of it, queries from Tcl loops.
tclsh "$here/event_bench.tcl" "$build" "$repeats"

# Timelines of every segment and standings of every category, from Tcl.
tclsh "$here/schedule_bench.tcl" "$build" "$repeats"

# Verification and comparison over the same large generated competition.
tclsh "$here/verify_bench.tcl" "$build" "$repeats"

# The register over the same large generated competition: the build beside
# opening, finds in C++ and from Tcl, the name calculation.
cmake --build "$build" -j2 --target register_bench > /dev/null
tclsh "$here/register_bench.tcl" "$build" "$repeats"

# Person import: a 20,000-line competitors' file into the large register.
tclsh "$here/import_bench.tcl" "$build" "$repeats"
