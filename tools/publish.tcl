# Publishes the results site of a competition database.
#
#   tclsh tools/publish.tcl DATABASE OUTPUT ?options?
#
# Opens the database folder DATABASE, builds the register and the event
# tree, writes the results site of one event into the folder OUTPUT (created
# when missing) and prints where to open it.  With --watch it keeps running
# and publishes again whenever a table of the database changes on disk, as
# the scoring program saves during a competition.
#
# Options:
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
#   --library FILE    the library (default: build/libtavC.so of this tree)
#   --app FOLDER      the application folder with the abbreviation files
#   --watch           republish whenever a table changes
#   --interval MS     watch: how often the file times are read (default 250)
#   --json            also write the results as JSON, event<EVT_ID>.json
#                     (doc/results-json.md)
#   --check           audit the stored scores first and print every
#                     difference (category, segment, skater, field)
#   --strict          as --check, and publish nothing while there is one
#
# Watching polls the tables' file times through the library.  A change is
# published once the file times have held still for one interval, so the
# site follows a save within about two seconds.  A database caught half
# saved (it cannot be read, or its file times move while it is being read)
# is read again a moment later; a site is published only from a database
# that was read whole.  Every page is put in place by a rename, so a browser
# never sees a half-written page (stopping the watcher in the middle of a
# publication can leave a temporary "*.tmp-*" file beside a page, never a
# partial page).

proc usage {} {
    puts stderr "usage: tclsh tools/publish.tcl DATABASE OUTPUT ?--event ID? ?--category ID?\
        ?--format 0|1|2? ?--details 1|-1|0? ?--no-start-orders? ?--sss? ?--nation?\
        ?--tv-names? ?--colors? ?--local-copy? ?--live SCP_ID? ?--sixty FOLDER?\
        ?--awards SCP_IDS? ?--deviation T? ?--library FILE? ?--app FOLDER? ?--watch? ?--interval MS?\
        ?--json? ?--check? ?--strict?"
    exit 2
}

# Results as JSON and the score audit (--json, --check, --strict): taken out
# of the arguments before the other options are read.
proc takeResultsOptions {argv} {
    global opt
    array set opt {json 0 check 0 strict 0}
    set rest {}
    foreach word $argv {
        switch -exact -- $word {
            --json { set opt(json) 1 }
            --check { set opt(check) 1 }
            --strict { set opt(check) 1; set opt(strict) 1 }
            default { lappend rest $word }
        }
    }
    return $rest
}

# The score audit before a publication: prints every difference (a watcher
# that tries again prints the same findings once); with --strict a
# difference refuses the publication.  Returns "" or the reason.
proc checkScores {} {
    global opt lastFindings
    if {!$opt(check)} { return "" }
    if {[catch {tavC::audit [eventId]} findings]} { return "score audit failed: $findings" }
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
        return "results JSON not written: $message"
    }
    return ""
}

proc parseOptions {argv} {
    global opt
    if {[llength $argv] < 2} usage
    set opt(database) [file normalize [lindex $argv 0]]
    set opt(output) [file normalize [lindex $argv 1]]
    set tree [file dirname [file dirname [file normalize [info script]]]]
    array set opt [list event {} category 0 format 0 details 1 startOrders 1 sss 0 \
        nation 0 tvNames 0 colors 0 localCopy 0 live 0 sixty {} awards {} deviation {} \
        library [file join $tree build libtavC.so] app {} watch 0 interval 250]
    set valued {--event event --category category --format format --details details
        --live live --sixty sixty --awards awards --deviation deviation --library library --app app --interval interval}
    set flags {--sss sss --nation nation --tv-names tvNames --colors colors
        --local-copy localCopy --watch watch}
    set rest [lrange $argv 2 end]
    while {[llength $rest] > 0} {
        set rest [lassign $rest word]
        if {[dict exists $valued $word]} {
            if {[llength $rest] == 0} usage
            set rest [lassign $rest opt([dict get $valued $word])]
        } elseif {[dict exists $flags $word]} {
            set opt([dict get $flags $word]) 1
        } elseif {$word eq "--no-start-orders"} {
            set opt(startOrders) 0
        } else {
            puts stderr "publish: unknown option $word"
            usage
        }
    }
    foreach name {category format details live interval} {
        if {![string is integer -strict $opt($name)]} {
            puts stderr "publish: --$name needs a whole number"
            exit 2
        }
    }
    if {$opt(deviation) ne "" && ![string is integer -strict $opt(deviation)]} {
        puts stderr "publish: --deviation needs a whole number"
        exit 2
    }
    set opt(awards) [split $opt(awards) ", "]
    foreach id $opt(awards) {
        if {$id ne "" && $id ne "started" && ![string is integer -strict $id]} {
            puts stderr "publish: --awards needs segment identifiers or \"started\""
            exit 2
        }
    }
}

# Opens the database and builds the register and the tree.  Returns "" or
# the reason it could not.
proc openDatabase {} {
    global opt
    catch {tav_closeDB}
    if {$opt(app) ne ""} { tav_set_exec $opt(app) }
    if {[tav_openDB $opt(database)] ne "1"} {
        return "cannot open $opt(database): [tav_getErrStr]"
    }
    foreach command {{tav_basicPopulate 0} tav_eventPopulate} {
        if {[catch {{*}$command} message]} { return $message }
    }
    return ""
}

