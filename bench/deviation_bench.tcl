# The judges' deviation report of the whole large generated event with every
# expansion flag on, in lines per second, beside a reference measured in the
# same run: copying the finished report file (the floor of writing those
# bytes once more).
#
#   tclsh deviation_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target sample_large).
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]
set evtId [openLargeEvent $build]

set folder [file join $build bench-deviation]
file mkdir $folder
set report [file join $folder deviation.csv]
set copy [file join $folder copy.csv]
set runs {}
set copies {}
# One round that is not counted, then the counted ones.
for {set i 0} {$i <= $repeats} {incr i} {
    set t [seconds {check [tav_eventEvtDeviation $report $evtId {} 1 1 1 1 1 1 1 1] report}]
    set c [seconds {file copy -force $report $copy}]
    if {$i > 0} { lappend runs $t; lappend copies $c }
}
set f [open $report r]
set lines 0
while {[gets $f line] >= 0} { incr lines }
close $f
set bytes [file size $report]
file delete -force $folder
tav_closeDB

set mRun [median $runs]
set mCopy [median $copies]
puts ""
puts "deviation report, whole large event, every flag on: $lines lines,\
    [format %.1f [expr {$bytes / 1e6}]] MB, medians of $repeats rounds"
puts [format "  report    %.3f s   %.0f k lines/s" $mRun [expr {$lines / $mRun / 1e3}]]
puts [format "  file copy %.3f s   (reference; report / copy %.1fx)" $mCopy [expr {$mRun / $mCopy}]]
puts "  runs (s): report [lmap v $runs {format %.3f $v}]; copy [lmap v $copies {format %.3f $v}]"
