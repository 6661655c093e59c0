# Publishes the results site of a competition database.
#
#   tclsh tools/publish.tcl DATABASE OUTPUT ?options? ?--after COMMAND ARG...?
#
# Opens the database folder DATABASE, builds the register and the event
# tree, writes the results site of one event into the folder OUTPUT (created
# when missing) and prints where to open it and how many pages it wrote.
# With --watch it keeps running and publishes again whenever a table of the
# database changes on disk, as the scoring program saves during a
# competition.
#
# Options (the table `options` below is the list the tool reads):
#   --event ID        EVT_ID of the event (default: the first event)
#   --category ID     only this category's pages (the index lists all)
#   --format N        0 complete pages (default), 1 fragments, 2 customer
#                     pages with an ASP index
#   --details N       judges' details: 1 every started segment (default),
#                     -1 finished segments and not the live one, 0 none
#   --no-start-orders no starting order pages for segments not started
#   --sss             index with server-side existence tests (ASP)
#   --nation          nation column in the result tables
#   --tv-names        television names of categories and segments
#   --colors          colour category rows by category type
#   --local-copy      format 1: absolute style sheet; format 2: index.html
#   --live SCP_ID     the live segment (bold italic, refreshed pages)
#   --sixty FOLDER    list the "60 reports" of FOLDER on the index page
#   --awards SCP_IDS  also write the special achievement award page of these
#                     segments (a list such as "11,21"; "started": every
#                     segment of the event that has started)
#   --deviation T     also write the judges' deviation report deviation.csv
#                     (threshold T grade steps, every line and column)
#   --library FILE    the library (default: build/libtavC.so of this tree,
#                     libtavC.dll on Windows; without a build there, the
#                     installed one found by `package require tavC`)
#   --app FOLDER      the application folder with the abbreviation files
#   --watch           republish whenever a table changes
#   --interval MS     watch: how often the tables' file times are read
#                     (default 250)
#   --json            also write the results as JSON, event<EVT_ID>.json
#                     (doc/results-json.md)
#   --check           audit the stored scores before each publication and
#                     print every difference (category, segment, skater,
#                     field)
#   --strict          as --check, and publish nothing while there is one
#   --after COMMAND ARG...
#                     the upload step: every word after --after is a command
#                     and its arguments, run after each successful
#                     publication (for example rsync to the web server)
#
# Every option is checked before anything is written: a wrong one ends the
# tool with one line naming it and exit status 2.  A publication that fails
# ends it (without --watch) with one line and exit status 1.  Exit status 0:
# the site was published (and the upload step, if any, succeeded).
#
# Pages.  The library writes only pages whose bytes changed (a page whose
# file already holds the same page keeps its file time) and, within one
# process, regenerates only the categories whose data changed since its last
# publication; the tool prints how many pages were written and how many were
# unchanged.  The deviation report is replaced only when it changed, too.
#
# Award page and deviation report.  One that cannot be made yet (award
# segments not skated: "Empty spin map.") is skipped with one line naming
# why; the site is published all the same, and the next publication tries
# again.
#
# The upload step runs the command directly, never through a shell: the
# words are passed as they are.  Tcl's program runner reads words that begin
# with "<", ">", "|" or "2>", and a lone "&", as redirections, so such words
# are refused.  It runs only after a publication that succeeded, with the
# tool's own output streams; its exit status is printed.
#
# Watching reads the file sizes and times of the database folder's tables.
# A change is published once they have held still for one interval, so the
# site follows a save within about a second.  A database caught half saved
# (it cannot be read, or its tables move while it is being read) is not
# published; the watcher waits for the next change of the tables (file times
# count whole seconds, so it also reads once more after the second in which
# it last read).  It never republishes while nothing changes.  Every page is
# put in place by a rename, so a browser never sees a half-written page
# (stopping the watcher in the middle of a publication can leave a temporary
# "*.tmp-*" file beside a page, never a partial page).

# ---- Options ----------------------------------------------------------------