# The file times of the open tables, read from disk through the library.
proc tableTimes {} {
    set times {}
    foreach handle [tav_getHandleList] {
        tav_updateDbfMtime $handle
        lappend times $handle [tav_getDbfMtime $handle]
    }
    return $times
}

proc eventId {} {
    global opt
    if {$opt(event) ne ""} { return $opt(event) }
    return [tav_eventGetEvtListId 0]
}

# Writes the site from the open database.  Returns "" or the reason.
proc writeSite {} {
    global opt
    set problem [checkScores]
    if {$problem ne ""} { return $problem }
    file mkdir $opt(output)
    if {[catch {
        set evtId [eventId]
        set result [tav_eventEvtHtml $opt(output) $evtId $opt(category) 0 $opt(sss) 0 0 0 \
            $opt(colors) $opt(nation) $opt(format) $opt(localCopy) $opt(startOrders) \
            $opt(tvNames) $opt(details) $opt(live) $opt(sixty)]
    } message]} {
        return $message
    }
    if {$result ne "1"} { return "not published: [tav_getErrStr]" }
    return [writeReports $evtId]
}

# The segments of the event that have started.
proc startedSegments {evtId} {
    set ids {}
    for {set i 0} {![catch {tav_eventGetEvtCatListId $evtId $i} catId]} {incr i} {
        foreach scpId [tav_eventGetEvtCatScpIds $evtId $catId] {
            if {[string is true -strict [tav_eventHasEvtCatScpStarted $evtId $catId $scpId]]} {
                lappend ids $scpId
            }
        }
    }
    return $ids
}

# The award page and the deviation report, when asked for.  Returns "" or
# the reason.
proc writeReports {evtId} {
    global opt
    set scpIds [lsearch -all -inline -not -exact $opt(awards) ""]
    if {"started" in $scpIds} { set scpIds [startedSegments $evtId] }
    if {[llength $scpIds] > 0} {
        if {[catch {tav_eventEvtSaa $opt(output) $evtId $scpIds} result] || $result ne "1"} {
            return "award page not written: $result [tav_getErrStr]"
        }
    }
    if {$opt(deviation) ne ""} {
        set path [file join $opt(output) deviation.csv]
        if {[catch {tav_eventEvtDeviation $path $evtId {} $opt(deviation) 1 1 1 1 1 1 1} result] ||
                $result ne "1"} {
            return "deviation report not written: $result [tav_getErrStr]"
        }
    }
    return [writeResultsJson $evtId]
}

proc indexPage {} {
    global opt
    foreach name {index.html index.asp} {
        set page [file join $opt(output) $name]
        if {[file exists $page]} { return $page }
    }
    return $opt(output)
}

# One publication: open, build, check that nothing moved while reading,
# write.  Returns "" or the reason it has to be tried again.
proc publishOnce {timesVar} {
    upvar $timesVar times
    set problem [openDatabase]
    if {$problem ne ""} { return $problem }
    set times [tableTimes]
    set problem [writeSite]
    if {$problem ne ""} { return $problem }
    return ""
}

proc stamp {} { return [clock format [clock seconds] -format %H:%M:%S] }

proc watch {} {
    global opt
    set times {}
    set openedAt 0
    set pending 1
    set lastProblem ""
    while {1} {
        if {$pending} {
            set openedAt [clock seconds]
            set problem [publishOnce times]
            if {$problem eq "" && [tableTimes] ne $times} {
                set problem "the database changed while it was being read"
            }
            if {$problem ne ""} {
                if {$problem ne $lastProblem} {
                    puts "[stamp] waiting for a complete database: $problem"
                    set lastProblem $problem
                }
                after $opt(interval)
                continue
            }
            set lastProblem ""
            puts "[stamp] published [indexPage]"
            flush stdout
            set pending 0
            # File times count whole seconds: a save within the second the
            # database was read would keep them, so read once more after it.
            set recheck [expr {[maxTime $times] >= $openedAt}]
        }
        after $opt(interval)
        set now [tableTimes]
        if {$now ne $times} {
            # Publish once the times have held still for one interval.
            after $opt(interval)
            if {[tableTimes] eq $now} { set pending 1 }
        } elseif {$recheck && [clock seconds] > $openedAt} {
            set recheck 0
            set pending 1
        }
    }
}

proc maxTime {times} {
    set latest 0
    foreach {handle time} $times { if {$time > $latest} { set latest $time } }
    return $latest
}

parseOptions [takeResultsOptions $argv]
if {![file exists $opt(library)]} {
    puts stderr "publish: no library at $opt(library) (build first, or give --library)"
    exit 1
}
load $opt(library)

if {$opt(watch)} {
    puts "Publishing $opt(database) into $opt(output) whenever it changes (Ctrl-C stops)"
    watch
    exit 0
}
set problem [openDatabase]
if {$problem eq ""} { set problem [writeSite] }
if {$problem ne ""} {
    puts stderr "publish: $problem"
    exit 1
}
puts "Published the results site: open file://[indexPage]"
