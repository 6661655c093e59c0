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
# Verification, maintenance and comparison.
tour::section "Closing" tour::closeDatabase

exit [tour::run]
