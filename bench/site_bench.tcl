# The results site of the whole large generated event (format 0, starting
# orders, judges' details of every started segment), in pages and megabytes
# per second, beside a reference measured in the same run: `cp -r` of the
# written site into a new folder (the floor of writing those files once
# more).  Pages are put in place by rename without a flush of their own, as
# the copy writes its files.  Both are also timed in CPU time (user +
# system: this process for the publication, the waited-for cp for the
# copy), which other work on a shared machine does not inflate as much as
# the wall clock.
#
#   tclsh site_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target sample_large).
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]
set evtId [openLargeEvent $build]

set folder [file join $build bench-site]
file delete -force $folder
file mkdir $folder
set runs {}
set cpus {}
set copies {}
set copyCpus {}
# One round that is not counted, then the counted ones; each round writes a
# new site and copies it into a new folder.
for {set i 0} {$i <= $repeats} {incr i} {
    set site [file join $folder site$i]
    set copy [file join $folder copy$i]
    file mkdir $site
    set cpu [cpuSeconds]
    set t [seconds {check [tav_eventEvtHtml $site $evtId 0 0 0 0 0 0 0 1 0 0 1 0 1 0 {}] site}]
    set cpu [expr {[cpuSeconds] - $cpu}]
    set copyCpu [childCpuSeconds]
    set c [seconds {exec cp -r $site $copy}]
    set copyCpu [expr {[childCpuSeconds] - $copyCpu}]
    if {$i > 0} { lappend runs $t; lappend cpus $cpu; lappend copies $c; lappend copyCpus $copyCpu }
    if {$i < $repeats} { file delete -force $site $copy }
}
set pages [glob -directory $site *]
set bytes 0
foreach page $pages { incr bytes [file size $page] }
set count [llength $pages]
file delete -force $folder
tav_closeDB

set mRun [median $runs]
set mCopy [median $copies]
set mCpu [median $cpus]
set mCopyCpu [expr {max(0.01, [median $copyCpus])}]
puts ""
puts "results site, whole large event (format 0, details, start orders): $count pages,\
    [format %.1f [expr {$bytes / 1e6}]] MB, medians of $repeats rounds"
puts [format "  publish   %.3f s wall   %.0f pages/s   %.0f MB/s" $mRun [expr {$count / $mRun}] \
    [expr {$bytes / $mRun / 1e6}]]
puts [format "  cp -r     %.3f s wall   %.0f pages/s   %.0f MB/s   (reference; publish / copy %.1fx)" \
    $mCopy [expr {$count / $mCopy}] [expr {$bytes / $mCopy / 1e6}] [expr {$mRun / $mCopy}]]
puts [format "  publish   %.3f s CPU    cp -r %.3f s CPU (reference; publish / copy %.1fx)" \
    $mCpu $mCopyCpu [expr {$mCpu / $mCopyCpu}]]
puts "  targets: at least 1000 pages/s, at most 3x the copy"
puts "  runs (s): publish [lmap v $runs {format %.3f $v}]; CPU [lmap v $cpus {format %.2f $v}];\
    copy [lmap v $copies {format %.3f $v}]; copy CPU [lmap v $copyCpus {format %.2f $v}]"
