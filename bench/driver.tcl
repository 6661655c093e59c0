# The benchmark driver: measures the library side by side with its
# references in one run and prints a table of figures and ratios.
#
#   tclsh driver.tcl BUILD_DIR DB_FOLDER ?REPEATS?
#
# BUILD_DIR holds libtavC.so and bench/{floor_read,engine_bench};
# DB_FOLDER is a folder written by make_bench_db.  Every side-by-side pair is
# run REPEATS times (default 5) in alternation and the medians compared, with
# the files in the page cache.  Figures of the library alone come from
# engine_bench (C++) and from Tcl loops in this interpreter.  See
# doc/benchmarks.md for what each figure means.

lassign $argv buildDir dbFolder repeats
if {$dbFolder eq ""} {
    puts stderr "usage: tclsh driver.tcl BUILD_DIR DB_FOLDER ?REPEATS?"
    exit 2
}
if {$repeats eq ""} { set repeats 5 }
set buildDir [file normalize $buildDir]
set dbFolder [file normalize $dbFolder]
set benchDir [file dirname [file normalize [info script]]]
set python /usr/bin/python3

load [file join $buildDir libtavC.so]

# ---- helpers ---------------------------------------------------------------

proc median {values} {
    set sorted [lsort -real $values]
    return [lindex $sorted [expr {[llength $sorted] / 2}]]
}

# The value after `key` in a "key value key value" line of a helper program.
proc field {line key} {
    set i [lsearch -exact $line $key]
    if {$i < 0} { error "no $key in: $line" }
    return [lindex $line [expr {$i + 1}]]
}

proc wallSeconds {script} {
    set start [clock microseconds]
    uplevel 1 $script
    return [expr {([clock microseconds] - $start) / 1e6}]
}

# CPU time of this process (user + system) in seconds, from /proc.  Loops
# measured this way are not charged for other work on a shared machine.
proc cpuSeconds {} {
    set f [open /proc/self/stat]
    set stat [read $f]
    close $f
    # Fields after the command name, which is in parentheses.
    set rest [string range $stat [expr {[string last ")" $stat] + 2}] end]
    return [expr {([lindex $rest 11] + [lindex $rest 12]) / 100.0}]
}

proc cpuSecondsOf {script} {
    set start [cpuSeconds]
    uplevel 1 $script
    return [expr {[cpuSeconds] - $start}]
}

proc loadAverage {} {
    set f [open /proc/loadavg]
    set line [gets $f]
    close $f
    return [lindex $line 0]
}

# Waits up to two minutes for other work on the machine to settle (not at
# all when TAVC_BENCH_NO_WAIT is set).
proc waitForQuiet {} {
    if {![info exists ::env(TAVC_BENCH_NO_WAIT)]} {
        for {set i 0} {$i < 24 && [loadAverage] > 1.0} {incr i} { after 5000 }
    }
    return [loadAverage]
}

proc progress {text} { puts stderr "... $text" }

proc check {result what} {
    if {$result ne "1"} {
        puts stderr "$what failed: $result\n[tav_getErrStr]"
        exit 1
    }
}

# ---- the work ----------------------------------------------------------------

set files [lsort [glob -directory $dbFolder *.DBF *.CDX]]
set handles {}
foreach f $files {
    if {[file extension $f] eq ".DBF"} { lappend handles [file rootname [file tail $f]] }
}
set bytes 0
foreach f $files { incr bytes [file size $f] }

set quietLoad [waitForQuiet]
progress "load average $quietLoad; warming the page cache"
exec cat {*}$files > /dev/null
exec cat {*}$files > /dev/null

# On these virtual machines memory that was freed a while ago costs more to
# touch again than memory freed just now, so whichever side runs first in a
# round can be charged more.  Every side-by-side measurement therefore starts
# with a round that is not counted, and the order alternates between rounds.

proc openRound {counted first} {
    global files buildDir dbFolder open floor floorHuge
    set steps {
        {set f [field [exec $buildDir/bench/floor_read {*}$files] seconds]}
        {set o [wallSeconds { check [tav_openDB $dbFolder] tav_openDB }]; tav_closeDB}
        {set h [field [exec $buildDir/bench/floor_read --huge {*}$files] seconds]}
    }
    if {!$first} { set steps [lreverse $steps] }
    foreach step $steps { eval $step }
    if {$counted} { lappend open $o; lappend floor $f; lappend floorHuge $h }
}

