# The event tree over the large generated competition: building the tree
# beside opening the same database (the reference measured in the same
# run), the build over the competition grown tenfold (the growth of the
# build), score lists, and two queries from Tcl loops.
#
#   tclsh event_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so, tools/tavc_sample, bench/event_score_bench and
# sample/large/{db,app} (target sample_large).  The grown database (1,000
# categories, 220,000 performances, about 1 GB) is written into
# BUILD_DIR/bench-event once, and again when the generator has changed.
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
set build [file normalize $build]
set source [file dirname [file dirname [file normalize [info script]]]]
set large [file join $build sample large db]
set app [file join $build sample large app]
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]

# Grown tenfold: 1,000 categories of 100 entries (the register, which the
# build does not read, is kept small).
set grown [file join $build bench-event db]
set generator [file join $build tools tavc_sample]
if {![file exists [file join $grown CFG.DBF]]
    || [file mtime $generator] > [file mtime [file join $grown CFG.DBF]]} {
    file delete -force [file dirname $grown]
    progress "writing the grown database into $grown (a few minutes)"
    exec $generator --schema [file join $source tools sample schema.txt] \
        --description [file join $source tools sample competition.txt] \
        --db $grown --app [file join $build bench-event app] \
        --large 1000 --entries 100 --register 20000
}

# One round: open (timed), build the tree (timed), close.  The first round
# is not counted.
proc round {db} {
    set o [seconds { check [tav_openDB $db] tav_openDB }]
    set p [seconds { check [tav_eventPopulate] tav_eventPopulate }]
    tav_closeDB
    return [list $o $p]
}
tav_set_exec $app
foreach db [list $large] name {large} {
    set open($name) {}
    set populate($name) {}
    round $db
    for {set i 0} {$i < $repeats} {incr i} {
        progress "$name database, round [expr {$i + 1}] of $repeats"
        lassign [round $db] o p
        lappend open($name) $o
        lappend populate($name) $p
    }
}

# Calls per second of two queries from a Tcl loop over the large event.
check [tav_openDB $large] tav_openDB
check [tav_basicPopulate 0] tav_basicPopulate
check [tav_eventPopulate] tav_eventPopulate
set evtId [tav_eventGetEvtListId 0]
set catId [tav_eventGetEvtCatListId $evtId 0]
set scpId [lindex [tav_eventGetEvtCatScpIds $evtId $catId] end]
set prfId [lindex [tav_eventGetEvtCatScpStartList $evtId $catId $scpId] 0]
proc loop {calls script} {
    set t [cpuSeconds]
    for {set i 0} {$i < $calls} {incr i} { uplevel 1 $script }
    return [expr {$calls / max([cpuSeconds] - $t, 0.01)}]
}
set startList {}
set names {}
for {set i 0} {$i < 3} {incr i} {
    progress "Tcl loops, round [expr {$i + 1}] of 3"
    lappend startList [loop 20000 { tav_eventGetEvtCatScpStartList $evtId $catId $scpId }]
    lappend names [loop 50000 { tav_eventGetEvtCatScpPrfNamesClubs $evtId $catId $scpId $prfId }]
}
set segmentSize [llength [tav_eventGetEvtCatScpStartList $evtId $catId $scpId]]
set counts "[llength [tav_eventGetEvtCatNames $evtId]] categories"
tav_closeDB
progress "C++ figures (CPU time): large database"
set cppLarge [exec [file join $build bench event_score_bench] $large]
progress "C++ figures (CPU time): grown database"
set cppGrown [exec [file join $build bench event_score_bench] $grown --no-scores]
proc field {line key} { return [lindex $line [expr {[lsearch -exact $line $key] + 1}]] }

set oL [median $open(large)]
set pL [median $populate(large)]
set cOpen [field $cppLarge open_s]
set cPopL [field $cppLarge populate_s]
set cPopG [field $cppGrown populate_s]
puts ""
puts "event tree, large generated competition ($counts, 22,000 performances)"
puts "CPU time (C++, means of 3 opens and 10 builds):"
puts [format "  tav_eventPopulate   %.4f s   tav_openDB %.4f s (reference)   ratio %.2fx (target <= 0.5x)" \
          $cPopL $cOpen [expr {$cPopL / $cOpen}]]
puts [format "  grown tenfold       tav_eventPopulate %.4f s   grown / large %.1fx (target <= 12x)" \
          $cPopG [expr {$cPopG / $cPopL}]]
puts [format "  score lists (getElmScoreDetail)  %.0f k lists/s, %.0f k elements/s" \
          [expr {[field $cppLarge score_lists_per_s] / 1e3}] [expr {[field $cppLarge elements_per_s] / 1e3}]]
puts "wall time through the commands, medians of $repeats rounds:"
puts [format "  tav_eventPopulate   %.3f s   tav_openDB %.3f s   ratio %.2fx (first build after the open)" \
          $pL $oL [expr {$pL / $oL}]]
puts "  runs (s): open [lmap v $open(large) {format %.3f $v}]; populate [lmap v $populate(large) {format %.3f $v}]"
puts "Tcl loops, CPU time:"
puts [format "  tav_eventGetEvtCatScpStartList (%d performances)  %.0f k calls/s" \
          $segmentSize [expr {[median $startList] / 1e3}]]
puts [format "  tav_eventGetEvtCatScpPrfNamesClubs               %.0f k calls/s" \
          [expr {[median $names] / 1e3}]]
