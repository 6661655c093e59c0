# Person import over the large generated competition: a 20,000-line
# competitors' file into a register of 200,000, in lines per second, beside
# two references measured in the same rounds - reading and splitting the same
# file in Tcl (the floor of any line reader) and rebuilding the whole
# register once (tav_basicPopulate, which an import that repopulated after
# every line would pay per line) - and a file of a tenth of the lines, whose
# rate shows that the import does not grow with the square of its size.
#
#   tclsh import_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target
# sample_large).  The files are written into BUILD_DIR/bench-import.  Nothing
# is saved: every round opens the database afresh.
lassign $argv build repeats
if {$repeats eq ""} { set repeats 3 }
set build [file normalize $build]
set large [file join $build sample large db]
set app [file join $build sample large app]
set folder [file join $build bench-import]
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]

# CPU time of this process (user + system) in seconds, from /proc: on a
# shared machine the import is not charged for other work.
proc cpuOf {script} {
    set t [cpuSeconds]
    uplevel 1 $script
    return [expr {[cpuSeconds] - $t}]
}
proc check {result what} {
    if {$result ne "1"} { error "$what failed: $result [tav_getErrStr]" }
}

# A competitors' file of `count` lines: new skaters of 40 existing clubs and
# a few new ones, every 25th line a skater the register already holds (with
# the registration number that tells apart the register's namesakes), every
# 40th a repeat of an earlier line of the file.
proc writeSkaters {path count registered clubs} {
    set f [open $path w]
    fconfigure $f -encoding utf-8
    set nations {CAN USA GER FRA ITA JPN FIN SWE}
    for {set i 0} {$i < $count} {incr i} {
        if {$i % 25 == 24} {
            lassign [lindex $registered [expr {$i % [llength $registered]}]] given family regNo
            puts $f "$given $family\t[lindex $clubs [expr {$i % [llength $clubs]}]]\t$regNo"
            continue
        }
        set n [expr {$i % 40 == 17 ? $i - 7 : $i}]
        set club [expr {$n % 97 == 0 ? "Import Club [expr {$n % 7}]" : [lindex $clubs [expr {$n % [llength $clubs]}]]}]
        set gender [expr {$n % 2 ? "MALE" : "FEMALE"}]
        puts $f "Skater$n Zoé Müller-[format %05d $n]\t$club\t[expr {80000000 + $n}]\t$gender\t[lindex $nations [expr {$n % 8}]]"
    }
    close $f
}

tav_set_exec $app
check [tav_openDB $large] tav_openDB
check [tav_basicPopulate 0] tav_basicPopulate
set registered [lmap r [lrange [tav_getFallRecs PCT {PCT_GNAME PCT_FNAME PCT_REGNO} {PCT_AFUNCT=CMP} {} 0 0] 0 399] {set r}]
set clubs [lrange [tav_basicGetPctNames 16] 0 39]
set registerSize [tav_getNR PCT]
tav_closeDB
file mkdir $folder
set files {}
foreach count {20000 2000} {
    set path [file join $folder skaters-$count.txt]
    writeSkaters $path $count $registered $clubs
    dict set files $count $path
}

# The floor: the same file read and split into fields in Tcl.
proc readFloor {path} {
    set f [open $path r]
    fconfigure $f -encoding utf-8
    set fields 0
    foreach line [split [read $f] \n] { incr fields [llength [split $line \t]] }
    close $f
    return $fields
}

# One round: open, populate (timed: the rebuild reference), import (timed),
# close; the floor read beside it.
proc round {path} {
    check [tav_openDB $::large] tav_openDB
    set rebuild [cpuOf { check [tav_basicPopulate 0] tav_basicPopulate }]
    set import [cpuOf { check [tav_basicImportPCT 2 $path 1 F CAN 15 1 0 0 0 0] import }]
    set counts [list [llength [tav_basicGetImportImportedList 0]] \
                    [llength [tav_basicGetImportDuplicateList 0]] \
                    [llength [tav_basicGetImportInvalidList]]]
    tav_closeDB
    set floor [cpuOf { readFloor $path }]
    return [list $import $rebuild $floor $counts]
}
foreach count {20000 2000} {
    set path [dict get $files $count]
    round $path
    foreach k {import rebuild floor} { set ${k}($count) {} }
    for {set i 0} {$i < $repeats} {incr i} {
        progress "$count lines, round [expr {$i + 1}] of $repeats"
        lassign [round $path] timed rebuilt read counted
        lappend import($count) $timed
        lappend rebuild($count) $rebuilt
        lappend floor($count) $read
        set counts($count) $counted
    }
}

set iL [median $import(20000)]
set iS [median $import(2000)]
set rL [median $rebuild(20000)]
set fL [median $floor(20000)]
lassign $counts(20000) added duplicates invalid
puts ""
puts "person import, large generated competition (register of $registerSize records), CPU seconds, medians of $repeats rounds"
puts [format "  20,000 lines   %.3f s   %.0f lines/s   (%d added incl. new clubs, %d duplicates, %d invalid)" \
          $iL [expr {20000 / $iL}] $added $duplicates $invalid]
puts [format "  Tcl read+split of the file %.3f s (floor, %.0f lines/s)   ratio %.1fx" \
          $fL [expr {20000 / $fL}] [expr {$iL / $fL}]]
puts [format "  tav_basicPopulate of the register %.3f s (reference: one rebuild)   import / rebuild %.2fx" \
          $rL [expr {$iL / $rL}]]
puts [format "  2,000 lines    %.3f s   %.0f lines/s   (20,000 / 2,000 time %.1fx; tenfold lines, not quadratic when well below 100x)" \
          $iS [expr {2000 / $iS}] [expr {$iL / $iS}]]
puts [format "  marginal rate     %.0f lines/s   (the 18,000 lines the large file has beyond the tenth)" \
          [expr {18000 / max($iL - $iS, 0.001)}]]
puts "  runs (s): import [lmap v $import(20000) {format %.3f $v}]; tenth [lmap v $import(2000) {format %.3f $v}]"
