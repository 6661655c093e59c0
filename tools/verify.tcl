# Checks a competition database before it is used, and prints what the
# library's verification finds.  Nothing is changed or saved.
#
#   tclsh tools/verify.tcl verify BUILD_FOLDER DATABASE_FOLDER
#
# BUILD_FOLDER holds the library (libtavC.so, libtavC.dll on Windows) and sample/app, the
# application folder with the abbreviation files.  Every check of tav_verify
# runs on its own (structure, zero identifiers, duplicate identifiers, then
# the references of the event tree and the register), so that each reports
# its findings even when an earlier one found something; a record-count
# fault found by the first is corrected in memory, as the library does, so
# the later checks read every record.
#
# Exit status: 0 when every check found nothing, 1 when something was found,
# 2 when the database cannot be opened or the arguments are wrong.

proc usage {} {
    puts stderr "usage: tclsh tools/verify.tcl verify BUILD_FOLDER DATABASE_FOLDER"
    exit 2
}

if {[llength $argv] != 3 || [lindex $argv 0] ne "verify"} usage
lassign $argv action build database
set build [file normalize $build]
set database [file normalize $database]

# The reference check reports faults it finds on the way (a category slot
# naming no segment) as progress lines marked "E"; those are findings too.
set progressFaults {}
proc add_verif_msg {text {kind ""}} {
    if {$kind eq "E"} { lappend ::progressFaults [string trim $text] }
}

load [file join $build libtavC[info sharedlibextension]]
tav_set_exec [file join $build sample app]
if {[tav_openDB $database] ne "1"} {
    puts stderr "cannot open $database: [tav_getErrStr]"
    exit 2
}
puts "Database $database, version [tav_getDBversion]"

set found 0
foreach {type title} {1 "Structure" 2 "Zero identifiers" 3 "Duplicate identifiers" 4 "References"} {
    set progressFaults {}
    set answer [tav_verify $type 0]
    set lines [lsearch -all -inline -not [split [tav_getErrStr] \n] {}]
    set lines [concat $progressFaults $lines]
    if {[llength $lines] == 0} {
        puts "$title: sound"
        continue
    }
    set found 1
    puts "$title: found"
    foreach line $lines { puts "  $line" }
}
tav_closeDB
exit $found