# One row per option: the option, the key in `opt`, the default, the
# argument ("" for a flag, which sets the key to the opposite of its
# default; "COMMAND ARG..." takes every word after it) and the check of the
# value (a command prefix given the value; it returns what is wrong, or "").
set options {
    --event           event       {}   ID       {wholeNumber 1}
    --category        category    0    ID       {wholeNumber 0}
    --format          format      0    0|1|2    {oneOf 0 1 2}
    --details         details     1    1|-1|0   {oneOf 1 -1 0}
    --no-start-orders startOrders 1    {}       {}
    --sss             sss         0    {}       {}
    --nation          nation      0    {}       {}
    --tv-names        tvNames     0    {}       {}
    --colors          colors      0    {}       {}
    --local-copy      localCopy   0    {}       {}
    --live            live        0    SCP_ID   {wholeNumber 0}
    --sixty           sixty       {}   FOLDER   {existingFolder}
    --awards          awards      {}   SCP_IDS  {segmentList}
    --deviation       deviation   {}   T        {wholeNumber 0}
    --library         library     {}   FILE     {existingFile}
    --app             app         {}   FOLDER   {existingFolder}
    --watch           watch       0    {}       {}
    --interval        interval    250  MS       {wholeNumber 1}
    --json            json        0    {}       {}
    --check           check       0    {}       {}
    --strict          strict      0    {}       {}
    --after           after       {}   {COMMAND ARG...} {uploadCommand}
}

# Ends the tool with one line and the exit status.
proc quit {status message} {
    puts stderr "publish: $message"
    exit $status
}

proc usage {} {
    set words {DATABASE OUTPUT}
    foreach {name key default argument check} $::options {
        lappend words [string trim "?$name $argument" " "]?
    }
    puts stderr "usage: tclsh tools/publish.tcl [join $words]"
    exit 2
}

proc wholeNumber {least value} {
    if {![string is integer -strict $value] || $value < $least} {
        return "needs a whole number of at least $least"
    }
    return ""
}

proc oneOf {args} {
    set value [lindex $args end]
    set allowed [lrange $args 0 end-1]
    if {$value ni $allowed} { return "must be one of [join $allowed {, }]" }
    return ""
}

proc existingFolder {value} {
    if {![file isdirectory $value]} { return "names no folder: $value" }
    return ""
}

proc existingFile {value} {
    if {![file isfile $value]} { return "names no file: $value" }
    return ""
}

proc segmentList {value} {
    foreach id [split $value ", "] {
        if {$id ne "" && $id ne "started" && ![string is integer -strict $id]} {
            return "needs segment identifiers or \"started\""
        }
    }
    return ""
}

proc uploadCommand {words} {
    if {[llength $words] == 0} { return "needs a command" }
    foreach word $words {
        if {[regexp {^(<|>|\||2>)} $word] || $word eq "&"} {
            return "cannot pass the word \"$word\" (it would be read as a redirection)"
        }
    }
    return ""
}

proc parseOptions {argv} {
    global opt options
    if {[llength $argv] < 2} usage
    set tree [file dirname [file dirname [file normalize [info script]]]]
    foreach {name key default argument check} $options { set opt($key) $default }
    set opt(library) [file join $tree build libtavC[info sharedlibextension]]
    set opt(database) [file normalize [lindex $argv 0]]
    set opt(output) [file normalize [lindex $argv 1]]
    set rest [lrange $argv 2 end]
    set names [lmap {name key default argument check} $options {set name}]
    while {[llength $rest] > 0} {
        set rest [lassign $rest word]
        set at [lsearch -exact $names $word]
        if {$at < 0} { quit 2 "unknown option $word" }
        lassign [lrange $options [expr {5 * $at}] [expr {5 * $at + 4}]] \
            name key default argument check
        if {$argument eq ""} {
            set opt($key) [expr {!$default}]
        } elseif {$argument eq "COMMAND ARG..."} {
            set opt($key) $rest
            set rest {}
        } elseif {[llength $rest] == 0 || [lindex $rest 0] in $names} {
            quit 2 "$name needs a value ($argument)"
        } else {
            set rest [lassign $rest opt($key)]
        }
        if {$check ne ""} {
            set wrong [{*}$check $opt($key)]
            if {$wrong ne ""} { quit 2 "$name $wrong" }
        }
    }
    set opt(awards) [lsearch -all -inline -not -exact [split $opt(awards) ", "] ""]
    checkFolders
}

# The database folder must be there, and the output folder must be one or be
# possible to make (its nearest existing parent a writable folder).
proc checkFolders {} {
    global opt
    if {![file isdirectory $opt(database)]} {
        quit 2 "no database folder: $opt(database)"
    }
    set folder $opt(output)
    set missing ""
    while {![file exists $folder]} {
        set parent [file dirname $folder]
        if {$parent eq $folder} break
        set missing $folder
        set folder $parent
    }
    if {![file isdirectory $folder]} {
        quit 2 "cannot make the output folder $opt(output): $folder is not a folder"
    }
    if {![file writable $folder]} {
        quit 2 "cannot write into the output folder: $folder is not writable"
    }
    # The first folder to be made is made and removed again, so that one
    # that cannot be made (a system folder, a disk that refuses it) is told
    # here in the same words, and nothing is left when a later check fails.
    if {$missing ne "" && [catch {file mkdir $missing; file delete $missing} message]} {
        quit 2 "cannot make the output folder $opt(output): [string trim [lindex [split $message :] end]]"
    }
    # Without --library and without a build in this tree, the installed
    # library, as on a machine that has only the tools (opt(library) "").
    if {![file isfile $opt(library)]} {
        if {[catch {package require tavC}]} {
            quit 2 "no library at $opt(library) (build first, or give --library)"
        }
        set opt(library) ""
    }
}

