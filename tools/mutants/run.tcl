# Plants faults in a copy of the tree, one at a time, and tells which ones
# the test suite catches.
#
#   tclsh tools/mutants/run.tcl ?--list FILE? ?--only NAME,...? ?--scratch DIR?
#                               ?--jobs N? ?--timeout S? ?--no-baseline? ?--check?
#
# Each mutant of the list (tools/mutants/mutants.txt by default) names a
# file, a text that occurs exactly once in it, the replacement and the
# fault it models.  The runner keeps a copy of this tree in the scratch
# folder (default build-mutants/ of this tree; the working tree is never
# changed), builds it once, checks that the suite passes there, and then
# for each mutant: writes the replacement into the copy, rebuilds
# incrementally, runs the whole ctest suite (stopping at the first failing
# test), and puts the file back.  A mutant is caught when a test fails (or
# the build's own run of the sample generator does), missed when the suite
# passes, and an error when its text is not found exactly once or the
# changed code does not compile; errors count against the score like missed
# mutants.
#
# --check only verifies that every mutant's text occurs exactly once in this
# tree (after the sources changed) and builds nothing.
#
# Prints one line per mutant and the score; exits 0 when every mutant was
# planted (none in error), 1 otherwise, 2 on a usage error.

proc fail {message {code 1}} {
    puts stderr "mutants: $message"
    exit $code
}

proc usage {} {
    fail "usage: tclsh tools/mutants/run.tcl ?--list FILE? ?--only NAME,...?\
        ?--scratch DIR? ?--jobs N? ?--timeout S? ?--no-baseline? ?--check?" 2
}

proc parseOptions {argv} {
    global opt
    set tree [file dirname [file dirname [file dirname [file normalize [info script]]]]]
    array set opt [list tree $tree list [file join $tree tools mutants mutants.txt] only {} \
        scratch [file join $tree build-mutants] jobs 2 timeout 300 baseline 1 check 0]
    set valued {--list list --only only --scratch scratch --jobs jobs --timeout timeout}
    while {[llength $argv] > 0} {
        set argv [lassign $argv word]
        if {[dict exists $valued $word]} {
            if {[llength $argv] == 0} usage
            set argv [lassign $argv opt([dict get $valued $word])]
        } elseif {$word eq "--no-baseline"} {
            set opt(baseline) 0
        } elseif {$word eq "--check"} {
            set opt(check) 1
        } else {
            puts stderr "mutants: unknown option $word"
            usage
        }
    }
    foreach name {jobs timeout} {
        if {![string is integer -strict $opt($name)] || $opt($name) < 1} {
            fail "--$name needs a positive whole number" 2
        }
    }
    set opt(list) [file normalize $opt(list)]
    set opt(scratch) [file normalize $opt(scratch)]
    set opt(only) [lsearch -all -inline -not -exact [split $opt(only) ", "] ""]
    # The copy keeps the tree's layout below one folder, so that the build
    # folder sits at the same place relative to the sources as build/ does
    # and the compiler cache is shared.
    set opt(copy) [file join $opt(scratch) tree]
    set opt(build) [file join $opt(copy) build]
}

# The mutant list: blocks of "key: value" lines separated by blank lines;
# "#" starts a comment line.  Keys: mutant, file, find, replace, fault.
# In find and replace, "\n" stands for a line break and "\\" for a
# backslash.
proc readList {path} {
    if {[catch {open $path r} channel]} { fail "cannot read the mutant list $path" }
    set lines [split [read $channel] "\n"]
    close $channel
    set mutants {}
    set current {}
    set number 0
    foreach line [concat $lines [list ""]] {
        incr number
        if {[string match "#*" $line]} continue
        if {[string trim $line] eq ""} {
            if {[dict size $current] > 0} {
                foreach key {mutant file find replace fault} {
                    if {![dict exists $current $key]} {
                        fail "$path: the mutant ending before line $number has no \"$key:\""
                    }
                }
                lappend mutants $current
                set current {}
            }
            continue
        }
        if {![regexp {^(mutant|file|find|replace|fault): ?(.*)$} $line -> key value]} {
            fail "$path:$number: expected \"key: value\" (mutant, file, find, replace, fault)"
        }
        if {$key in {find replace}} {
            set value [string map {\\n \n \\\\ \\} $value]
        }
        dict set current $key $value
    }
    set names [dict create]
    foreach mutant $mutants {
        set name [dict get $mutant mutant]
        if {[dict exists $names $name]} { fail "$path: mutant $name is listed twice" }
        dict set names $name 1
    }
    return $mutants
}

