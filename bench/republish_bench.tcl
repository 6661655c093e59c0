# Republishing the results site of the large generated event after one
# performance's score changed, beside a full publication of the same site
# measured in the same run (format 0, nation column, starting orders,
# judges' details of every started segment, as site_bench.tcl).
#
#   tclsh republish_bench.tcl BUILD_DIR ?REPEATS?
#
# Full publication: tav_eventEvtHtml into a new folder.  Republication: one
# score of one performance changed in memory, then tav_eventEvtHtml into the
# folder of the last full publication; only the changed category's pages are
# made again and only changed pages written.  The watcher's cycle reads the
# database again before each publication: that pair is measured too, with
# the change saved to disk, as open + build + publish on both sides.
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target sample_large).
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
set source [file join $build sample large db]
set app [file join $build sample large app]
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]

set work [file join $build bench-republish]
file delete -force $work
file mkdir $work
# A copy of the database: the watcher's rounds save a changed score.
set db [file join $work db]
file copy $source $db

proc openAndBuild {} {
    global db app
    catch {tav_closeDB}
    tav_set_exec $app
    check [tav_openDB $db] tav_openDB
    check [tav_basicPopulate 0] tav_basicPopulate
    check [tav_eventPopulate] tav_eventPopulate
}

proc publish {site} {
    check [tav_eventEvtHtml $site [tav_eventGetEvtListId 0] 0 0 0 0 0 0 0 1 0 0 1 0 1 0 {}] site
}

# Gives the first performance's first element a new panel score.
proc changeScore {round} {
    check [tav_updateRec PRF 0 [list PRF_E01PNL=[format %.2f [expr {1 + $round / 100.0}]]]] score
}

openAndBuild
set fulls {}
set republishes {}
# One round of each that is not counted, then the counted ones.
for {set i 0} {$i <= $repeats} {incr i} {
    set site [file join $work site$i]
    file delete -force $site
    file mkdir $site
    set t [seconds {publish $site}]
    if {$i > 0} { lappend fulls $t }
    if {$i < $repeats} { file delete -force $site }
}
for {set i 0} {$i <= $repeats} {incr i} {
    changeScore $i
    set t [seconds {publish $site}]
    if {$i > 0} { lappend republishes $t }
}
set written $gTAV(site,written)
set unchanged $gTAV(site,unchanged)

# The watcher's cycle: the database read again, then published.
set watchFull {}
set watchRepublish {}
for {set i 0} {$i <= $repeats} {incr i} {
    set fresh [file join $work fresh$i]
    file mkdir $fresh
    set t [seconds {openAndBuild; publish $fresh}]
    if {$i > 0} { lappend watchFull $t }
    file delete -force $fresh
    changeScore [expr {$i + 50}]
    check [tav_save] tav_save
    set t [seconds {openAndBuild; publish $site}]
    if {$i > 0} { lappend watchRepublish $t }
}
tav_closeDB
file delete -force $work

set mFull [median $fulls]
set mRepublish [median $republishes]
set mWatchFull [median $watchFull]
set mWatchRepublish [median $watchRepublish]
puts ""
puts "results site republished after one score change, whole large event: medians of $repeats rounds"
puts [format "  republish      %.3f s   (%d pages written, %d unchanged)" $mRepublish $written $unchanged]
puts [format "  full           %.3f s   (reference; republish / full %.2f)" $mFull \
    [expr {$mRepublish / $mFull}]]
puts [format "  watcher cycle  %.3f s   read + republish;  %.3f s read + full   (%.2f)" \
    $mWatchRepublish $mWatchFull [expr {$mWatchRepublish / $mWatchFull}]]
puts "  target: republish at most a quarter of the full publication"
puts "  runs (s): republish [lmap v $republishes {format %.3f $v}]; full [lmap v $fulls {format %.3f $v}];\
    watcher [lmap v $watchRepublish {format %.3f $v}] / [lmap v $watchFull {format %.3f $v}]"
