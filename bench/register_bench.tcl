# The register over the large generated competition (a register of 200,000
# entries): building it with every kind beside its floor (bench/register_bench:
# the same fields of the same records read, the sort names sorted and the
# identifiers entered into a hash table, in the same rounds, alternating),
# the finds in C++ beside the table engine's record-number lookup,
# tav_basicFindByName from a Tcl loop beside the cheapest command
# (tav_getNR), and the name calculation over the whole register in records
# per second.
#
#   tclsh register_bench.tcl BUILD_DIR ?REPEATS?
#
# BUILD_DIR holds libtavC.so, bench/register_bench and sample/large/{db,app}
# (target sample_large).
lassign $argv build repeats
if {$repeats eq ""} { set repeats 5 }
set build [file normalize $build]
set large [file join $build sample large db]
set app [file join $build sample large app]
load [file join $build libtavC.so]
source [file join [file dirname [info script]] bench_support.tcl]

tav_set_exec $app
progress "the build beside its floor, and finds, in C++"
set finds [exec [file join $build bench register_bench] $large $repeats]
proc figure {name} {
    global finds
    if {![regexp "$name (\\S+)" $finds -> value]} { error "register_bench printed no $name: $finds" }
    return $value
}

# Tcl loops: names of competitors spread over the list, found by name.
check [tav_openDB $large] tav_openDB
check [tav_basicPopulate 0] tav_basicPopulate
set count [llength [tav_basicGetPctNames 2]]
set names {}
for {set i 0} {$i < 1000} {incr i} {
    set id [tav_basicGetPctListId 2 [expr {($i * 7919) % $count}]]
    lappend names [tav_basicGetPctIdName $id]
}
proc loop {calls script} {
    set t [cpuSeconds]
    for {set i 0} {$i < $calls} {incr i} { uplevel 1 $script }
    return [expr {$calls / max([cpuSeconds] - $t, 0.01)}]
}
set findRates {}
set nrRates {}
for {set r 0} {$r < 3} {incr r} {
    progress "Tcl loops, round [expr {$r + 1}] of 3"
    lappend findRates [loop 500000 { tav_basicFindByName 2 [lindex $names [expr {$i % 1000}]] "" }]
    lappend nrRates [loop 500000 { tav_getNR PCT }]
}

# The name calculation: every entry of every kind through gPCT, as the
# application's person screen does it (read, recalculate); the reference is
# the same loop without the calculation.
set ids {}
foreach type {1 2 4 8 16} {
    set n [llength [tav_basicGetPctNames $type]]
    for {set i 0} {$i < $n} {incr i} { lappend ids [list $type [tav_basicGetPctListId $type $i]] }
}
proc nameLoop {ids withCalc} {
    global gPCT
    set t [cpuSeconds]
    foreach entry $ids {
        lassign $entry type id
        tav_basicGetFieldData $id {}
        set gPCT(PCTCLBNAME) ""
        if {$withCalc} { tav_basicCalcNames $type 1 0 1 }
    }
    return [expr {[llength $ids] / max([cpuSeconds] - $t, 0.01)}]
}
progress "name calculation over [llength $ids] entries"
set readOnly [nameLoop $ids 0]
set withCalc [nameLoop $ids 1]
tav_closeDB

puts ""
puts "register, large generated competition ($count competitors of [llength $ids] entries)"
puts [format "  build (CPU, C++)  %.3f s   floor %.3f s (reference; its reading alone %.3f s)   ratio %.2fx (target <= 1.5x)" \
          [figure populate_cpu_s] [figure floor_cpu_s] [figure floor_read_cpu_s] \
          [expr {[figure populate_cpu_s] / [figure floor_cpu_s]}]]
puts [format "  findByRegNo %.2f M/s   findByName %.2f M/s   CDbf::getRecNo %.2f M/s (reference)   (targets >= 1 M/s)" \
          [expr {[figure regno_finds_per_s] / 1e6}] [expr {[figure name_finds_per_s] / 1e6}] \
          [expr {[figure engine_lookups_per_s] / 1e6}]]
puts [format "  tav_basicFindByName from a Tcl loop  %.0f k calls/s (target >= 200 k)   tav_getNR %.0f k calls/s (reference)" \
          [expr {[median $findRates] / 1e3}] [expr {[median $nrRates] / 1e3}]]
puts [format "  tav_basicCalcNames over the register  %.0f records/s with the reading   %.0f records/s reading only (reference)" \
          $withCalc $readOnly]
