#include "broken_copy.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "base/failure_record.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"

namespace tav {
namespace sample {
namespace {

// The tables of the copy, read whole, keyed by code.
using Tables = std::vector<std::pair<std::string, std::unique_ptr<CDbf>>>;

CDbf* find(Tables& tables, const std::string& code) {
  for (auto& entry : tables) {
    if (entry.first == code) return entry.second.get();
  }
  return nullptr;
}

// The first live record whose field `field` holds `value` (any value when
// empty), or -1.
int firstRecord(CDbf* table, const std::string& field, const std::string& value) {
  const int index = table->findField(field);
  for (std::size_t r = 0; r < table->numScannable(); ++r) {
    if (table->isDeleted(r)) continue;
    if (value.empty() || table->fieldText(r, index) == value) return static_cast<int>(r);
  }
  return -1;
}

std::string text(CDbf* table, int recNo, const std::string& field) {
  return std::string(table->fieldText(recNo, table->findField(field)));
}

bool breakTables(Tables& tables, std::string* error) {
  CDbf* pct = find(tables, "PCT");
  CDbf* par = find(tables, "PAR");
  CDbf* cat = find(tables, "CAT");
  CDbf* scp = find(tables, "SCP");
  if (pct == nullptr || par == nullptr || cat == nullptr || scp == nullptr) {
    *error = "broken copy: a main table is missing";
    return false;
  }
  const int club = firstRecord(pct, "PCT_TYPE", "CLU");
  const int couple = firstRecord(pct, "PCT_TYPE", "COU");
  const int lastCat = static_cast<int>(cat->numScannable()) - 1;
  if (club < 0 || couple < 0 || lastCat < 1 || par->numScannable() < 2 || scp->numScannable() < 1) {
    *error = "broken copy: the sample lacks a club, a couple, categories or participants";
    return false;
  }
  int recNo = 0;
  const bool ok =
      pct->addRec({"PCT_ID=0", "PCT_TYPE=PER", "PCT_AFUNCT=CMP", "PCT_GNAME=Zero",
                   "PCT_FNAME=Identifier", "PCT_CNAME=Zero Identifier"}, &recNo) &&
      pct->addRec({"PCT_ID=" + text(pct, club, "PCT_ID"), "PCT_TYPE=CLU",
                   "PCT_CNAME=Duplicate Club"}, &recNo) &&
      pct->updateRec(couple, {"PCT_PPCTID=99996"}) &&
      par->updateRec(0, {"PCT_ID=99999"}) &&
      par->updateRec(1, {"PAR_CLBID=99998"}) &&
      cat->updateRec(0, {"CAT_SCPID3=999"}) &&
      cat->updateRec(lastCat, {"CAT_NAME=Junior Men [exec touch pwned] {"}) &&
      scp->updateRec(0, {"SCP_JID01=99997"});
  if (!ok) *error = "broken copy: " + getErrStr();
  return ok;
}

// Lowers the record count in the header of a written table by one.
bool undercount(const std::string& path, std::string* error) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  unsigned char count[4];
  if (!file.seekg(4).read(reinterpret_cast<char*>(count), 4)) {
    *error = "broken copy: cannot read " + path;
    return false;
  }
  std::uint32_t n = count[0] | count[1] << 8 | count[2] << 16 | std::uint32_t{count[3]} << 24;
  if (n == 0) return true;
  --n;
  for (int i = 0; i < 4; ++i) count[i] = static_cast<unsigned char>(n >> (8 * i));
  if (!file.seekp(4).write(reinterpret_cast<char*>(count), 4)) {
    *error = "broken copy: cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace

bool writeBrokenCopy(const std::string& from, const std::string& to, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::remove_all(to, ec);
  fs::create_directories(to, ec);
  if (ec) {
    *error = "broken copy: cannot create " + to + ": " + ec.message();
    return false;
  }
  Tables tables;
  for (const auto& entry : fs::directory_iterator(from)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 5 || name.substr(name.size() - 4) != ".DBF") continue;
    const std::string code = name.substr(0, name.size() - 4);
    auto table = std::make_unique<CDbf>();
    if (!table->populate(code, from)) {
      *error = "broken copy: " + getErrStr();
      return false;
    }
    tables.emplace_back(code, std::move(table));
  }
  if (!breakTables(tables, error)) return false;
  for (auto& entry : tables) {
    if (!entry.second->save(true, to)) {
      *error = "broken copy: " + getErrStr();
      return false;
    }
  }
  return undercount((fs::path(to) / "TIM.DBF").string(), error);
}

}  // namespace sample
}  // namespace tav