# Opening: the library against the floor and against dbfread.
set open {}; set floor {}; set floorHuge {}; set dbfRaw {}; set dbfValues {}
openRound 0 1
for {set i 0} {$i < $repeats} {incr i} {
    progress "open, round [expr {$i + 1}] of $repeats"
    openRound 1 [expr {$i % 2 == 0}]
}
set pythonRepeats [expr {$repeats < 3 ? $repeats : 3}]
for {set i 0} {$i < $pythonRepeats} {incr i} {
    progress "dbfread, round [expr {$i + 1}] of $pythonRepeats"
    lappend dbfRaw [field [exec $python $benchDir/dbfread_iterate.py $dbFolder {*}$handles] seconds]
    lappend dbfValues [field [exec $python $benchDir/dbfread_iterate.py --values $dbFolder {*}$handles] seconds]
}

# The engine in C++.
progress "engine_bench"
set engine [exec $buildDir/bench/engine_bench $dbFolder]
set readFields [field $engine read_fields]
set readRecords [field $engine read_records]
set recnoLookups [field $engine recno_lookups]
set recnoFirst [field $engine recno_first]

# tav_getRec from a Tcl loop, over the person register.
check [tav_openDB $dbFolder] tav_openDB
set pctRecords [tav_getNR PCT]
proc getRecLoop {calls fields} {
    set n [tav_getNR PCT]
    for {set i 0} {$i < $calls} {incr i} { tav_getRec PCT [expr {$i % $n}] $fields 0 }
}
set fewFields {PCT_ID PCT_FNAME PCT_LNAME PCT_NAT}
set getRecFew {}; set getRecWhole {}
for {set i 0} {$i < 3} {incr i} {
    progress "tav_getRec loops, round [expr {$i + 1}] of 3"
    lappend getRecFew [expr {400000 / [cpuSecondsOf { getRecLoop 400000 $fewFields }]}]
    lappend getRecWhole [expr {200000 / [cpuSecondsOf { getRecLoop 200000 {} }]}]
}

# tav_updateRec of four fields whose values are checked (numbers, a date, a
# logical) beside four character fields, which are only cut to their width.
proc updateLoop {calls assignments} {
    set n [tav_getNR PCT]
    for {set i 0} {$i < $calls} {incr i} { tav_updateRec PCT [expr {$i % $n}] $assignments }
}
set checkedFields {PCT_NATID=12345 PCT_BDAY=20140105 PCT_ALREP=T PCT_CLBID=4321.5}
set textFields {PCT_NAT=CAN PCT_STAT=A PCT_GENDER=M PCT_REGNO=4321.5}
# A refused write returns at once, so each side is tried once first: the
# figures below are of writes that were made.
check [tav_updateRec PCT 0 $checkedFields] "tav_updateRec of checked fields"
check [tav_updateRec PCT 0 $textFields] "tav_updateRec of text fields"
set updateChecked {}; set updateText {}
for {set i 0} {$i < 3} {incr i} {
    progress "tav_updateRec loops, round [expr {$i + 1}] of 3"
    lappend updateChecked [expr {200000 / [cpuSecondsOf { updateLoop 200000 $checkedFields }]}]
    lappend updateText [expr {200000 / [cpuSecondsOf { updateLoop 200000 $textFields }]}]
}

# Saving every table crash-safely against cp + sync.  Each run writes into a
# new folder; the folders are removed and flushed in between.
set work [file join [file dirname $dbFolder] bench-save-work]
file delete -force $work

proc saveRound {counted first} {
    global files work saveAs copy
    set ours [file join $work tav]
    set theirs [file join $work cp]
    file mkdir $ours $theirs
    exec sync
    set steps {
        {set s [wallSeconds { check [tav_saveAs $ours] tav_saveAs }]; exec sync}
        {set c [wallSeconds { exec cp {*}$files $theirs; exec sync }]}
    }
    if {!$first} { set steps [lreverse $steps] }
    foreach step $steps { eval $step }
    file delete -force $ours $theirs
    exec sync
    if {$counted} { lappend saveAs $s; lappend copy $c }
}

set saveAs {}; set copy {}
saveRound 0 1
for {set i 0} {$i < $repeats} {incr i} {
    progress "save, round [expr {$i + 1}] of $repeats"
    saveRound 1 [expr {$i % 2 == 0}]
}
tav_closeDB
file delete -force $work

# ---- the table ---------------------------------------------------------------

set rows {}
proc row {measurement ours reference ratio target met} {
    lappend ::rows [list $measurement $ours $reference $ratio $target $met]
}
proc yesNo {met} { expr {$met ? "yes" : "NO"} }
proc secs {s} { format "%.3f s" $s }

