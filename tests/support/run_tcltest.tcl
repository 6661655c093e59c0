# Runs one tcltest file against the built library and exits non-zero when a
# test failed.
#
#   tclsh run_tcltest.tcl file.test mode library
#
# mode "tk" loads Tk and the library through its Tk entry point (run it under
# xvfb-run); mode "headless" loads the library without Tk.  Test files can use
# the constraints "tk" and "headless" and the fixtures of dbf_fixture.tcl.
lassign $argv testFile mode library
set argv {}
package require tcltest 2
namespace import ::tcltest::*

if {$mode eq "tk"} {
    package require Tk
    wm withdraw .
    load $library Tav
} else {
    load $library
}
testConstraint tk [expr {$mode eq "tk"}]
# tcltest ends a Tk application itself (with status 0) unless it believes the
# session is interactive; the runner exits with the real status below.
testConstraint interactive 1
testConstraint headless [expr {$mode ne "tk"}]
set ::tavLibrary $library
set ::tavSupport [file dirname [file normalize [info script]]]
source [file join $::tavSupport dbf_fixture.tcl]

configure -verbose {error} -tmpdir [file join [pwd] tcltest-tmp]
file mkdir [temporaryDirectory]

set ::tavFailed 0
set ::tavCleanedUp 0
proc ::tcltest::cleanupTestsHook {} {
    set ::tavCleanedUp 1
    set ::tavFailed $::tcltest::numTests(Failed)
    file delete -force [file join [::tcltest::temporaryDirectory] tavc-[pid]]
}
if {[catch {source $testFile} message]} {
    puts stderr "error while running $testFile: $message\n$::errorInfo"
    exit 2
}
# A file that does not end with cleanupTests still reports its failures.
if {!$::tavCleanedUp} { cleanupTests }
exit [expr {$::tavFailed > 0}]
