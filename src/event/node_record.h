// NodeRecord is a node's place in its table: the table's handle and the
// record number the node was built from.
//
// Nodes of the event tree keep no copies of records.  Every value they give
// is read from the table when it is asked for, so edits made through any
// command are seen at once.  A node keeps the table it found under its
// handle together with the registry's generation, and looks the handle up
// again whenever a handle was created or removed since, so a table that was
// closed since the tree was built is never reached through a stale pointer
// (a table read again in place keeps its object).  A record that was
// deleted, or that is no longer held (the table was cleared or compressed),
// reads as "Record deleted: " and the record number.
//
// Fields are named by a FieldSlot, which remembers the field's index after
// the first lookup together with the table's layout identity, so a wide
// record is read by index, not searched by name; when the layout changed
// (the table was read again) the slot checks the name at that index, and
// looks it up again when it differs.
#ifndef TAVC_EVENT_NODE_RECORD_H_
#define TAVC_EVENT_NODE_RECORD_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dbf/dbf.h"

namespace tav {

// A field name with its index in the table it was last resolved in.
class FieldSlot {
 public:
  FieldSlot() = default;
  explicit FieldSlot(std::string name) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  // The field's index in `table`, -1 when the table has no such field.
  int resolve(const CDbf& table);

 private:
  std::string name_;
  int index_ = -1;
  std::uint64_t layoutId_ = 0;  // the layout index_ was found in; 0: none
};

// A record found live once, read field by field without looking the table
// up again: for operations that read many fields of one record in a row
// (the score lists of a performance).  Lives only for one such operation, so
// the table cannot be reloaded or closed while it is held.
class HeldRecord {
 public:
  HeldRecord(CDbf* table, std::uint32_t recNo) : table_(table), recNo_(recNo) {}

  // As NodeRecord's reads of the same names.
  bool text(FieldSlot& field, std::string* value) const;
  bool integer(FieldSlot& field, int* value) const;
  bool hundredths(FieldSlot& field, int* value) const;

 private:
  // The field's text through `*view`; false (with the table's message) when
  // the table lacks the field, true with an empty view when the table
  // lacks it but knows the name.
  bool view(FieldSlot& field, std::string_view* view, int* index) const;

  CDbf* table_;
  std::uint32_t recNo_;
};

class NodeRecord {
 public:
  NodeRecord(const char* handle, std::uint32_t recNo) : handle_(handle), recNo_(recNo) {}

  const char* handle() const { return handle_; }
  std::uint32_t recNo() const { return recNo_; }

  // The table, or nullptr with the registry's message.
  CDbf* table() const;
  // The table when the record is held and not deleted; otherwise nullptr
  // with "Record deleted: " and the record number (or the registry's
  // message when the table is not open).
  CDbf* liveTable() const;
  // liveTable() kept for a run of reads; false when the record is not live.
  bool hold(HeldRecord* held) const;

  // The field text; a field the table lacks fails with the table's message.
  bool text(FieldSlot& field, std::string* value) const;
  bool letter(FieldSlot& field, char* value) const;  // first character, 0 when empty
  bool integer(FieldSlot& field, int* value) const;  // decimal conversion
  // Hundredths of a point, by the field's decimal count (field_number.h).
  bool hundredths(FieldSlot& field, int* value) const;
  // Reads by name, for fields named at run time.
  bool text(const std::string& field, std::string* value) const;

  // Generic field access: with an empty list every field name and value in
  // table order; otherwise the values of the named fields in the order given.
  bool getFieldData(std::vector<std::string>* fields, std::vector<std::string>* values) const;
  // Writes the fields whose new value differs from the current one, all in
  // one update; nothing is written when none differs.  `changed` (may be
  // null) tells whether anything was written.
  bool setFieldData(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values, bool* changed = nullptr) const;
  // One update of the record with field assignments ("NAME=value").
  bool update(const std::vector<std::string>& assignments) const;

 private:
  const char* handle_;
  std::uint32_t recNo_;
  // The table last found under handle_, valid while the registry's
  // generation is tableGeneration_.
  mutable CDbf* table_ = nullptr;
  mutable std::uint64_t tableGeneration_ = 0;
};

// Fails with "<field> of a built node cannot change: " and the new value
// when the assignments give the identifier field `field` a value other than
// `id`.  Other records refer to a node by its identifier, so an identifier
// is changed in the tables and the tree rebuilt, not edited through a node.
bool refuseIdChange(const std::vector<std::string>& fields,
                    const std::vector<std::string>& values, const char* field, int id);

// The field text of a held record of `table` by slot, empty when the table
// lacks the field (for scans during the build).
std::string_view fieldOrEmpty(const CDbf& table, std::size_t recNo, FieldSlot& field);

}  // namespace tav

#endif  // TAVC_EVENT_NODE_RECORD_H_
