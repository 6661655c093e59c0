# Runs one tcltest file against the built library and exits non-zero when a
# test failed.
#
#   tclsh run_tcltest.tcl file.test mode library
#   tclsh run_tcltest.tcl file.test mode -package build
#
# mode "tk" loads Tk and the library through its Tk entry point (run it under
# xvfb-run); mode "headless" loads the library without Tk.  The first form
# loads the library file of a build tree; the second finds the installed
# library with `package require tavC`, and build names the folder that holds
# the sample (sample/db, sample/app), as a build tree does.  Test files can
# use the constraints "tk" and "headless", the fixtures of dbf_fixture.tcl,
# ::tavLibrary (the library file loaded) and ::tavBuild (the sample's folder).
lassign $argv testFile mode library build
set argv {}
package require tcltest 2
namespace import ::tcltest::*

if {$mode eq "tk"} {
    package require Tk
    wm withdraw .
}
if {$library eq "-package"} {
    package require tavC
    set library [lindex [lsearch -inline -index 1 [info loaded] Tav*] 0]
} else {
    set build [file dirname $library]
    load $library [expr {$mode eq "tk" ? "Tav" : "Tavc"}]
}
testConstraint tk [expr {$mode eq "tk"}]
# tcltest ends a Tk application itself (with status 0) unless it believes the
# session is interactive; the runner exits with the real status below.
testConstraint interactive 1
testConstraint headless [expr {$mode ne "tk"}]
set ::tavLibrary $library
set ::tavBuild [file normalize $build]
set ::tavSupport [file dirname [file normalize [info script]]]
# The test files are UTF-8, whatever the system's encoding (cp1252 on Windows).
source -encoding utf-8 [file join $::tavSupport dbf_fixture.tcl]

configure -verbose {error} -tmpdir [file join [pwd] tcltest-tmp]
file mkdir [temporaryDirectory]

set ::tavFailed 0
set ::tavCleanedUp 0
proc ::tcltest::cleanupTestsHook {} {
    set ::tavCleanedUp 1
    set ::tavFailed $::tcltest::numTests(Failed)
    file delete -force [file join [::tcltest::temporaryDirectory] tavc-[pid]]
}
if {[catch {source -encoding utf-8 $testFile} message]} {
    puts stderr "error while running $testFile: $message\n$::errorInfo"
    exit 2
}
# A file that does not end with cleanupTests still reports its failures.
if {!$::tavCleanedUp} { cleanupTests }
exit [expr {$::tavFailed > 0}]
