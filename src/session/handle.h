// CHandle is the registry of open tables: one table (CDbf) and one index
// companion (CCdx) per handle.  A handle is a table's code, the file name of
// the table without its extension ("PCT" for PCT.DBF), compared exactly and
// kept in byte-wise order.  The registry owns both objects.
#ifndef TAVC_SESSION_HANDLE_H_
#define TAVC_SESSION_HANDLE_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dbf/cdx.h"
#include "dbf/dbf.h"

namespace tav {

class CHandle {
 public:
  // Replaces whatever the handle held by an empty table and companion.
  bool createHandle(const std::string& handle);
  // "all" removes every handle; any other handle only its own entries.
  void removeHandle(const std::string& handle);
  // The table or index companion of a handle; nullptr, with an error that
  // lists the open handles, when the handle is not open.
  CDbf* getDbfHandlePtr(const std::string& handle);
  CCdx* getCdxHandlePtr(const std::string& handle);
  // Appends the open handles in order.
  bool getDbfHandleVec(std::vector<std::string>* names) const;

  // The open tables in handle order, for operations that visit them all.
  const std::map<std::string, std::unique_ptr<CDbf>>& tables() const { return tables_; }

  // A number that is new whenever a handle is created or removed, and that
  // no registry had before: a table pointer found through the registry
  // stays valid while this number stays the same (a table read again in
  // place keeps its object).
  std::uint64_t generation() const { return generation_; }

 private:
  void recordMissing(const std::string& handle) const;
  static std::uint64_t newGeneration();

  std::uint64_t generation_ = newGeneration();

  std::map<std::string, std::unique_ptr<CDbf>> tables_;
  std::map<std::string, std::unique_ptr<CCdx>> indexes_;
};

}  // namespace tav

#endif  // TAVC_SESSION_HANDLE_H_