set mOpen [median $open]
set mFloor [median $floor]
set mHuge [median $floorHuge]
set mRaw [median $dbfRaw]
set mValues [median $dbfValues]
set mSave [median $saveAs]
set mCopy [median $copy]
set mFew [median $getRecFew]
set mWhole [median $getRecWhole]
set mChecked [median $updateChecked]
set mText [median $updateText]

set r [expr {$mOpen / $mFloor}]
row "tav_openDB vs floor_read" [secs $mOpen] [secs $mFloor] [format "%.2fx" $r] "<= 1.2x" [yesNo [expr {$r <= 1.2}]]
set r [expr {$mOpen / $mHuge}]
row "tav_openDB vs floor_read --huge" [secs $mOpen] [secs $mHuge] [format "%.2fx" $r] "(info)" "-"
set r [expr {$mRaw / $mOpen}]
row "tav_openDB vs dbfread raw" [secs $mOpen] [secs $mRaw] [format "%.0fx faster" $r] ">= 5x faster" [yesNo [expr {$r >= 5}]]
set r [expr {$mValues / $mOpen}]
row "tav_openDB vs dbfread values" [secs $mOpen] [secs $mValues] [format "%.0fx faster" $r] ">= 5x faster" [yesNo [expr {$r >= 5}]]
row "read every field (fieldText)" [format "%.0f MB/s" $readFields] "-" "-" ">= 500 MB/s" [yesNo [expr {$readFields >= 500}]]
row "read every record (getSingleRecData)" [format "%.0f MB/s" $readRecords] "-" "-" ">= 500 MB/s" [yesNo [expr {$readRecords >= 500}]]
set r [expr {$mSave / $mCopy}]
row "tav_saveAs vs cp + sync" [secs $mSave] [secs $mCopy] [format "%.2fx" $r] "<= 1.5x" [yesNo [expr {$r <= 1.5}]]
row "getRecNo PCT_ID after the first" [format "%.2f M/s" [expr {$recnoLookups / 1e6}]] "-" "-" ">= 5 M/s" [yesNo [expr {$recnoLookups >= 5e6}]]
row "tav_getRec, 4 fields, Tcl loop" [format "%.0f k/s" [expr {$mFew / 1e3}]] "-" "-" ">= 300 k/s" [yesNo [expr {$mFew >= 3e5}]]
row "tav_getRec, whole record, Tcl loop" [format "%.0f k/s" [expr {$mWhole / 1e3}]] "-" "-" ">= 300 k/s" [yesNo [expr {$mWhole >= 3e5}]]
set r [expr {$mText / $mChecked}]
row "tav_updateRec, 4 checked fields vs 4 text fields" [format "%.0f k/s" [expr {$mChecked / 1e3}]] [format "%.0f k/s" [expr {$mText / 1e3}]] [format "%.2fx" $r] "<= 1.3x" [yesNo [expr {$r <= 1.3}]]

set header {measurement ours reference ratio target met?}
set widths {}
for {set c 0} {$c < 6} {incr c} {
    set w [string length [lindex $header $c]]
    foreach rw $rows { set w [expr {max($w, [string length [lindex $rw $c]])}] }
    lappend widths $w
}
proc printRow {cells widths} {
    set line ""
    foreach cell $cells w $widths { append line [format "%-*s  " $w $cell] }
    puts [string trimright $line]
}

puts ""
puts "tavC benchmarks, [clock format [clock seconds] -format {%Y-%m-%d %H:%M} -gmt 1] UTC,\
    [exec nproc] cores, load average [format %.2f $quietLoad] at start"
puts "database: [llength $handles] tables, [llength $files] files,\
    [format %.1f [expr {$bytes / 1e6}]] MB; PCT $pctRecords records;\
    medians of $repeats rounds (dbfread $pythonRepeats)"
puts ""
printRow $header $widths
printRow [lmap w $widths { string repeat - $w }] $widths
foreach rw $rows { printRow $rw $widths }
puts ""
puts "first getRecNo on PCT_ID (builds the cache): [format %.1f $recnoFirst] ms"
puts "runs (s): open [lmap v $open {format %.3f $v}]; floor [lmap v $floor {format %.3f $v}];\
    floor --huge [lmap v $floorHuge {format %.3f $v}]"
puts "runs (s): saveAs [lmap v $saveAs {format %.3f $v}]; cp+sync [lmap v $copy {format %.3f $v}]"
