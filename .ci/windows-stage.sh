#!/usr/bin/env bash
# The whole library on Windows, checked on Debian with MinGW-w64 and Wine.
#
#   .ci/windows-stage.sh [LINUX_BUILD]
#
# (It adds a deb-src entry to apt's sources when there is none, through sudo
# unless it runs as root.)
#
# 1. Fetches Tcl and Tk 8.6 from Debian's source packages and cross-builds
#    them for 64-bit Windows into C:\Tcl of a Wine prefix.
# 2. Cross-builds the library (libtavC.dll against the Tcl and Tk stubs,
#    pkgIndex.tcl) and the sample generator, installs the library with
#    `cmake --install` into C:\Tcl, and checks that the DLL needs nothing but
#    Windows' own DLLs.
# 3. Under Wine: generates the sample with the Windows generator, runs every
#    Tcl test file with the Windows tclsh (the library found by
#    `package require tavC`), headless and with Tk under Xvfb, and publishes
#    the sample's site with tools/publish.tcl into a folder given as a Windows
#    path (drive letter, backslashes, an accented name); the pages must be
#    byte for byte the Linux build's (LINUX_BUILD, default build), the
#    footer's date and time aside.
#
# Everything it downloads and builds stays under build-win/.  Exits non-zero
# when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
SOURCE_DIR="$PWD"
LINUX_BUILD="$(realpath "${1:-build}")"
STAGE="$SOURCE_DIR/build-win"
HOST=x86_64-w64-mingw32
TCL_PACKAGES="tcl8.6 tk8.6"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
mkdir -p "$STAGE"
started=$(date +%s)
step() { echo "== windows stage [$(( $(date +%s) - started ))s]: $*"; }

# --- Wine ---------------------------------------------------------------
# Debian installs the runner outside PATH; the package also ships other files
# named wine64 (bug-report and lintian folders), so take the program.
WINE_DIR=""
for candidate in $(dpkg -L wine64 | grep -E '/wine64$'); do
  if [ -f "$candidate" ] && [ -x "$candidate" ]; then WINE_DIR="$(dirname "$candidate")"; break; fi
done
[ -n "$WINE_DIR" ] || { echo "wine64 runner not found" >&2; exit 1; }
WINE="$WINE_DIR/wine64"
export WINEPREFIX="$STAGE/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine turns the Unix command line into Windows text through the locale:
# UTF-8, so that an accented folder name arrives whole.
export LC_ALL=C.UTF-8
TCL_PREFIX="$WINEPREFIX/drive_c/Tcl"          # C:\Tcl
WORK_UNIX="$WINEPREFIX/drive_c/tavC"          # C:\tavC
XVFB_PID=""
stop_servers() {
  "$WINE_DIR/wineserver" -k 2>/dev/null || true   # this prefix's server only
  if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
}
trap stop_servers EXIT
# The Windows form of an absolute Unix path (Z: is the Unix root in Wine).
winpath() { local path="Z:$1"; echo "${path//\//\\}"; }

# A display of its own (Xvfb) for the whole stage: Wine's desktop process,
# started with the server below, takes the display it finds then, and the Tk
# tests need one.
step "starting Xvfb and Wine"
rm -f "$STAGE/xvfb-display"
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$STAGE/xvfb-display" 2>/dev/null &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$STAGE/xvfb-display" ] && break; sleep 0.1; done
[ -s "$STAGE/xvfb-display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$STAGE/xvfb-display")"
# One server for the whole stage, started first: each program started below
# attaches to it instead of starting (and stopping) its own.
# (A server left over from an earlier run of this prefix is stopped first;
# the server needs the prefix's folder, which Wine fills in at wineboot.)
mkdir -p "$WINEPREFIX"
"$WINE_DIR/wineserver" -k 2>/dev/null && "$WINE_DIR/wineserver" -w || true
"$WINE_DIR/wineserver" -p
"$WINE" wineboot --init

# --- Tcl and Tk for Windows ---------------------------------------------
fetch_sources() {
  # Debian's registry serves the sources beside the packages: a deb-src entry
  # that copies the system's own source (same archive, suites and key).
  local list=/etc/apt/sources.list.d/debian-src-tavc.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$list"
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
        $SUDO tee /etc/apt/sources.list.d/debian-src-tavc.list
    fi
    $SUDO apt-get update
  fi
  mkdir -p "$STAGE/sources"
  (cd "$STAGE/sources" && apt-get source --download-only $TCL_PACKAGES)
  for tarball in "$STAGE"/sources/tcl8.6_*.orig.tar.* "$STAGE"/sources/tk8.6_*.orig.tar.*; do
    tar -xf "$tarball" -C "$STAGE/sources"
  done
}

