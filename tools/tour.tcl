# A tour of tavC over the bundled sample competition.
#
#   tclsh tools/tour.tcl BUILD_FOLDER ?DATABASE_FOLDER?
#
# The build leaves the library (libtavC.so, libtavC.dll on Windows) at the top of BUILD_FOLDER and
# the sample competition in BUILD_FOLDER/sample: the database in sample/db,
# the application folder with the abbreviation files in sample/app.  Give a
# DATABASE_FOLDER to take the tour over another database instead.
#
# The script is meant to be read as an example of the commands: each section
# below is one small procedure that asks the library a few questions and
# prints the answers.  New sections are added to the list at the end as the
# library gains commands (the event tree, category status, results,
# standings, the published results site).

if {[llength $argv] < 1 || [llength $argv] > 2} {
    puts stderr "usage: tclsh tools/tour.tcl BUILD_FOLDER ?DATABASE_FOLDER?"
    exit 2
}
set build [file normalize [lindex $argv 0]]
set database [file join $build sample db]
if {[llength $argv] == 2} { set database [file normalize [lindex $argv 1]] }
set application [file join $build sample app]

namespace eval tour {
    variable sections {}
}

# Registers a section: a title and the procedure that prints it.
proc tour::section {title procedure} {
    variable sections
    lappend sections [list $title $procedure]
}

# Runs every section in order; a section that fails says why and the tour
# goes on with the next one.
proc tour::run {} {
    variable sections
    set failed 0
    foreach section $sections {
        lassign $section title procedure
        puts "\n== $title [string repeat = [expr {max(3, 70 - [string length $title])}]]"
        if {[catch {$procedure} message]} {
            puts "   (this section failed: $message)"
            set failed 1
        }
    }
    return $failed
}

# The records of a table as lists of the named fields, in the order of
# sortField, restricted by qualifiers ("FIELD=value").  The pseudo-field
# recNo gives the record number, which tav_getRec and tav_getRecDesc take.
proc tour::records {handle fields {qualifiers {}} {sortField {}}} {
    return [tav_getFallRecs $handle $fields $qualifiers $sortField 0 0]
}

# A new folder for files the tour writes and removes again.
proc tour::scratchFolder {kind} {
    set temp [expr {[info exists ::env(TMPDIR)] ? $::env(TMPDIR) : "/tmp"}]
    set folder [file join $temp tavc-tour-$kind-[pid]]
    file mkdir $folder
    return $folder
}

# The first record that matches, as a field -> value dictionary.
proc tour::record {handle fields qualifiers} {
    set rows [records $handle $fields $qualifiers]
    if {[llength $rows] == 0} { return {} }
    set row [lindex $rows 0]
    if {[llength $fields] == 1} { set row [list $row] }
    set result {}
    foreach field $fields value $row { dict set result $field $value }
    return $result
}

# --------------------------------------------------------------- sections

proc tour::openDatabase {} {
    global build database application
    load [file join $build libtavC[info sharedlibextension]]
    puts "   library        tavC [getProgramVersion] of [getProgramBDate]"
    # The application's own folder holds the abbreviation files used when
    # names are shortened; the database folder holds the tables.
    tav_set_exec $application
    if {[tav_openDB $database] ne "1"} {
        error "tav_openDB $database: [tav_getErrStr]"
    }
    puts "   database       [tav_get_dir]"
    puts "   version        [tav_getDBversion] (supported: [expr {[tav_isValidVersion] == 0 ? "yes" : "no"}])"
}

proc tour::tables {} {
    puts [format "   %-6s %8s %8s %7s  %-8s  %s" table records deleted fields index "last update"]
    set total 0
    foreach handle [tav_getHandleList] {
        set count [tav_getNR $handle]
        incr total $count
        puts [format "   %-6s %8d %8d %7d  %-8s  %s" $handle $count [tav_getNDR $handle] \
                  [tav_getNF $handle] [tav_cdxExists $handle] [tav_getDbfHdate $handle]]
    }
    puts "   [llength [tav_getHandleList]] tables, $total records"
}

