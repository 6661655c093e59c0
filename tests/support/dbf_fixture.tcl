# Test fixtures for the Tcl tests: write dBASE tables and whole database
# folders with exactly the fields and rows a test needs.
#
#   makeDbf path fields rows ?option value ...?
#       fields  list of {NAME TYPE LENGTH ?DECIMALS?}
#       rows    list of value lists in field order (missing values are blank)
#       options -deleted {rowIndexes}  rows written with the deleted flag
#               -codepage byte         language driver byte (default 3)
#               -encoding name         how values become bytes (default cp1252)
#               -gap n                 zero bytes after the header terminator
#               -count n               header record count (default: rows)
#               -headerlength n        header length field (default: computed)
#               -recordlength n        record length field (default: computed)
#               -terminator 0|1        write the 0x1A end byte (default 1)
#               -date {y m d}          date of last update (default 2014 11 5)
#
#   makeDatabase folder ?option value ...?
#       Writes CFG and every table that a database of the version opens, each
#       with one identifier field and no records, unless given explicitly.
#       options -version n               CFG_DBFVER (default 11135)
#               -omit {handles}          tables not to write
#               -tables {HANDLE {fields rows ?opts?} ...}  explicit tables
#               -cdx {handles}           write a small .CDX beside these
#
#   fileBytes path          the whole file as a byte string
#   tempFolder prefix       a new empty folder under the test temp dir

proc makeDbf {path fields rows args} {
    array set opt {-deleted {} -codepage 3 -encoding cp1252 -gap 0 -count {}
        -headerlength {} -recordlength {} -terminator 1 -date {2014 11 5}}
    array set opt $args
    set recordLength 1
    foreach f $fields { incr recordLength [lindex $f 2] }
    set headerLength [expr {32 + 32 * [llength $fields] + 1 + $opt(-gap)}]
    set count [llength $rows]
    if {$opt(-count) ne ""} { set count $opt(-count) }
    if {$opt(-headerlength) ne ""} { set headerLength $opt(-headerlength) }
    set storedRecordLength $recordLength
    if {$opt(-recordlength) ne ""} { set storedRecordLength $opt(-recordlength) }
    lassign $opt(-date) y m d
    set out [binary format cccciss 3 [expr {$y - 1900}] $m $d $count $headerLength $storedRecordLength]
    append out [binary format x16cc 0 $opt(-codepage)] [binary format x2]
    foreach f $fields {
        lassign $f name type length decimals
        if {$decimals eq ""} { set decimals 0 }
        append out [binary format a11a1x4ccx14 $name $type $length $decimals]
    }
    append out \x0D [string repeat \x00 $opt(-gap)]
    set index 0
    foreach row $rows {
        if {$index in $opt(-deleted)} { append out "*" } else { append out " " }
        set column 0
        foreach f $fields {
            lassign $f name type length
            set value [encoding convertto $opt(-encoding) [lindex $row $column]]
            set value [string range $value 0 [expr {$length - 1}]]
            set pad [string repeat " " [expr {$length - [string length $value]}]]
            if {$type eq "N"} { append out $pad $value } else { append out $value $pad }
            incr column
        }
        incr index
    }
    if {$opt(-terminator)} { append out \x1A }
    set fh [open $path wb]
    puts -nonewline $fh $out
    close $fh
}

# The tables a database of `version` opens, CFG first.
proc databaseTables {version} {
    set tables {CFG BST CAT CVM DGR ELL ELM EVT JE4 JES JEV JPS MES MOT NAT OBO OJE
        OPE PAR PCT PEL PER PJS PPRF PRF SCP TIM TTM WBG WBP}
    foreach {from handles} {11048 PCD 11063 PAT 11072 NEN 11087 POAC
            11092 {CTE TCC TEC TEM} 11121 MED} {
        if {$version >= $from} { lappend tables {*}$handles }
    }
    return $tables
}

proc makeDatabase {folder args} {
    array set opt {-version 11135 -omit {} -tables {} -cdx {}}
    array set opt $args
    file mkdir $folder
    array set explicit $opt(-tables)
    foreach handle [databaseTables $opt(-version)] {
        if {$handle in $opt(-omit)} continue
        set path [file join $folder $handle.DBF]
        if {[info exists explicit($handle)]} {
            lassign $explicit($handle) fields rows extra
            makeDbf $path $fields $rows {*}$extra
        } elseif {$handle eq "CFG"} {
            makeDbf $path {{CFG_DBFVER C 10}} [list [list $opt(-version)]]
        } else {
            set idField [expr {$handle eq "PPRF" ? "PRF_ID" : "${handle}_ID"}]
            makeDbf $path [list [list $idField N 8]] {}
        }
        if {$handle in $opt(-cdx)} {
            set fh [open [file join $folder $handle.CDX] wb]
            puts -nonewline $fh "CDX:$handle\x00\x01\x02"
            close $fh
        }
    }
    return $folder
}

proc fileBytes {path} {
    set fh [open $path rb]
    set data [read $fh]
    close $fh
    return $data
}

proc tempFolder {prefix} {
    set base [file join [tcltest::temporaryDirectory] tavc-[pid]]
    set folder [file join $base $prefix[incr ::tavTempCounter]]
    file delete -force $folder
    file mkdir $folder
    return $folder
}
