// DatabaseWriter lays a played competition out as the tables of a database
// folder (every table of the schema, CFG first) and writes the application
// folder beside it (the two abbreviation files).  Index companions (.CDX) can
// be written for the main tables as opaque bytes, as the scoring program
// leaves them.
#ifndef TAVC_TOOLS_SAMPLE_DATABASE_WRITER_H_
#define TAVC_TOOLS_SAMPLE_DATABASE_WRITER_H_

#include <map>
#include <memory>
#include <string>

#include "competition.h"
#include "contest.h"
#include "schema.h"
#include "table_writer.h"

namespace tav {
namespace sample {

class DatabaseWriter {
 public:
  DatabaseWriter(const Schema& schema, const Competition& competition, const ContestResult& result);

  // Fills every table in memory; false with the first fault.
  bool build(std::string* error);
  // Writes the tables (and, with `indexes`, .CDX files) into a new folder
  // that replaces `folder` only when complete.
  bool writeDatabase(const std::string& folder, bool indexes, std::string* error) const;
  bool writeApplication(const std::string& folder, std::string* error) const;

  // Record counts by table, for the generator's summary.
  std::map<std::string, std::size_t> counts() const;

 private:
  // A table of the schema; build() has checked that every filled one exists.
  TableWriter& table(const std::string& code);
  void fillConfiguration();
  void fillNations();
  void fillRegister();
  void fillPlannedElements();
  void fillElements();
  void fillRules();
  void fillEvent();
  void fillCategories();
  void fillSegments(const Category& category);
  void fillParticipants(const Category& category);
  void fillPerformances();
  void fillTiming(const Category& category);
  void fillPanels(const Category& category);
  const RegisterEntry* registered(int id) const;
  std::string nameOf(int id) const;
  int nationId(const std::string& code) const;

  const Schema& schema_;
  const Competition& competition_;
  const ContestResult& result_;
  std::map<std::string, std::unique_ptr<TableWriter>> tables_;
  std::map<int, const RegisterEntry*> registry_;
  std::string fault_;
};

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_DATABASE_WRITER_H_