# ---- The database -----------------------------------------------------------

# The first line of a library message, without the "Error: " of error
# results (the call trace follows on the next lines).
proc firstLine {text} {
    set line [lindex [split [string trim $text] \n] 0]
    regsub {^Error: } $line {} line
    return $line
}

# Opens the database and builds the register and the tree.  Returns "" or
# the reason it could not.
proc openDatabase {} {
    global opt
    catch {tav_closeDB}
    if {$opt(app) ne ""} { tav_set_exec $opt(app) }
    if {[tav_openDB $opt(database)] ne "1"} {
        # Table messages start with the table's code ("PCT_readHeader: ...").
        set message [firstLine [tav_getErrStr]]
        if {[regexp {(?:^|: )([A-Z][A-Z0-9]*)_[A-Za-z]+: (.*)$} $message -> code rest]} {
            return "cannot read [file join $opt(database) $code.DBF]: $rest"
        }
        return "cannot open $opt(database): $message"
    }
    foreach command {{tav_basicPopulate 0} tav_eventPopulate} {
        if {[catch {{*}$command} message]} { return [firstLine $message] }
    }
    return ""
}

# The identifiers at positions 0, 1, ... of one of the tree's lists.
proc listIds {command args} {
    set ids {}
    for {set i 0} {![catch {{*}$command {*}$args $i} id]} {incr i} { lappend ids $id }
    return $ids
}

proc eventId {} {
    global opt
    if {$opt(event) ne ""} { return $opt(event) }
    return [lindex [listIds tav_eventGetEvtListId] 0]
}

# The options that name something in the database: the event, the
# category, the live and awarded segments.  Returns "" or what is wrong.
proc checkNames {} {
    global opt
    set evtId [eventId]
    if {$evtId eq ""} { return "no event in the database" }
    if {$evtId ni [listIds tav_eventGetEvtListId]} { return "no event $evtId in the database" }
    set catIds [listIds tav_eventGetEvtCatListId $evtId]
    if {$opt(category) != 0 && $opt(category) ni $catIds} {
        return "--category: no category $opt(category) in event $evtId"
    }
    set scpIds {}
    foreach catId $catIds { lappend scpIds {*}[tav_eventGetEvtCatScpIds $evtId $catId] }
    if {$opt(live) != 0 && $opt(live) ni $scpIds} {
        return "--live: no segment $opt(live) in event $evtId"
    }
    foreach id $opt(awards) {
        if {$id ne "started" && $id ni $scpIds} {
            return "--awards: no segment $id in event $evtId"
        }
    }
    return ""
}

# ---- Publication ------------------------------------------------------------

# Results as JSON and the score audit (--json, --check, --strict).

# The score audit before a publication: prints every difference (a watcher
# prints the same findings once); with --strict a difference refuses the
# publication.  Returns "" or the reason.
proc checkScores {} {
    global opt lastFindings
    if {!$opt(check) && !$opt(strict)} { return "" }
    if {[catch {tavC::audit [eventId]} findings]} { return "score audit failed: [firstLine $findings]" }
    if {![info exists lastFindings] || $findings ne $lastFindings} {
        foreach finding $findings {
            lassign $finding category segment skater field stored expected
            puts "check: $category / $segment / $skater: $field is $stored, the marks give $expected"
        }
        if {[llength $findings] == 0} { puts "check: the stored scores add up" }
        flush stdout
    }
    set lastFindings $findings
    if {$opt(strict) && [llength $findings] > 0} {
        return "not published: [llength $findings] score(s) differ from what the marks give (--strict)"
    }
    return ""
}

# The results as JSON, when asked for.  Returns "" or the reason.
proc writeResultsJson {evtId} {
    global opt
    if {$opt(json) && [catch {tavC::exportJson $opt(output) $evtId} message]} {
        return "results JSON not written: [firstLine $message]"
    }
    return ""
}