# configure && make && make install of Tcl's or Tk's win/ folder, outside the
# source tree; only the programs, the libraries and the script library (no
# documents, no bundled packages).
build_windows_tcl() {
  local name=$1; shift
  local source_dir
  source_dir="$(ls -d "$STAGE"/sources/"$name"8.6*/win | head -n 1)"
  mkdir -p "$STAGE/$name"
  (cd "$STAGE/$name" &&
   "$source_dir/configure" --host=$HOST --enable-64bit --prefix="$TCL_PREFIX" "$@" &&
   make -j2 binaries libraries &&
   make install-binaries install-libraries)
}

if [ ! -x "$TCL_PREFIX/bin/wish86.exe" ]; then
  step "fetching the Tcl and Tk sources"
  [ -d "$STAGE/sources" ] && ls -d "$STAGE"/sources/tk8.6*/win >/dev/null 2>&1 || fetch_sources
  step "building Tcl for Windows"
  build_windows_tcl tcl
  step "building Tk for Windows"
  build_windows_tcl tk --with-tcl="$STAGE/tcl"
fi
TCLSH="$TCL_PREFIX/bin/tclsh86.exe"
WISH="$TCL_PREFIX/bin/wish86.exe"
"$WINE" "$TCLSH" <<< 'puts "Windows Tcl [info patchlevel], $tcl_platform(os) $tcl_platform(machine)"'

# --- The library for Windows ---------------------------------------------
step "building the library for Windows"
LIB_BUILD="$STAGE/lib"
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$SOURCE_DIR" -B "$LIB_BUILD" -DCMAKE_TOOLCHAIN_FILE="$SOURCE_DIR/cmake/mingw-w64-x86_64.cmake" \
  "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=Release -DTAVC_TESTS=OFF \
  -DTCL_INCLUDE_PATH="$TCL_PREFIX/include" -DTK_INCLUDE_PATH="$TCL_PREFIX/include" \
  -DTCL_LIBRARY="$TCL_PREFIX/lib/libtcl86.dll.a" -DTK_LIBRARY="$TCL_PREFIX/lib/libtk86.dll.a" \
  -DTCL_STUB_LIBRARY="$TCL_PREFIX/lib/libtclstub86.a" -DTK_STUB_LIBRARY="$TCL_PREFIX/lib/libtkstub86.a" \
  -DTCL_TCLSH="$TCLSH" -DTK_WISH="$WISH"
# The library and the generator only: the sample is generated below, by the
# Windows generator under Wine.
cmake --build "$LIB_BUILD" -j2 --target tavC tavc_sample
cmake --install "$LIB_BUILD" --prefix "$TCL_PREFIX"
INSTALLED="$TCL_PREFIX/lib/tavC$(sed -n 's/^project(tavC VERSION \([0-9.]*\).*/\1/p' "$SOURCE_DIR/CMakeLists.txt")"
ls -l "$INSTALLED"

# The DLL may need Windows' own DLLs and Tcl's, nothing of the compiler's
# (libwinpthread-1.dll, libgcc_s_seh-1.dll, libstdc++-6.dll) that a user's
# Tcl does not have.
needed="$($HOST-objdump -p "$INSTALLED/libtavC.dll" | sed -n 's/^\s*DLL Name: //p')"
echo "libtavC.dll needs: $(echo $needed)"
foreign_needed="$(echo "$needed" | grep -viE '^(kernel32|msvcrt|ucrtbase|user32|advapi32|shell32|ole32|ws2_32|bcrypt|ntdll|gdi32|api-ms-win-[a-z0-9-]+|tcl86|tk86)\.dll$' || true)"
if [ -n "$foreign_needed" ]; then
  echo "libtavC.dll needs DLLs that are not Windows' own: $foreign_needed" >&2
  exit 1
fi

# --- The sample, by the Windows generator --------------------------------
step "generating the sample under Wine"
SAMPLE_TOOLS="$(winpath "$SOURCE_DIR/tools/sample")"
generate_sample() {   # generate_sample WINDOWS_FOLDER [more options]
  local folder=$1; shift
  "$WINE" "$LIB_BUILD/tools/tavc_sample.exe" --schema "$SAMPLE_TOOLS\\schema.txt" \
    --description "$SAMPLE_TOOLS\\competition.txt" \
    --db "$folder\\db" --app "$folder\\app" --indexes "$@"
}
# Beside the Windows build, where the Tcl tests look for it (as in a build
# tree), and the README's main job's sample in C:\tavC.
generate_sample "$(winpath "$LIB_BUILD")\\sample" --broken "$(winpath "$LIB_BUILD")\\sample\\broken\\db"
rm -rf "$WORK_UNIX"
generate_sample 'C:\tavC\sample'
# The Windows generator writes the Linux one's database, byte for byte.
diff -r "$LINUX_BUILD/sample/db" "$WORK_UNIX/sample/db"
diff -r "$LINUX_BUILD/sample/broken/db" "$LIB_BUILD/sample/broken/db"
diff -r "$LINUX_BUILD/sample/app" "$WORK_UNIX/sample/app"

