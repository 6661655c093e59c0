// NodeRecord is a node's place in its table: the table's handle and the
// record number the node was built from.
//
// Nodes of the event tree keep no copies of records.  Every value they give
// is read from the table when it is asked for, so edits made through any
// command are seen at once.  The table is looked up by handle at every read,
// so a table that was reloaded or closed since the tree was built is never
// reached through a stale pointer; a record that was deleted, or that is no
// longer held (the table was cleared or compressed), reads as
// "Record deleted: " and the record number.
//
// Fields are named by a FieldSlot, which remembers the field's index in the
// table after the first lookup and checks the name at that index on every
// later read, so a wide record is read by index, not searched by name.
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