# Writes the site from the open database.  Returns "" or the reason; adds
# the pages to the counts and a line for each report skipped to `notes`.
proc writeSite {countsVar notesVar} {
    global opt gTAV
    upvar $countsVar counts $notesVar notes
    set problem [checkScores]
    if {$problem ne ""} { return $problem }
    if {[catch {file mkdir $opt(output)} message]} { return $message }
    set evtId [eventId]
    if {[catch {tav_eventEvtHtml $opt(output) $evtId $opt(category) 0 $opt(sss) 0 0 0 \
            $opt(colors) $opt(nation) $opt(format) $opt(localCopy) $opt(startOrders) \
            $opt(tvNames) $opt(details) $opt(live) $opt(sixty)} result] || $result ne "1"} {
        return "not published: [reason [tav_getErrStr]]"
    }
    addCounts counts
    set problem [writeAwards $evtId]
    if {$problem eq ""} { addCounts counts } else { lappend notes "award page skipped: $problem" }
    set problem [writeDeviation $evtId counts]
    if {$problem ne ""} { lappend notes "deviation report skipped: $problem" }
    return [writeResultsJson $evtId]
}

# The reason in a library message, without the operation that reported it
# ("CHtml.saa: Empty spin map." says "Empty spin map.").
proc reason {message} {
    regsub {^[A-Za-z_]+\.[A-Za-z]+: } [firstLine $message] {} message
    return $message
}

proc addCounts {countsVar} {
    global gTAV
    upvar $countsVar counts
    lset counts 0 [expr {[lindex $counts 0] + $gTAV(site,written)}]
    lset counts 1 [expr {[lindex $counts 1] + $gTAV(site,unchanged)}]
}

# The segments of the event that have started.
proc startedSegments {evtId} {
    set ids {}
    foreach catId [listIds tav_eventGetEvtCatListId $evtId] {
        foreach scpId [tav_eventGetEvtCatScpIds $evtId $catId] {
            if {[string is true -strict [tav_eventHasEvtCatScpStarted $evtId $catId $scpId]]} {
                lappend ids $scpId
            }
        }
    }
    return $ids
}

# The award page, when asked for.  Returns "" or why it was not written.
proc writeAwards {evtId} {
    global opt gTAV
    array set gTAV {site,written 0 site,unchanged 0}
    set scpIds $opt(awards)
    if {"started" in $scpIds} { set scpIds [startedSegments $evtId] }
    if {[llength $scpIds] == 0} {
        if {[llength $opt(awards)] == 0} { return "" }
        return "no segment has started"
    }
    if {[catch {tav_eventEvtSaa $opt(output) $evtId $scpIds} result] || $result ne "1"} {
        return [reason [tav_getErrStr]]
    }
    return ""
}

# The deviation report, when asked for: written beside the old one and put
# in its place only when it changed.  Returns "" or why it was not written.
proc writeDeviation {evtId countsVar} {
    global opt
    upvar $countsVar counts
    if {$opt(deviation) eq ""} { return "" }
    set path [file join $opt(output) deviation.csv]
    set fresh $path.new
    if {[catch {tav_eventEvtDeviation $fresh $evtId {} $opt(deviation) 1 1 1 1 1 1 1} result] ||
            $result ne "1"} {
        catch {file delete $fresh}
        return [reason [tav_getErrStr]]
    }
    if {[file exists $path] && [fileBytes $path] eq [fileBytes $fresh]} {
        file delete $fresh
        lset counts 1 [expr {[lindex $counts 1] + 1}]
    } else {
        file rename -force $fresh $path
        lset counts 0 [expr {[lindex $counts 0] + 1}]
    }
    return ""
}

proc fileBytes {path} {
    set f [open $path rb]
    set bytes [read $f]
    close $f
    return $bytes
}

proc indexPage {} {
    global opt
    foreach name {index.html index.asp} {
        set page [file join $opt(output) $name]
        if {[file exists $page]} { return $page }
    }
    return $opt(output)
}

# The file: address of a page: "file:///" and the absolute path with forward
# slashes (a drive letter after the third slash on Windows), every byte of
# its UTF-8 form outside the unreserved characters and "/" ":" written as %XX.
proc fileUrl {path} {
    set path [string trimleft [file normalize $path] /]
    set url file:///
    foreach byte [split [encoding convertto utf-8 $path] ""] {
        if {[string match {[-A-Za-z0-9._~/:]} $byte]} {
            append url $byte
        } else {
            append url [format %%%02X [scan $byte %c]]
        }
    }
    return $url
}

# One publication: open, check the names, write.  Returns "" or the reason.
proc publishOnce {countsVar notesVar} {
    upvar $countsVar counts $notesVar notes
    set counts {0 0}
    set notes {}
    set problem [openDatabase]
    if {$problem eq ""} { set problem [checkNames] }
    if {$problem eq ""} { set problem [writeSite counts notes] }
    return $problem
}