# --- The Tcl tests ---------------------------------------------------------
# Every tests/*.test file, by the Windows tclsh (headless) and wish (with Tk),
# the library found by `package require tavC` in C:\Tcl\lib; the sample is
# the one generated beside the Windows build.  The two runs go side by side
# (one per core), each in a folder of its own; a run prints one line per
# file, the whole output of a file that failed, and a list of those at its
# end, which is its status.
RUNNER="$(winpath "$SOURCE_DIR/tests/support/run_tcltest.tcl")"
TEST_RUN="$STAGE/test-run"
rm -rf "$TEST_RUN"
run_tcl_tests() {   # run_tcl_tests MODE PROGRAM
  local mode=$1 program=$2 test_file log failed=""
  mkdir -p "$TEST_RUN/$mode"
  for test_file in $(cd "$SOURCE_DIR" && ls tests/*/*.test); do
    log="$TEST_RUN/$mode/$(echo "$test_file" | tr / _).log"
    if (cd "$TEST_RUN/$mode" && timeout 600 "$WINE" "$program" "$RUNNER" "$(winpath "$SOURCE_DIR/$test_file")" \
          "$mode" -package "$(winpath "$LIB_BUILD")") > "$log" 2>&1; then
      echo "passed $test_file ($mode)"
    else
      echo "FAILED $test_file ($mode):"; cat "$log"
      failed="$failed $test_file"
    fi
  done
  if [ -n "$failed" ]; then echo "failed ($mode):$failed"; return 1; fi
  echo "every Tcl test file passed ($mode)"
}
step "the Tcl tests: headless by the Windows tclsh, with Tk by the Windows wish under Xvfb"
run_tcl_tests headless "$TCLSH" > "$TEST_RUN.headless" 2>&1 & headless_run=$!
run_tcl_tests tk "$WISH" > "$TEST_RUN.tk" 2>&1 & tk_run=$!
tests_passed=1
wait $headless_run || tests_passed=0
wait $tk_run || tests_passed=0
cat "$TEST_RUN.headless" "$TEST_RUN.tk"
step "the Tcl tests ended"

# --- The README's main job -------------------------------------------------
# The sample of C:\tavC published into a folder given the Windows way, by the
# Windows tclsh with the installed library (no build in this tree for it).
step "publishing the sample under Wine"
published="$(cd "$WORK_UNIX" && "$WINE" "$TCLSH" "$(winpath "$SOURCE_DIR/tools/publish.tcl")" \
  'C:\tavC\sample\db' 'C:\tavC\Résultats' --app 'C:\tavC\sample\app' | tr -d '\r')"
echo "$published"
expected='Published the results site: open file:///C:/tavC/R%C3%A9sultats/index.html'
if [ "${published%%$'\n'*}" != "$expected" ]; then
  echo "the address printed is not the page's file:/// address: $expected" >&2
  exit 1
fi
# The Linux build publishes the same sample; the pages must be the same
# bytes, the footer's date, time and time-zone name aside.
rm -rf "$STAGE/site-linux"
tclsh "$SOURCE_DIR/tools/publish.tcl" "$LINUX_BUILD/sample/db" "$STAGE/site-linux" \
  --app "$LINUX_BUILD/sample/app" --library "$LINUX_BUILD/libtavC.so" >/dev/null
without_time() { sed -E 's#<BR>[^<]*</FONT></P>$#<BR>TIME</FONT></P>#' "$1"; }
site_windows="$WORK_UNIX/Résultats"
diff <(cd "$STAGE/site-linux" && find . -type f | sort) <(cd "$site_windows" && find . -type f | sort)
pages=0
for page in $(cd "$STAGE/site-linux" && find . -type f | sort); do
  cmp <(without_time "$STAGE/site-linux/$page") <(without_time "$site_windows/$page") ||
    { echo "page $page differs between Linux and Windows" >&2; exit 1; }
  pages=$((pages + 1))
done
echo "all $pages pages published under Wine are the Linux build's"

step "done"
if [ $tests_passed -ne 1 ]; then
  echo "Tcl test files failed under Wine (listed above)" >&2
  exit 1
fi
