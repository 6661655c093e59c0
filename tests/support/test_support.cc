#include "support/test_support.h"

#include "base/failure_record.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace tav {
namespace test {

// A new folder with a random name; create_directory says false when the
// name is taken, and then another name is tried.
TempDir::TempDir() {
  static std::mt19937_64 random(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      std::random_device{}());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate = base / ("tavc-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate.generic_string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

// TAVC_TEST_ON_WINDOWS comes from the build (tests/CMakeLists.txt).
bool onWindows() { return TAVC_TEST_ON_WINDOWS != 0; }

std::string systemText(const std::string& posix, const std::string& windows) {
  return onWindows() ? windows : posix;
}

std::string withBackslashes(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> folderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

::testing::AssertionResult keptErrorHas(const std::string& message) {
  const std::string text = getErrStr();
  if (text.find(message) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "kept error text is \"" << text << "\"";
}

std::vector<std::string> databaseTables(int version) {
  std::vector<std::string> tables = {
      "CFG", "BST", "CAT", "CVM", "DGR", "ELL", "ELM", "EVT", "JE4", "JES", "JEV",
      "JPS", "MES", "MOT", "NAT", "OBO", "OJE", "OPE", "PAR", "PCT", "PEL", "PER",
      "PJS", "PPRF", "PRF", "SCP", "TIM", "TTM", "WBG", "WBP"};
  const std::vector<std::pair<int, std::vector<std::string>>> later = {
      {11048, {"PCD"}}, {11063, {"PAT"}}, {11072, {"NEN"}}, {11087, {"POAC"}},
      {11092, {"CTE", "TCC", "TEC", "TEM"}}, {11121, {"MED"}}};
  for (const auto& [from, handles] : later) {
    if (version >= from) tables.insert(tables.end(), handles.begin(), handles.end());
  }
  return tables;
}

void writeDatabase(const std::string& folder, int version,
                   const std::map<std::string, DbfBuilder>& tables,
                   const std::set<std::string>& omit) {
  for (const std::string& handle : databaseTables(version)) {
    if (omit.count(handle)) continue;
    const std::string path = folder + "/" + handle + ".DBF";
    auto given = tables.find(handle);
    if (given != tables.end()) {
      given->second.writeFile(path);
    } else if (handle == "CFG") {
      DbfBuilder({{"CFG_DBFVER", 'C', 10}}).addRecord({std::to_string(version)}).writeFile(path);
    } else {
      const std::string id = handle == "PPRF" ? "PRF_ID" : handle + "_ID";
      DbfBuilder({{id, 'N', 8}}).writeFile(path);
    }
  }
}

}  // namespace test
}  // namespace tav
