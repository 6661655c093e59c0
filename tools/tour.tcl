# A tour of tavC over the bundled sample competition.
#
#   tclsh tools/tour.tcl BUILD_FOLDER ?DATABASE_FOLDER?
#
# The build leaves the library (libtavC.so) at the top of BUILD_FOLDER and
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

# Points are stored in hundredths: 16874 is 168.74.
proc tour::points {hundredths} {
    if {$hundredths eq ""} { return "" }
    return [format %.2f [expr {$hundredths / 100.0}]]
}

# The records of a table as lists of the named fields, in the order of
# sortField, restricted by qualifiers ("FIELD=value").  The pseudo-field
# recNo gives the record number, which tav_getRec and tav_getRecDesc take.
proc tour::records {handle fields {qualifiers {}} {sortField {}}} {
    return [tav_getFallRecs $handle $fields $qualifiers $sortField 0 0]
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
    load [file join $build libtavC.so]
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

proc tour::event {} {
    foreach row [records EVT {recNo EVT_ID EVT_NAME EVT_PLACE EVT_BEGDAT EVT_ENDDAT} {} EVT_ID] {
        lassign $row recNo id name place begin end
        puts "   $name (EVT_ID $id)"
        puts "   $place, $begin to $end"
        # tav_getRecDesc gives a record's label and its describing text.
        puts "   described as: [tav_getRecDesc EVT $recNo]"
        set venues {}
        foreach field {EVT_R1NAM EVT_TITLE1 EVT_TITLE2 EVT_TITLE3} {
            set venue [lindex [tav_getRec EVT $recNo [list $field] 0] 1]
            if {$venue ne ""} { lappend venues $venue }
        }
        puts "   venues: [join $venues {; }]"
    }
}

proc tour::categories {} {
    set types {S Singles P Pairs D "Ice dance" T "Synchronized"}
    foreach row [records CAT {CAT_ID CAT_NAME CAT_TYPE CAT_GENDER CAT_LEVEL} {} CAT_ID] {
        lassign $row id name type gender level
        set entries [llength [records PAR {PAR_ID} [list CAT_ID=$id]]]
        puts [format "   %2d  %-30s %-13s gender %s  level %s  %2d entries" \
                  $id $name [dict get $types $type] $gender $level $entries]
        foreach segment [records SCP {SCP_ID SCP_SNAM SCP_NAME SCP_TYPE SCP_GROUP} [list CAT_ID=$id] SCP_ID] {
            lassign $segment scpId short scpName scpType group
            set skated [llength [records PRF {PRF_ID} [list SCP_ID=$scpId PRF_STAT=O]]]
            set toSkate [llength [records PRF {PRF_ID} [list SCP_ID=$scpId PRF_STAT=L]]]
            puts [format "         %-4s %-22s type %s %-9s skated %2d, to skate %2d" \
                      $short $scpName $scpType [expr {$group eq "" ? "" : "group $group"}] $skated $toSkate]
        }
    }
}

# The entries of the first men's singles category with their places; the participant's name
# comes from the person register through tav_getRecDesc.  Entries without a
# place (they did not finish the category) are listed after the placed ones
# with their status letter.
proc tour::entries {} {
    set category [record CAT {CAT_ID CAT_NAME} {CAT_TYPE=S CAT_GENDER=M}]
    if {$category eq ""} { error "no men's singles category" }
    set catId [dict get $category CAT_ID]
    puts "   [dict get $category CAT_NAME]: place, total, short program, free skating"
    set placed {}
    set others {}
    foreach row [records PAR {recNo PAR_TPLACE PAR_TPOINT PAR_POINT1 PAR_POINT2 PAR_STAT PAR_NAT} \
                     [list CAT_ID=$catId] PAR_TPLACE] {
        if {[lindex $row 1] > 0} { lappend placed $row } else { lappend others $row }
    }
    foreach row [concat $placed $others] {
        lassign $row recNo place total sp fs status nation
        set name [lindex [tav_getRecDesc PAR $recNo] 1]
        set shown [expr {$place > 0 ? $place : $status}]
        set scores {}
        foreach value [list $total $sp $fs] {
            lappend scores [expr {$value > 0 ? [points $value] : "-"}]
        }
        puts [format "   %3s  %-26s %s %7s %7s %7s" $shown $name $nation {*}$scores]
    }
    puts "   (N final not reached, R withdrawn, W entry withdrawn)"
}

# The judges' protocol of the winning free skating: the numbered field
# families of PRF (PRF_XNAE01 ... PRF_XNAE20 for the elements, PRF_E01J01
# ... for each judge's grade stored as grade + 4, 9 for none).
proc tour::protocol {} {
    set category [record CAT {CAT_ID} {CAT_TYPE=S CAT_GENDER=M}]
    if {$category eq ""} { error "no men's singles category" }
    set segment [record SCP {SCP_ID SCP_NAME} [list CAT_ID=[dict get $category CAT_ID] SCP_TYPE=F]]
    if {$segment eq ""} { error "no free skating" }
    set performance [record PRF {recNo PAR_ID PRF_POINTS PRF_M1TOT PRF_M2TOT PRF_BONUSP} \
                         [list SCP_ID=[dict get $segment SCP_ID] PRF_PLACE=1]]
    if {$performance eq ""} { error "nobody has won the free skating yet" }
    set recNo [dict get $performance recNo]
    set parRecNo [tav_getRecNo PAR PAR_ID=[dict get $performance PAR_ID] 0]
    puts "   [lindex [tav_getRecDesc PAR $parRecNo] 1], [dict get $segment SCP_NAME]:\
          [points [dict get $performance PRF_POINTS]] =\
          [points [dict get $performance PRF_M1TOT]] elements +\
          [points [dict get $performance PRF_M2TOT]] components - deductions"
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
        puts [format "   %2d %-14s %-3s %6s%s %6s %6s   %s" $e $code $info [points $base] \
                  [expr {$half == 1 ? "x" : " "}] [points $goe] [points $score] $grades]
    }
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
    set temp [expr {[info exists ::env(TMPDIR)] ? $::env(TMPDIR) : "/tmp"}]
    set folder [file join $temp tavc-tour-reports-[pid]]
    file mkdir $folder
    try {
        tav_eventEvtSaa $folder $evtId [dict get $segment SCP_ID]
        set page [lindex [glob -directory $folder SAA_*.html] 0]
        puts "   [file tail $page]:"
        set f [open $page r]
        fconfigure $f -encoding cp1252
        set html [read $f]
        close $f
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

tour::section "Opening the sample database" tour::openDatabase
tour::section "Tables, records and index files" tour::tables
tour::section "The event" tour::event
tour::section "Categories and their segments" tour::categories
tour::section "Entries of a category" tour::entries
tour::section "A judges' protocol" tour::protocol
# The register.
# Person import and the registration map.
# The event tree, status, results, scores, panels and start orders.
# Timelines and combined standings.
# The results site and reports.
tour::section "Special achievement awards and the judges' deviation report" tour::awardsReport
tour::section "Verification, maintenance and comparison" tour::verification
tour::section "Closing" tour::closeDatabase

exit [tour::run]