proc readFile {path} {
    set channel [open $path rb]
    set data [read $channel]
    close $channel
    return $data
}

proc writeFile {path data} {
    set channel [open $path wb]
    puts -nonewline $channel $data
    close $channel
}

# Brings the copy up to date with the tree's files (tracked and not
# ignored), writing only the files whose content differs so that the
# incremental build recompiles only what changed.
proc syncCopy {} {
    global opt
    if {[catch {exec git -C $opt(tree) ls-files -z --cached --others --exclude-standard} listing]} {
        fail "cannot list the files of $opt(tree): $listing"
    }
    set written 0
    foreach relative [split [string trimright $listing "\0"] "\0"] {
        set source [file join $opt(tree) $relative]
        if {![file isfile $source]} continue   ;# deleted but not yet committed
        set target [file join $opt(copy) $relative]
        set data [readFile $source]
        if {[file exists $target] && [readFile $target] eq $data} continue
        file mkdir [file dirname $target]
        writeFile $target $data
        file attributes $target -permissions [file attributes $source -permissions]
        incr written
    }
    return $written
}

# Runs a command with its output in a log file; returns the exit status.
proc runLogged {log args} {
    set status [catch {exec {*}$args >& $log} message options]
    if {!$status} { return 0 }
    set code [dict get $options -errorcode]
    if {[lindex $code 0] eq "CHILDSTATUS"} { return [lindex $code 2] }
    return 1
}

# Builds the copy: everything, or only the given targets.
proc build {log {targets {}}} {
    global opt
    if {![file exists [file join $opt(build) CMakeCache.txt]]} {
        # lld links the many test programs again after each mutant much
        # faster than the default linker.
        set linker {}
        if {[auto_execok ld.lld] ne ""} {
            set linker [list -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld \
                -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld]
        }
        set status [runLogged $log cmake -S $opt(copy) -B $opt(build) \
            -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache {*}$linker]
        if {$status != 0} { return $status }
    }
    set only {}
    if {[llength $targets] > 0} { set only [list --target {*}$targets] }
    return [runLogged $log cmake --build $opt(build) -j$opt(jobs) {*}$only]
}

