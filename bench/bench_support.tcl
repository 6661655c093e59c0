# Helpers shared by the benchmark scripts: timing by the wall clock and by
# this process's CPU time, the median of a few rounds, and a check of a
# command's "1" answer.  Each script sources this file after loading the
# library.

proc median {values} {
    set sorted [lsort -real $values]
    return [lindex $sorted [expr {[llength $sorted] / 2}]]
}

proc seconds {script} {
    set t [clock microseconds]
    uplevel 1 $script
    return [expr {([clock microseconds] - $t) / 1e6}]
}

# CPU time of this process (user + system) in seconds, from /proc.  Loops
# measured this way are not charged for other work on a shared machine.
proc cpuSeconds {} {
    return [procStatSeconds 11]
}

# CPU time (user + system) of the child processes this process has waited
# for, such as a program run by exec.
proc childCpuSeconds {} {
    return [procStatSeconds 13]
}

# The sum of two clock-tick fields of /proc/self/stat, counted from the
# state field after the command name, in seconds.
proc procStatSeconds {first} {
    set f [open /proc/self/stat]
    set stat [read $f]
    close $f
    # Fields after the command name, which is in parentheses.
    set rest [string range $stat [expr {[string last ")" $stat] + 2}] end]
    return [expr {([lindex $rest $first] + [lindex $rest [expr {$first + 1}]]) / 100.0}]
}

proc check {result what} {
    if {$result ne "1"} { error "$what failed: [tav_getErrStr]" }
}

proc progress {text} { puts stderr "... $text" }

# Opens the large generated event of BUILD_DIR (sample/large/{db,app}),
# builds the register and the event tree and returns the event's EVT_ID.
proc openLargeEvent {build} {
    tav_set_exec [file join $build sample large app]
    check [tav_openDB [file join $build sample large db]] tav_openDB
    check [tav_basicPopulate 0] tav_basicPopulate
    check [tav_eventPopulate] tav_eventPopulate
    return [tav_eventGetEvtListId 0]
}