# Runs the upload step.  Returns "" or what went wrong; prints its status.
proc upload {} {
    global opt
    if {[llength $opt(after)] == 0} { return "" }
    flush stdout
    if {![catch {exec -ignorestderr -- {*}$opt(after) >@ stdout 2>@ stderr}]} {
        puts "[stamp] upload step [lindex $opt(after) 0]: exit status 0"
        return ""
    }
    lassign $::errorCode kind pid code
    switch -- $kind {
        CHILDSTATUS { set what "exit status $code" }
        CHILDKILLED { set what "killed by $code" }
        default { set what [firstLine $::errorInfo] }
    }
    return "upload step [lindex $opt(after) 0]: $what"
}

proc stamp {} { return [clock format [clock seconds] -format %H:%M:%S] }

proc countsText {counts} {
    lassign $counts written unchanged
    return "$written pages written, $unchanged unchanged"
}

# ---- Watching ---------------------------------------------------------------

# Name, size and modification time of each table file of the database
# folder.
proc tableFiles {} {
    global opt
    set state {}
    foreach path [lsort [glob -nocomplain -directory $opt(database) -types f *]] {
        if {![string match -nocase *.dbf $path] || [catch {file stat $path s}]} continue
        lappend state [file tail $path] $s(size) $s(mtime)
    }
    return $state
}

proc latestTime {state} {
    set latest 0
    foreach {name size time} $state { if {$time > $latest} { set latest $time } }
    return $latest
}

# Waits until the tables differ from `seen` and then hold still for one
# interval.  File times count whole seconds: when the tables were read
# within the second of their latest time, a save later in that second would
# keep them, so the wait also ends once that second has passed.
proc waitForChange {seen readAt} {
    global opt
    set recheck [expr {[latestTime $seen] >= $readAt}]
    while {1} {
        after $opt(interval)
        set now [tableFiles]
        if {$now ne $seen} {
            after $opt(interval)
            if {[tableFiles] eq $now} return
        } elseif {$recheck && [clock seconds] > $readAt} {
            return
        }
    }
}

proc watch {} {
    set lastProblem ""
    set uploaded 0
    while {1} {
        set before [tableFiles]
        set readAt [clock seconds]
        set problem [publishOnce counts notes]
        if {$problem eq "" && [tableFiles] ne $before} {
            set problem "the database changed while it was being read"
        }
        if {$problem ne ""} {
            if {$problem ne $lastProblem} {
                puts "[stamp] waiting for a complete database: $problem"
                set lastProblem $problem
            }
        } else {
            set lastProblem ""
            foreach note $notes { puts "[stamp] $note" }
            puts "[stamp] published [indexPage] ([countsText $counts])"
            # A publication that wrote nothing has nothing new to upload,
            # unless the last upload failed.
            if {[lindex $counts 0] > 0 || !$uploaded} {
                set failed [upload]
                if {$failed ne ""} { puts "[stamp] $failed" }
                set uploaded [expr {$failed eq ""}]
            }
        }
        flush stdout
        waitForChange $before $readAt
    }
}

# ---- Main -------------------------------------------------------------------

proc main {argv} {
    global opt
    parseOptions $argv
    if {$opt(library) ne "" && [catch {load $opt(library)} message]} {
        quit 1 "cannot load the library $opt(library): [firstLine $message]"
    }
    # The names are checked on their own first, so that a wrong one is an
    # option error (status 2) rather than a failed publication.  A watcher
    # that finds the database half saved checks them at each publication.
    set problem [openDatabase]
    if {$problem eq ""} {
        set wrong [checkNames]
        if {$wrong ne ""} { quit 2 $wrong }
    }
    if {$opt(watch)} {
        puts "Publishing $opt(database) into $opt(output) whenever it changes (Ctrl-C stops)"
        flush stdout
        watch
    }
    if {$problem ne ""} { quit 1 $problem }
    set counts {0 0}
    set notes {}
    set problem [writeSite counts notes]
    if {$problem ne ""} { quit 1 $problem }
    foreach note $notes { puts stderr "publish: $note" }
    puts "Published the results site: open [fileUrl [indexPage]]"
    puts [countsText $counts]
    set failed [upload]
    if {$failed ne ""} { quit 1 $failed }
}

if {[catch {main $argv} message]} {
    # Anything unforeseen still ends in one line, not a Tcl stack trace.
    quit 1 [firstLine $message]
}
exit 0
