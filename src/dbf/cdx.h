// CCdx carries a table's compound index file (code.CDX) through the life of
// an open database without ever interpreting it.  It loads the file as opaque
// bytes, copies them unchanged when the database is saved to another folder,
// and removes the file once its table has been changed (the index would no
// longer match the records).
#ifndef TAVC_DBF_CDX_H_
#define TAVC_DBF_CDX_H_

#include <cstddef>
#include <string>

#include "dbf/large_block.h"

namespace tav {

class CommitBatch;

class CCdx {
 public:
  CCdx() = default;
  CCdx(const CCdx&) = delete;
  CCdx& operator=(const CCdx&) = delete;
  // Moving hands the whole contents over (a table read again in place).
  CCdx(CCdx&&) = default;
  CCdx& operator=(CCdx&&) = default;

  // Reads `folder`/code.CDX (or a name that differs only in the case of its
  // letters, which later saves keep).  A missing file is not an error: the
  // companion then has nothing to carry and is marked for removal.
  bool load(const std::string& code, const std::string& folder);
  // Saving in place (`copy` false) only removes the file when marked for
  // removal.  Saving to another folder (`copy` true) writes the bytes there,
  // or removes a file of the same code there when marked for removal.  With
  // a batch, writing a copy in place and removing a file happen when the
  // batch is committed.
  bool save(bool copy, const std::string& folder, CommitBatch* batch = nullptr);
  bool setRemove();
  bool isPresent() const { return present_; }
  bool isValid() const { return valid_; }

 private:
  bool remove(const std::string& path);
  bool failToWrite();
  void forgetData();
  std::string trace(const char* operation) const { return code_ + "_CCdx." + operation; }

  bool valid_ = false;
  std::string code_;
  std::string fileName_;  // the name the file was looked for under
  LargeBlock<char> data_;  // the file's bytes, size_ of them
  std::size_t size_ = 0;
  bool remove_ = false;
  bool present_ = false;
};

}  // namespace tav

#endif  // TAVC_DBF_CDX_H_