# The register: tav_basicPopulate builds lists and indexes over PCT (and the
# nations, elements, planned elements and verification rules); names, clubs
# and nations are read from the tables when asked for.
proc tour::register {} {
    tav_basicPopulate 0
    set counts {}
    foreach {type kind} {1 officials 2 competitors 4 couples 8 teams 16 clubs} {
        lappend counts "[llength [tav_basicGetPctNames $type]] $kind"
    }
    puts "   [join $counts {, }]; [llength [tav_basicGetNatNames]] nations"
    foreach type {2 4 8} {
        set id [tav_basicGetPctListId $type 0]
        lassign [tav_basicGetPctIdClubIds $id] club partnerClub
        set clubs [tav_basicGetPctIdName $club]
        if {$partnerClub > 0} { append clubs " / [tav_basicGetPctIdName $partnerClub]" }
        set nation [lindex [tav_getRec PCT [tav_basicGetPctListRecNo $type 0] PCT_NAT 0] 1]
        puts [format "   %-6s %-32s %-4s %s" $id [tav_basicGetPctIdName $id] $nation $clubs]
    }
    set id [tav_basicGetPctListId 1 0]
    set name [tav_basicGetPctIdName $id]
    set regNo [tav_basicGetPctIdRegNo [tav_basicGetPctListId 2 0]]
    puts "   find \"[string tolower $name]\": record [tav_basicFindByName 1 [string tolower $name] {}];\
        registration $regNo: record [tav_basicFindPctByRegNo 2 $regNo]"
    set duplicates [tav_basicDuplicatePCT 2]
    puts "   competitors' names that occur twice: [expr {$duplicates eq {} ? "none" : $duplicates}]"
    foreach key {S+3Lz S+3Lz* P+3Tw3 T+I4+Bl4 S+9X} {
        set full "Unknown"
        catch {set full [lindex [tav_getRec ELM [lindex [tav_basicFindByName 128 [string map {* {}} $key] {}] 0] ELM_NAME 0] 1]}
        if {[string first * $key] >= 0 && $full ne "Unknown"} { append full " (Invalid)" }
        puts [format "   %-10s %s" $key $full]
    }
}

# Every write is checked before anything changes: a value its field cannot
# hold (no number, too many digits, no date) or a character the table's code
# page lacks fails the whole command, names table, field and value, and the
# table stays as it was.  Case-insensitive finds fold the code page's
# accented letters too.
proc tour::refusedWrites {} {
    set modified [tav_isMod PAR]
    foreach assignments [list {PAR_TPLACE=abc} {PAR_TPOINT=123456789012.345} \
                             [list PAR_NAT=CAN "PAR_NAT=\u0141OD"]] {
        catch {tav_updateRec PAR 0 $assignments} message
        puts "   tav_updateRec PAR 0 {$assignments}"
        puts "      [lindex [split $message \n] 0]"
    }
    puts "   PAR modified afterwards: [tav_isMod PAR] (before: $modified)"
    set names [tav_basicGetPctNames 1]
    set index [lsearch -regexp $names {[^\u0000-\u007f]}]
    if {$index < 0} { set index 0 }
    set name [string toupper [lindex $names $index]]
    puts "   find \"$name\" (case ignored, accented letters too): record\
        [tav_basicFindByName 1 $name {}], position $index of the officials' list"
}

# The event tree: tav_eventPopulate builds it from the tables (the register
# first, which gives the names, clubs and nations of the entries).  Lists of
# events and categories are in identifier order; the list commands take a
# position in them.
proc tour::buildTree {} {
    if {[catch {tav_basicPopulate 0} message]} { error "tav_basicPopulate: $message" }
    tav_eventPopulate
}

# Person import: a federation's skaters' file is checked first; two of its
# lines are invalid, so nothing is written and the invalid list says why.
# Without those lines the import adds the new skaters (and a club the
# register did not know) and lists the skaters it already had as duplicates.
# The registration map pairs identifiers with registration numbers for other
# systems.  The database is read again afterwards, so the sections that
# follow see the sample as it is on disk.
namespace eval tour {
    variable importFiles [file join [file dirname [file normalize [info script]]] sample import]
}

