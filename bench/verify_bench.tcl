# Verification and comparison over the large generated competition, each as
# a ratio to opening the same database (tav_openDB) measured in the same run:
# tav_verify type 0 (structure, zero and duplicate identifiers), type 4 (the
# references of the event tree and the register, both built beforehand) and
# tav_compareDbf of the database against a copy with a few changes.
#
#   tclsh verify_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target sample_large).
# The copy is written into BUILD_DIR/bench-compare and removed at the end.
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
set db [file join $build sample large db]
set app [file join $build sample large app]
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]

# Wall-clock seconds of a script; the processor seconds it used (user and
# system, from /proc, 10 ms steps) go to ::cpu, since on a busy machine the
# wall clock also counts the waiting.
proc cpuNow {} {
    set f [open /proc/[pid]/stat r]
    set text [read $f]
    close $f
    set rest [split [string trim [string range $text [expr {[string last ")" $text] + 2}] end]] " "]
    # utime and stime are fields 14 and 15 of the line, 12 and 13 after ")".
    return [expr {([lindex $rest 11] + [lindex $rest 12]) / 100.0}]
}
proc seconds {script} {
    set c [cpuNow]
    set t [clock microseconds]
    uplevel 1 $script
    set ::cpu [expr {[cpuNow] - $c}]
    return [expr {([clock microseconds] - $t) / 1e6}]
}
proc check {result expected what} {
    if {$result ne $expected} { error "$what answered $result: [tav_getErrStr]" }
}
proc add_verif_msg {args} {}
proc ::list1 {insert end row} { incr ::rows }
proc ::list2 {insert end row} {}

tav_set_exec $app

# The copy: every table file, then a few records changed, one deleted and
# one added, saved in place.
set copy [file join $build bench-compare]
file delete -force $copy
file mkdir $copy
foreach path [glob -directory $db *.DBF] { file copy $path $copy }
check [tav_openDB $copy] 1 "tav_openDB copy"
foreach recNo {10 5000 150000} { tav_updateRec PCT $recNo [list "PCT_CNAME=Changed name"] }
tav_updateRec PRF 100 {PRF_PLACE=99}
tav_delRec PAR 7
tav_addRec CAT 1 {CAT_ID=99999 CAT_NAME=Added}
check [tav_save] 1 "tav_save copy"
tav_closeDB

set opens {}
set verify0 {}
set verify4 {}
set compares {}
set cpuOpens {}
set cpuVerify0 {}
set cpuVerify4 {}
set cpuCompares {}
# One round that is not counted, then the counted ones.
for {set i 0} {$i <= $repeats} {incr i} {
    tav_closeDB
    set o [seconds {check [tav_openDB $db] 1 tav_openDB}]
    set oc $::cpu
    set v0 [seconds {check [tav_verify 0 0] 1 "tav_verify 0"}]
    set v0c $::cpu
    check [tav_basicPopulate 0] 1 tav_basicPopulate
    check [tav_eventPopulate] 1 tav_eventPopulate
    set v4 [seconds {check [tav_verify 4 0] 1 "tav_verify 4"}]
    set v4c $::cpu
    set ::rows 0
    set c [seconds {check [tav_compareDbf $db $copy list1 list2] 1 tav_compareDbf}]
    set cc $::cpu
    if {$i > 0} {
        lappend cpuOpens $oc
        lappend cpuVerify0 $v0c
        lappend cpuVerify4 $v4c
        lappend cpuCompares $cc
        lappend opens $o
        lappend verify0 $v0
        lappend verify4 $v4
        lappend compares $c
    }
}
set records 0
foreach handle [tav_getHandleList] { incr records [tav_getNR $handle] }
tav_closeDB
file delete -force $copy

set mOpen [median $opens]
set cOpen [median $cpuOpens]
puts ""
puts "verification and comparison, large generated database ($records records),\
    medians of $repeats rounds; wall clock, then processor time"
puts [format "  tav_openDB         %.3f s               cpu %.2f s  (reference)" $mOpen $cOpen]
foreach {label runs cpus} [list "tav_verify 0 0" $verify0 $cpuVerify0 "tav_verify 4 0" $verify4 \
        $cpuVerify4 "tav_compareDbf" $compares $cpuCompares] {
    set m [median $runs]
    set c [median $cpus]
    puts [format "  %-18s %.3f s  %5.2fx open   cpu %.2f s  %5.2fx open" $label $m \
        [expr {$m / $mOpen}] $c [expr {$cOpen > 0 ? $c / $cOpen : 0}]]
}
puts "  compare rows a side: $::rows"
puts "  runs (s): open [lmap v $opens {format %.3f $v}]; verify 0 [lmap v $verify0 {format %.3f $v}];\
    verify 4 [lmap v $verify4 {format %.3f $v}]; compare [lmap v $compares {format %.3f $v}]"
