# Timelines and standings over the large generated competition, from Tcl:
# the timeline of every segment and the standings of every category, each
# beside a reference measured in the same rounds (the start list of every
# segment, the participant list of every category: the reads the two
# computations are built on), then the event's schedule summary and one
# combined standing of every category of the first kind, merged by person.
# Figures are per second of CPU time, medians of REPEATS rounds; the two
# sides of a pair alternate their order from round to round.
#
#   tclsh schedule_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target sample_large).
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
set build [file normalize $build]
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]

# CPU seconds of one run of `script` in the caller's scope, measured over
# `times` runs (the clock counts hundredths of a second).
proc cpu {times script} {
    set t [cpuSeconds]
    for {set i 0} {$i < $times} {incr i} { uplevel 1 $script }
    return [expr {max([cpuSeconds] - $t, 0.01) / $times}]
}
# Runs of each measurement per round, for about a quarter second each.
array set times {timelines 5 startLists 30 standings 4 participantLists 4}

tav_set_exec [file join $build sample large app]
check [tav_openDB [file join $build sample large db]] tav_openDB
check [tav_basicPopulate 0] tav_basicPopulate
check [tav_eventPopulate] tav_eventPopulate
set evtId [tav_eventGetEvtListId 0]
set segments {}
set categories {}
foreach catId [tav_getFallRecs CAT {CAT_ID} [list EVT_ID=$evtId] CAT_ID 0 0] {
    lappend categories $catId
    foreach scpId [tav_eventGetEvtCatScpIds $evtId $catId] { lappend segments $catId $scpId }
}
set items 0
foreach {catId scpId} $segments {
    incr items [llength [tav_eventGetEvtCatScpTimeline $evtId $catId $scpId 0 0]]
}
set kind [tav_eventGetEvtCatLevelGenderType $evtId [lindex $categories 0]]
set alike [lmap catId $categories {
    expr {[tav_eventGetEvtCatLevelGenderType $evtId $catId] eq $kind ? $catId : [continue]}
}]

proc timelines {} {
    global evtId segments
    foreach {catId scpId} $segments { tav_eventGetEvtCatScpTimeline $evtId $catId $scpId 0 0 }
}
proc startLists {} {
    global evtId segments
    foreach {catId scpId} $segments { tav_eventGetEvtCatScpStartList $evtId $catId $scpId }
}
proc standings {} {
    global evtId categories
    foreach catId $categories { tav_eventGetEvtCatStandings $evtId [list $catId] {} res 0 1 0 0 }
}
proc participantLists {} {
    global evtId categories
    foreach catId $categories { tav_eventGetEvtCatParNames $evtId $catId 0 0 }
}

foreach name {timelines startLists standings participantLists summary combined} { set runs($name) {} }
timelines; standings
for {set round 0} {$round < $repeats} {incr round} {
    progress "timelines and standings, round [expr {$round + 1}] of $repeats"
    set pairs {{timelines startLists} {standings participantLists}}
    foreach pair $pairs {
        if {$round % 2} { set pair [lreverse $pair] }
        foreach name $pair { lappend runs($name) [cpu $times($name) $name] }
    }
    lappend runs(summary) [cpu 5 { tav_eventGetEvtTlSummary $evtId }]
    lappend runs(combined) [cpu 10 { tav_eventGetEvtCatStandings $evtId $alike {} res 1 1 1 0 }]
}
tav_closeDB

set nSeg [expr {[llength $segments] / 2}]
set nCat [llength $categories]
proc rate {count name} { global runs; return [expr {$count / [median $runs($name)]}] }
puts ""
puts "timelines and standings, large generated competition ($nSeg segments, $items timeline items,\
      $nCat categories), CPU time, medians of $repeats rounds"
puts [format "  tav_eventGetEvtCatScpTimeline     %7.0f segments/s   reference tav_eventGetEvtCatScpStartList %7.0f segments/s   ratio %.2fx" \
          [rate $nSeg timelines] [rate $nSeg startLists] [expr {[rate $nSeg startLists] / [rate $nSeg timelines]}]]
puts [format "  tav_eventGetEvtCatStandings       %7.0f categories/s reference tav_eventGetEvtCatParNames     %7.0f categories/s ratio %.2fx" \
          [rate $nCat standings] [rate $nCat participantLists] [expr {[rate $nCat participantLists] / [rate $nCat standings]}]]
puts [format "  tav_eventGetEvtTlSummary          %7.3f s for the event" [median $runs(summary)]]
puts [format "  combined by person, %d categories %7.3f s" [llength $alike] [median $runs(combined)]]