# Runs the suite (or the tests selected by ctest's extra arguments),
# stopping at the first failing test.  Returns "" when it passes, else the
# name of a failing test.
proc runSuite {log args} {
    global opt
    set status [runLogged $log ctest --test-dir $opt(build) -j$opt(jobs) --stop-on-failure \
        --timeout $opt(timeout) {*}$args]
    if {$status == 0} { return "" }
    foreach line [split [readFile $log] "\n"] {
        # A skipped test is marked like a failed one; it caught nothing.
        if {[regexp {Test +#\d+: (\S+) [.*]+\*+(\w+)} $line -> name how] && $how ne "Skipped"} {
            return "$name ($how)"
        }
    }
    return "ctest exit $status"
}

# The tests nearest to a file: the units, Tcl and Python tests in the
# tests/ folder of the file's layer (the results-site tests for
# tools/publish.tcl; every Tcl and Python test for the command layer, which
# they all go through).  Returns the build targets they need (the library,
# the sample database, the units) and a ctest name pattern for them.
proc nearTests {file} {
    global opt
    if {![regexp {^src/([a-z]+)/} $file -> folder]} { set folder report }
    set units {}
    foreach source [glob -nocomplain -directory [file join $opt(copy) tests $folder] *_test.cc] {
        lappend units [file rootname [file tail $source]]
    }
    set pattern "^(tcl|py)/$folder/"
    if {$folder eq "command"} { set pattern "^(tcl|py)/" }
    if {[llength $units] > 0} { append pattern "|^([join $units |])\\." }
    return [list [concat tavC sample_db $units] $pattern]
}

# A build that failed after the libraries compiled failed in a step that
# runs the changed code (the sample generator writes and reads back the
# sample database): the mutant is caught there.  Returns "build: LOG" when
# the changed code does not compile, else what caught it.
proc buildFailure {log} {
    global opt
    if {[runLogged $log.libraries cmake --build $opt(build) -j$opt(jobs) \
            --target tavcore tavtcl] != 0} {
        return "build: $log"
    }
    set step "a build step"
    foreach line [split [readFile $log] "\n"] {
        if {[regexp {^tavc_sample: (.*)$} $line -> message]} { set step "the sample generator ($message)" }
    }
    return $step
}

# Builds and runs the nearest tests first: most mutants are caught there,
# and only what they need is linked again.  When they pass, the whole tree
# is built and the rest of the suite runs.  Returns "" when the whole suite
# passes, the failing test, or "build: LOG" when the mutant does not build.
proc runMutant {mutant log} {
    lassign [nearTests [dict get $mutant file]] targets near
    if {[build $log $targets] != 0} { return [buildFailure $log] }
    set failing [runSuite $log.near -R $near]
    if {$failing ne ""} { return $failing }
    if {[build $log] != 0} { return [buildFailure $log] }
    return [runSuite $log.rest -E $near]
}

# Where the mutant's text starts in the file under `root`; sets `data` to
# the file's content.  An error when the file is missing or the text does
# not occur exactly once.
proc locate {mutant root dataVar} {
    upvar $dataVar data
    set path [file join $root [dict get $mutant file]]
    if {![file isfile $path]} { return -code error "no file [dict get $mutant file]" }
    set data [readFile $path]
    set find [dict get $mutant find]
    set count [llength [regexp -all -inline -indices -- "***=$find" $data]]
    if {$count != 1} {
        return -code error "text found $count times in [dict get $mutant file]: $find"
    }
    return [string first $find $data]
}

proc plant {mutant} {
    global opt
    if {[catch {locate $mutant $opt(copy) original} at]} { return [list error $at] }
    set path [file join $opt(copy) [dict get $mutant file]]
    set find [dict get $mutant find]
    set mutated [string replace $original $at [expr {$at + [string length $find] - 1}] \
        [dict get $mutant replace]]
    writeFile $path $mutated
    set log [file join $opt(scratch) logs [dict get $mutant mutant].log]
    try {
        set failing [runMutant $mutant $log]
        if {$failing eq ""} { return [list missed ""] }
        if {[string match "build: *" $failing]} {
            return [list error "does not build (see $log)"]
        }
        return [list caught $failing]
    } finally {
        writeFile $path $original
    }
}

parseOptions $argv
set mutants [readList $opt(list)]
if {[llength $opt(only)] > 0} {
    set chosen {}
    foreach name $opt(only) {
        set found {}
        foreach mutant $mutants {
            if {[dict get $mutant mutant] eq $name} { set found $mutant }
        }
        if {$found eq ""} { fail "no mutant named $name in $opt(list)" 2 }
        lappend chosen $found
    }
    set mutants $chosen
}
if {$opt(check)} {
    set errors 0
    foreach mutant $mutants {
        if {[catch {locate $mutant $opt(tree) data} message]} {
            puts "ERROR  [dict get $mutant mutant]: $message"
            incr errors
        }
    }
    puts "[llength $mutants] mutants, $errors with a text not found exactly once"
    exit [expr {$errors > 0 ? 1 : 0}]
}
file mkdir [file join $opt(scratch) logs]
set started [clock seconds]
set written [syncCopy]
puts "copy: $opt(copy) ($written files brought up to date)"
set log [file join $opt(scratch) logs baseline.log]
if {[build $log] != 0} { fail "the unchanged copy does not build (see $log)" }
if {$opt(baseline)} {
    set failing [runSuite $log]
    if {$failing ne ""} { fail "the suite fails without any mutant: $failing (see $log)" }
    puts "baseline: the suite passes ([expr {[clock seconds] - $started}] s)"
}

array set count {caught 0 missed 0 error 0}
set missed {}
set number 0
foreach mutant $mutants {
    incr number
    set at [clock seconds]
    lassign [plant $mutant] outcome detail
    incr count($outcome)
    set name [dict get $mutant mutant]
    set seconds [expr {[clock seconds] - $at}]
    switch $outcome {
        caught { puts [format "%3d caught %-34s %4d s  by %s" $number $name $seconds $detail] }
        missed {
            puts [format "%3d MISSED %-34s %4d s  %s" $number $name $seconds [dict get $mutant fault]]
            lappend missed $name
        }
        error { puts [format "%3d ERROR  %-34s %4d s  %s" $number $name $seconds $detail] }
    }
    flush stdout
}
# The last mutant's file was put back; build once more so that the copy's
# build matches its sources for the next run.
build [file join $opt(scratch) logs restore.log]

set total [llength $mutants]
set score [expr {$total == 0 ? 0.0 : 100.0 * $count(caught) / $total}]
puts [format "score: %d of %d caught (%.1f %%), %d missed, %d errors, %d s" \
    $count(caught) $total $score $count(missed) $count(error) [expr {[clock seconds] - $started}]]
if {[llength $missed] > 0} { puts "missed: [join $missed {, }]" }
exit [expr {$count(error) > 0 ? 1 : 0}]
