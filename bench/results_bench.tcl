# The results of the whole large generated event as JSON (tavC::exportJson)
# and the score audit of all its performances (tavC::audit), each beside a
# reference measured in the same rounds: the publication of the event's
# results pages (tav_eventEvtHtml, format 0 with the judges' details), which
# reads the same protocols from the same tree.  Wall time and this process's
# CPU time (which other work on a shared machine does not inflate).
#
#   tclsh results_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so and sample/large/{db,app} (target sample_large).
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]
set evtId [openLargeEvent $build]

set folder [file join $build bench-results]
file delete -force $folder
file mkdir $folder
set exports {}
set audits {}
set sites {}
set cpus {export {} audit {} site {}}
set findings {}
# One round that is not counted, then the counted ones; the three measured
# in turn within each round, so a busy moment of the machine falls on all.
for {set i 0} {$i <= $repeats} {incr i} {
    set site [file join $folder site$i]
    file mkdir $site
    set c0 [cpuSeconds]
    set e [seconds {set path [tavC::exportJson $folder $evtId]}]
    set c1 [cpuSeconds]
    set a [seconds {set findings [tavC::audit $evtId]}]
    set c2 [cpuSeconds]
    set s [seconds {check [tav_eventEvtHtml $site $evtId 0 0 0 0 0 0 0 1 0 0 1 0 1 0 {}] site}]
    set c3 [cpuSeconds]
    if {$i > 0} {
        lappend exports $e; lappend audits $a; lappend sites $s
        dict lappend cpus export [expr {$c1 - $c0}]
        dict lappend cpus audit [expr {$c2 - $c1}]
        dict lappend cpus site [expr {$c3 - $c2}]
    }
    file delete -force $site
}
set bytes [file size $path]
set performances [tav_getNR PRF]
file delete -force $folder
tav_closeDB

set mExport [median $exports]
set mAudit [median $audits]
set mSite [median $sites]
set cExport [median [dict get $cpus export]]
set cAudit [median [dict get $cpus audit]]
set cSite [median [dict get $cpus site]]
puts ""
puts "results as JSON and the score audit, whole large event: $performances performances,\
    JSON [format %.1f [expr {$bytes / 1e6}]] MB, [llength $findings] differences, medians of $repeats rounds"
puts [format "  exportJson   %.3f s   %.0f performances/s   %.0f MB/s   (site / export %.1fx)" \
    $mExport [expr {$performances / $mExport}] [expr {$bytes / $mExport / 1e6}] [expr {$mSite / $mExport}]]
puts [format "  audit        %.3f s   %.0f performances/s   (site / audit %.1fx)" \
    $mAudit [expr {$performances / $mAudit}] [expr {$mSite / $mAudit}]]
puts [format "  results site %.3f s   (reference)" $mSite]
puts [format "  CPU time: export %.2f s, audit %.2f s, results site %.2f s (site / export %.1fx, site / audit %.1fx)" \
    $cExport $cAudit $cSite [expr {$cSite / $cExport}] [expr {$cSite / $cAudit}]]
puts "  targets: export and audit each faster than the site"
puts "  runs (s): export [lmap v $exports {format %.3f $v}]; audit [lmap v $audits {format %.3f $v}];\
    site [lmap v $sites {format %.3f $v}]"