# The file without the lines that the invalid list names.
proc tour::withoutInvalidLines {path invalid folder} {
    set in [open $path r]
    fconfigure $in -encoding utf-8
    set lines [split [read $in] \n]
    close $in
    set kept {}
    foreach line $lines {
        set text [string trim [regsub -all { +} [lindex [split $line #] 0] { }] " \r"]
        set bad 0
        foreach item $invalid {
            if {$text ne "" && [string first "$text - " $item] == 0} { set bad 1 }
        }
        if {!$bad} { lappend kept $line }
    }
    file mkdir $folder
    set corrected [file join $folder [file tail $path]]
    set out [open $corrected w]
    fconfigure $out -encoding utf-8 -translation binary
    puts -nonewline $out [join $kept \n]
    close $out
    return $corrected
}

proc tour::personImport {} {
    variable importFiles
    global build database
    # type file capFName defGender defNation clbNameConvBits addPFN addSN1
    # updDupBits dupIncClub eraseFirst
    set options {1 F CAN 15 1 0 0 0 0}
    set path [file join $importFiles competitors.txt]
    puts "   import [file tail $path]: [tav_basicImportPCT 2 $path {*}$options]"
    set invalid [tav_basicGetImportInvalidList]
    puts "   invalid lines ([llength $invalid]), nothing written:"
    foreach item $invalid { puts "     [string map {\t { | }} $item]" }
    set corrected [withoutInvalidLines $path $invalid [file join $build tour-import]]
    puts "   import without them: [tav_basicImportPCT 2 $corrected {*}$options]"
    foreach {title list} [list imported [tav_basicGetImportImportedList 0] \
                              duplicates [tav_basicGetImportDuplicateList 0]] {
        puts "   $title ([llength $list]):"
        foreach entry $list {
            lassign $entry name club regNo gender nation id comment
            puts [format "     %-5s %-20s %-30s %-7s %s %s  %s" $id $name $club $regNo $gender $nation $comment]
        }
    }
    set map [file join $build tour-import regmap.xml]
    tav_basicGenPctRegMap $map
    set in [open $map r]
    set lines [split [string trim [read $in]] \n]
    close $in
    puts "   registration map: [expr {[llength $lines] - 4}] entries, [file tail $map]:"
    foreach line [concat [lrange $lines 2 4] ... [lrange $lines end-1 end]] { puts "     $line" }
    tav_openDB $database
}

# tav_eventGetFieldData fills the array gEVT (gCAT, gSCP, gPAR) of the
# caller's scope, here the global one.
proc tour::event {} {
    global gEVT
    buildTree
    set names [tav_eventGetEvtNames]
    for {set i 0} {$i < [llength $names]} {incr i} {
        set evtId [tav_eventGetEvtListId $i]
        tav_eventGetFieldData $evtId 0 0 0 0 {EVT_PLACE EVT_BEGDAT EVT_ENDDAT}
        puts "   [lindex $names $i] (EVT_ID $evtId, registration [tav_eventGetEvtIdRegNo $evtId])"
        puts "   $gEVT(EVT_PLACE), $gEVT(EVT_BEGDAT) to $gEVT(EVT_ENDDAT)"
        puts "   venues: [join [tav_eventGetEvtVenueList $evtId] {; }]"
        puts "   clubs of the entries: [llength [tav_eventGetEvtClubNames $evtId]]"
    }
}

# Every category with its status ("finished + of segments", "+" while a
# segment is under way) and the state of each segment: no start order,
# drawn, started or finished (the segment's stage).
proc tour::categories {} {
    set evtId [tav_eventGetEvtListId 0]
    set stages {"no start order" drawn started finished}
    set names [tav_eventGetEvtCatNames $evtId]
    for {set i 0} {$i < [llength $names]} {incr i} {
        set catId [tav_eventGetEvtCatListId $evtId $i]
        lassign [tav_eventGetEvtCatLevelGenderType $evtId $catId] level gender type
        puts [format "   %2d  %-30s type %s %s  status %s" $catId [lindex $names $i] $type \
                  $gender [tav_eventGetEvtCatStatus $evtId $catId]]
        foreach pair [tav_eventGetEvtCatScpNames $evtId $catId 3] scpId [tav_eventGetEvtCatScpIds $evtId $catId] {
            lassign $pair short name
            set stage [expr {[tav_eventHasEvtCatScpStartOrder $evtId $catId $scpId]
                             + [tav_eventHasEvtCatScpStarted $evtId $catId $scpId]
                             + [tav_eventIsEvtCatScpFinished $evtId $catId $scpId]}]
            puts [format "         %-4s %-22s %-15s %2d active entries" $short $name \
                      [lindex $stages $stage] [tav_eventGetEvtCatScpNumSk $evtId $catId $scpId]]
        }
    }
}

# The results of the first men's singles free skating in order of place,
# with the points the scoring program wrote (PAR_POINTn of the entry for
# segment slot n); the names and nations come through the tree.
proc tour::results {} {
    global gPAR
    lassign [menSingles] evtId catId
    set scpId [lindex [tav_eventGetEvtCatScpIds $evtId $catId] end]
    set slot [llength [tav_eventGetEvtCatScpIds $evtId $catId]]
    puts "   [lindex [tav_eventGetEvtCatScpNames $evtId $catId 1] end]: place, points, start number"
    set rows {}
    foreach prfId [tav_eventGetEvtCatScpStartList $evtId $catId $scpId] {
        set parId [performanceEntry $evtId $catId $scpId $prfId]
        tav_eventGetFieldData $evtId $catId $parId 0 0 [list PAR_PLACE$slot PAR_POINT$slot PAR_STAT]
        # Entries without a place (withdrawn) come after the placed ones.
        set place [expr {$gPAR(PAR_PLACE$slot) > 0 ? $gPAR(PAR_PLACE$slot) : 999}]
        lappend rows [list $place $gPAR(PAR_POINT$slot) $gPAR(PAR_STAT) \
            [tav_eventGetEvtCatScpPrfStartNo $evtId $catId $scpId $prfId] \
            [tav_eventGetEvtCatScpPrfName $evtId $catId $scpId $prfId {}] \
            [tav_eventGetEvtCatScpPrfNation $evtId $catId $scpId $prfId]]
    }
    foreach row [lsort -integer -index 0 $rows] {
        lassign $row place points status startNo name nation
        if {$place == 999} { set place "($status)" ; set points "-" }
        puts [format "   %5s  %-26s %s %8s   #%s" $place $name $nation $points $startNo]
    }
}

# A judges' protocol: the elements of the free skating winner, read from
# the numbered fields of the performance record (PRF_XNAE01 ... for the
# element codes, PRF_E01J01 ... for each judge's grade stored as grade + 4,
# 9 for none).  Scores are written with two decimals.
proc tour::protocol {} {
    lassign [menSingles] evtId catId
    set scpId [lindex [tav_eventGetEvtCatScpIds $evtId $catId] end]
    set recNo ""
    foreach prfId [tav_eventGetEvtCatScpStartList $evtId $catId $scpId] {
        set row [record PRF {recNo PRF_PLACE PRF_POINTS PRF_M1TOT PRF_M2TOT} [list PRF_ID=$prfId]]
        if {[dict get $row PRF_PLACE] == 1} { set recNo [dict get $row recNo]; break }
    }
    if {$recNo eq ""} { error "nobody has won the free skating yet" }
    puts "   [tav_eventGetEvtCatScpPrfName $evtId $catId $scpId $prfId {}]:\
          [dict get $row PRF_POINTS] = [dict get $row PRF_M1TOT] elements +\
          [dict get $row PRF_M2TOT] components - deductions"
    puts [format "   %2s %-14s %-3s %6s %6s %6s   %s" # element info base GOE score "judges' grades"]
    for {set e 1} {$e <= 20} {incr e} {
        set n [format %02d $e]
        set fields [list PRF_XCFE$n PRF_XNAE$n PRF_E${n}INF PRF_XBVE$n PRF_E${n}PNL PRF_E${n}RES PRF_E${n}HLF]
        for {set j 1} {$j <= 10} {incr j} { lappend fields PRF_E${n}J[format %02d $j] }
        set values [lrange [tav_getRec PRF $recNo $fields 0] 1 end]
        lassign $values marker code info base goe score half
        if {![string match X* $marker]} continue
        set grades {}
        foreach mark [lrange $values 7 end] {
            lappend grades [expr {$mark == 9 ? "-" : $mark - 4}]
        }
        puts [format "   %2d %-14s %-3s %6s%s %6s %6s   %s" $e $code $info $base \
                  [expr {$half == 1 ? "x" : " "}] $goe $score $grades]
    }
}

# The officials' panel of the men's short program with their function
# names (flag 3: long names; mask 4194303 selects all 22 slots).
proc tour::panel {} {
    lassign [menSingles] evtId catId
    set scpId [lindex [tav_eventGetEvtCatScpIds $evtId $catId] 0]
    foreach pair [tav_eventGetEvtCatScpOffNames $evtId $catId $scpId 4194303 3] {
        puts [format "   %-32s %s" {*}$pair]
    }
}

# The start list of the ladies' free skating by warm-up group, with the
# planned program time.
proc tour::startList {} {
    set evtId [tav_eventGetEvtListId 0]
    set catId [record CAT {CAT_ID} {CAT_TYPE=S CAT_GENDER=F CAT_LEVEL=S}]
    set catId [dict get $catId CAT_ID]
    set scpId [lindex [tav_eventGetEvtCatScpIds $evtId $catId] end]
    lassign [tav_eventGetEvtCatScpTime $evtId $catId $scpId 0] kind time time2
    puts "   [lindex [tav_eventGetEvtCatScpNames $evtId $catId 1] end]: program time $kind $time,\
          warm-up groups of [join [tav_eventGetEvtCatScpWarmupGroups $evtId $catId $scpId] { and }]"
    set group 0
    foreach prfId [tav_eventGetEvtCatScpStartList $evtId $catId $scpId] {
        set g [tav_eventGetEvtCatScpPrfWGroupNo $evtId $catId $scpId $prfId]
        if {$g != $group} { puts "   warm-up group $g"; set group $g }
        lassign [tav_eventGetEvtCatScpPrfNamesClubs $evtId $catId $scpId $prfId] name - club
        puts [format "     %2d  %-24s %-36s %s" \
                  [tav_eventGetEvtCatScpPrfStartNo $evtId $catId $scpId $prfId] $name $club \
                  [tav_eventGetEvtCatScpPrfNation $evtId $catId $scpId $prfId]]
    }
}

# The event and category of the first men's singles category.
proc tour::menSingles {} {
    set category [record CAT {CAT_ID} {CAT_TYPE=S CAT_GENDER=M}]
    if {$category eq ""} { error "no men's singles category" }
    return [list [tav_eventGetEvtListId 0] [dict get $category CAT_ID]]
}

# The PAR_ID of a performance: the entry whose start number in the segment
# is the performance's.
proc tour::performanceEntry {evtId catId scpId prfId} {
    set row [record PRF {PAR_ID} [list PRF_ID=$prfId]]
    return [dict get $row PAR_ID]
}

# The special achievement award page of the men's short program (written
# into a temporary folder; the page is HTML, shown here as its headings and
# table rows) and the first lines of the judges' deviation report of the
# event, every line and column, threshold 1.
proc tour::awardsReport {} {
    catch {tav_basicPopulate 0}
    catch {tav_eventPopulate}
    set category [record CAT {CAT_ID} {CAT_TYPE=S CAT_GENDER=M}]
    if {$category eq ""} { error "no men's singles category" }
    set segment [record SCP {SCP_ID} [list CAT_ID=[dict get $category CAT_ID] SCP_TYPE=S]]
    set evtId [tav_eventGetEvtListId 0]
    set folder [scratchFolder reports]
    try {
        tav_eventEvtSaa $folder $evtId [dict get $segment SCP_ID]
        set page [lindex [glob -directory $folder SAA_*.html] 0]
        puts "   [file tail $page]:"
        set html [pageText $page]
        set row {}
        foreach line [split $html \n] {
            if {[regexp {<H[23][^>]*>([^<]*)</H[23]>} $line -> text]} { puts "   $text" }
            if {[regexp {<TD[^>]*>([^<]*)</TD>} $line -> text]} { lappend row $text }
            if {[string match *</TR>* $line]} { puts "      [join $row {   }]"; set row {} }
        }
        set csv [file join $folder deviation.csv]
        tav_eventEvtDeviation $csv $evtId {} 1 1 1 1 1 1 1 1
        set f [open $csv r]
        fconfigure $f -encoding cp1252
        puts "   deviation.csv:"
        for {set i 0} {$i < 6 && [gets $f line] >= 0} {incr i} { puts "   $line" }
        close $f
    } finally {
        file delete -force $folder
    }
}

# A page of the site as text: pages are pure ASCII, with the characters
# outside ASCII written as character references.
proc tour::pageText {path} {
    set f [open $path r]
    set html [read $f]
    close $f
    set text ""
    set start 0
    foreach {match number} [regexp -all -inline -indices {&#(\d+);} $html] {
        append text [string range $html $start [expr {[lindex $match 0] - 1}]]
        append text [format %c [string range $html {*}$number]]
        set start [expr {[lindex $match 1] + 1}]
    }
    return $text[string range $html $start end]
}

# The results web site of the event (tools/publish.tcl does the same for a
# database folder): the pages written, and the index as a reader sees it -
# each category with its segments and which of them link to a page.
proc tour::resultsSite {} {
    catch {tav_basicPopulate 0}
    catch {tav_eventPopulate}
    set evtId [tav_eventGetEvtListId 0]
    set folder [scratchFolder site]
    try {
        # format 0, nation column, starting orders, judges' details
        puts "   tav_eventEvtHtml -> [tav_eventEvtHtml $folder $evtId 0 0 0 0 0 0 0 1 0 0 1 0 1 0 {}]\
            ($::gTAV(site,written) pages written, $::gTAV(site,unchanged) unchanged)"
        # Publishing again writes only what changed: nothing, then the pages
        # of the category whose score changed (the score is put back after).
        tav_eventEvtHtml $folder $evtId 0 0 0 0 0 0 0 1 0 0 1 0 1 0 {}
        puts "   again: $::gTAV(site,written) written, $::gTAV(site,unchanged) unchanged"
        set score [lindex [tav_getRec PRF 0 PRF_E01PNL 0] 1]
        tav_updateRec PRF 0 [list PRF_E01PNL=9.99]
        tav_eventEvtHtml $folder $evtId 0 0 0 0 0 0 0 1 0 0 1 0 1 0 {}
        puts "   after one score changed: $::gTAV(site,written) written,\
            $::gTAV(site,unchanged) unchanged"
        tav_updateRec PRF 0 [list PRF_E01PNL=$score]
        set pages [lsort [lmap f [glob -directory $folder *.html] {file tail $f}]]
        set kinds [dict create CAT "category results" SEGM "judges' details" SEG "segment pages"]
        foreach prefix {CAT SEG SEGM} {
            set n [llength [lsearch -all -regexp $pages "^${prefix}\\d"]]
            puts [format "   %-16s %2d pages" [dict get $kinds $prefix] $n]
        }
        set index [pageText [file join $folder index.html]]
        puts "   index.html (a link's page in brackets):"
        set cells {}
        foreach line [split $index \n] {
            if {[regexp {<TD[^>]*>(.*)</TD>} $line -> cell]} {
                set linked [regexp {HREF=([^>]*)>} $cell -> target]
                regsub -all {<[^>]*>} $cell {} text
                set text [string map {&nbsp; -} $text]
                lappend cells [expr {$linked ? "$text \[$target\]" : $text}]
            } elseif {[string match *</TR>* $line] && [llength $cells] > 0} {
                puts "      [join $cells { | }]"
                set cells {}
            }
        }
    } finally {
        file delete -force $folder
    }
}

# The results as data: tavC::exportJson writes the event as one JSON file
# (doc/results-json.md), and tavC::audit works the stored scores out again
# from the marks.  The audit of the sample is clean; a panel score changed in
# memory shows what differences look like, and is put back.
proc tour::resultsData {} {
    catch {tav_basicPopulate 0}
    catch {tav_eventPopulate}
    set evtId [tav_eventGetEvtListId 0]
    set folder [scratchFolder json]
    try {
        set path [tavC::exportJson $folder $evtId]
        puts "   tavC::exportJson -> [file tail $path], [file size $path] bytes"
        set f [open $path r]
        fconfigure $f -encoding utf-8
        set lines [split [read $f] \n]
        close $f
        set first [lsearch -glob $lines {*"segmentScore"*}]
        puts "   the first performance's totals:"
        foreach line [lrange $lines $first [expr {$first + 4}]] { puts "     [string trim $line]" }
    } finally {
        file delete -force $folder
    }
    puts "   tavC::audit -> [llength [tavC::audit $evtId]] differences"
    set recNo [tav_getRecNo PRF PRF_PLACE=1 0]
    set old [lindex [tav_getRec PRF $recNo PRF_C00PNL 0] 1]
    tav_updateRec PRF $recNo [list PRF_C00PNL=[format %.2f [expr {$old + 0.25}]]]
    puts "   a panel score raised by 0.25:"
    foreach finding [tavC::audit $evtId] {
        lassign $finding category segment skater field stored expected
        puts "     $category / $segment / $skater: $field $stored, the marks give $expected"
    }
    tav_updateRec PRF $recNo [list PRF_C00PNL=$old]
}

# Verification of the database and of the broken copy of the sample that the
# generator writes beside it (sample/broken/db, see doc/sample.md), the
# comparison of the two into two stand-in list widgets, and maintenance on
# the broken copy: repair, compress, purge and printed names.  Nothing is
# saved; the tour's database is opened again at the end.
proc add_verif_msg {text {kind ""}} {
    if {$tour::showProgress} { puts "   [expr {$kind eq "E" ? "!" : " "}] $text" }
}
namespace eval tour { variable showProgress 0 }

proc tour::verification {} {
    global build database
    variable showProgress
    set broken [file join $build sample broken db]
    puts "   [tav_get_dir]: structure and identifiers [tav_verify 0 0], references [tav_verify 4 0]"
    tav_closeDB
    if {[tav_openDB $broken] ne "1"} { error "tav_openDB $broken: [tav_getErrStr]" }
    puts "   $broken:"
    foreach {type title} {1 structure 2 "zero identifiers" 3 "duplicate identifiers"} {
        puts "   tav_verify $type 0 ($title): [tav_verify $type 0]"
        foreach line [split [string trimright [tav_getErrStr] \n] \n] { puts "      $line" }
    }
    puts "   tav_verify 4 0 (references), progress lines to add_verif_msg (! marks a fault):"
    set showProgress 1
    set result [tav_verify 4 0]
    set showProgress 0
    puts "   answer $result, findings:"
    foreach line [split [tav_getErrStr] \n] { puts "      $line" }

    puts "   repair: tav_verify 2 1 -> [tav_verify 2 1]; deleted records in PCT: [tav_getNDR PCT]"
    puts "   tav_compress -> [tav_compress]; PCT records: [tav_getNR PCT]"
    set before [tav_getNR PCT]
    puts "   tav_purge -> [tav_purge]; PCT entries nothing refers to: [expr {$before - [tav_getNR PCT]}]"
    # The couple whose partner is missing stops the printed names.
    catch {tav_updatePFN 1} answer
    puts "   tav_updatePFN 1: [lindex [split $answer \n] 0]"
    puts "   modified tables (not saved): [lmap h [tav_getHandleList] {if {[tav_isMod $h] ne "Yes"} continue; set h}]"
    tav_closeDB

    proc ::tourList1 {insert end row} { lappend ::tourRows1 $row }
    proc ::tourList2 {insert end row} { lappend ::tourRows2 $row }
    set ::tourRows1 {}
    set ::tourRows2 {}
    set sample [file join $build sample db]
    tav_compareDbf $sample $broken tourList1 tourList2
    puts "   tav_compareDbf sample broken: $::gTAV(compare,status), [llength $::tourRows1] rows a side"
    foreach row1 $::tourRows1 row2 $::tourRows2 {
        puts [format "      %-42s | %s" [join [lsearch -all -inline -not $row1 {}] " "] \
                  [join [lsearch -all -inline -not $row2 {}] " "]]
    }
    tav_openDB $database
}

proc tour::closeDatabase {} {
    tav_closeDB
    puts "   closed; open tables now: [llength [tav_getHandleList]]"
}

# The schedule of the event at a glance: one row per segment (two for a
# segment whose later groups begin at their own time), by date and begin.
proc tour::schedule {} {
    set evtId [tav_eventGetEvtListId 0]
    foreach row [tav_eventGetEvtTlSummary $evtId] {
        lassign $row venue date begin end duration category segment performances
        puts [format "   %s %s-%s %-24s %-28s %-20s %3d skating" $date \
                  [string range $begin 0 4] [string range $end 0 4] $venue $category $segment $performances]
    }
}

# The first segment whose later groups begin at their own time, else the
# first segment of the event: {catId scpId}.
proc tour::splitSegment {evtId} {
    set first {}
    foreach catId [tav_getFallRecs CAT {CAT_ID} [list EVT_ID=$evtId] CAT_ID 0 0] {
        foreach scpId [tav_eventGetEvtCatScpIds $evtId $catId] {
            if {[tav_eventIsEvtCatScpTimelineSplit $evtId $catId $scpId]} { return [list $catId $scpId] }
            if {$first eq ""} { set first [list $catId $scpId] }
        }
    }
    return $first
}

# One segment's calculated schedule, each item with its times, its name
# and, for a performance, start number and warm-up group.
proc tour::timeline {} {
    set evtId [tav_eventGetEvtListId 0]
    lassign [splitSegment $evtId] catId scpId
    set segment [lindex [tav_eventGetEvtCatScpNames $evtId $catId 1] \
                     [lsearch [tav_eventGetEvtCatScpIds $evtId $catId] $scpId]]
    puts "   $segment of category $catId:\
          split [tav_eventIsEvtCatScpTimelineSplit $evtId $catId $scpId],\
          stored schedule valid [tav_eventIsEvtCatScpTimelineValid $evtId $catId $scpId]"
    foreach item [tav_eventGetEvtCatScpTimeline $evtId $catId $scpId 0 0] {
        lassign $item type date begin end duration name startNo group
        set detail [expr {$type eq "P" ? "#$startNo (group $group)" : ""}]
        puts [string trimright [format "   %s %s-%s %s  %-30s %s" $type $begin $end $duration $name $detail]]
    }
}

# The standings of the men's singles category: place, names, club, points
# and the places in each segment; an entry still to skate shows place 0, a
# withdrawn one its status letter.
proc tour::standings {} {
    lassign [menSingles] evtId catId
    tav_eventGetEvtCatStandings $evtId [list $catId] {} standing 0 1 0 0
    puts "   status: [expr {$standing($catId,Stat) eq "" ? "final" : $standing($catId,Stat)}],\
          segments $standing($catId,SegNames)"
    foreach row $standing($catId,Data) {
        lassign $row place name club nation points segmentPlaces tie
        puts [string trimright [format "   %3s  %-24s %-34s %-3s %7s  %-8s %s" \
                                    $place $name $club $nation $points $segmentPlaces $tie]]
    }
}

# A combined standing of two finished categories of the same level, gender
# and type, merged by person.  The sample event holds no two such
# categories (its large generated companion does); the library then says
# why it refuses to combine.
proc tour::combined {} {
    set evtId [tav_eventGetEvtListId 0]
    set byKind [dict create]
    set pair {}
    foreach catId [tav_getFallRecs CAT {CAT_ID} [list EVT_ID=$evtId] CAT_ID 0 0] {
        lassign [split [tav_eventGetEvtCatStatus $evtId $catId] " "] finished
        set segments [lindex [tav_eventGetEvtCatStatus $evtId $catId] end]
        if {$finished ne $segments} continue
        set kind [tav_eventGetEvtCatLevelGenderType $evtId $catId]
        dict lappend byKind $kind $catId
        if {$pair eq "" && [llength [dict get $byKind $kind]] == 2} { set pair [dict get $byKind $kind] }
    }
    if {$pair eq ""} {
        set pair [lrange [tav_getFallRecs CAT {CAT_ID} [list EVT_ID=$evtId CAT_TYPE=S] CAT_ID 0 0] 0 1]
        catch {tav_eventGetEvtCatStandings $evtId $pair {} combined 1 0 1 0} message
        puts "   no two finished categories of the same level, gender and type here;"
        puts "   combining categories $pair answers: $message"
        return
    }
    tav_eventGetEvtCatStandings $evtId $pair {} combined 1 1 1 0
    puts "   categories $pair combined by person ([expr {$combined(0,DataSize) - 3}] rows):"
    foreach row [lrange $combined(0,Data) 0 9] {
        lassign $row place name club nation points - tie
        puts [string trimright [format "   %3s  %-24s %-34s %-3s %7s %s" $place $name $club $nation $points $tie]]
    }
}

tour::section "Opening the sample database" tour::openDatabase
tour::section "Tables, records and index files" tour::tables
tour::section "The register" tour::register
tour::section "Writes that are refused" tour::refusedWrites
# Person import and the registration map.
tour::section "Person import and the registration map" tour::personImport
# The event tree, status, results, scores, panels and start orders.
tour::section "The event" tour::event
tour::section "Categories, their status and their segments" tour::categories
tour::section "Results of a segment" tour::results
tour::section "A judges' protocol" tour::protocol
tour::section "The officials' panel" tour::panel
tour::section "A start list with warm-up groups" tour::startList
# Timelines and combined standings.
tour::section "The schedule of the event" tour::schedule
tour::section "One segment's timeline" tour::timeline
tour::section "Standings of a category" tour::standings
tour::section "A combined standing" tour::combined
# The results site and reports.
tour::section "The results web site" tour::resultsSite
tour::section "Special achievement awards and the judges' deviation report" tour::awardsReport
tour::section "Results as JSON and the score audit" tour::resultsData
tour::section "Verification, maintenance and comparison" tour::verification
tour::section "Closing" tour::closeDatabase

exit [tour::run]
