#include "dbf/file_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <vector>

namespace tav {

std::string errnoText() { return std::strerror(errno); }

namespace {

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if (x != y && !(x < 0x80 && y < 0x80 && std::tolower(x) == std::tolower(y))) return false;
  }
  return true;
}

}  // namespace

std::string nameInFolder(const std::string& folder, const std::string& name) {
  if (fileExists(joinPath(folder, name))) return name;
  std::vector<platform::FolderEntry> entries;
  if (!platform::listFolder(folder, &entries)) return name;
  const std::string* found = nullptr;
  for (const platform::FolderEntry& entry : entries) {
    if (entry.isFile && equalIgnoringAsciiCase(entry.name, name) &&
        (found == nullptr || entry.name < *found)) {
      found = &entry.name;
    }
  }
  return found == nullptr ? name : *found;
}

namespace {

bool hasTableExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string extension = name.substr(name.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return extension == ".DBF" || extension == ".CDX";
}

// The writer's process identifier of a temporary table file name, or -1.
long writerOfTemp(const std::string& name) {
  const std::string::size_type mark = name.rfind(".tmp-");
  if (mark == std::string::npos || !hasTableExtension(name.substr(0, mark))) return -1;
  const std::string::size_type digits = mark + 5;
  const std::string::size_type dash = name.find('-', digits);
  if (dash == std::string::npos || dash == digits || dash - digits > 10 || dash + 1 == name.size()) {
    return -1;
  }
  long pid = 0;
  for (std::string::size_type i = digits; i < dash; ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    pid = pid * 10 + (name[i] - '0');
  }
  return pid;
}

}  // namespace

void removeAbandonedTemps(const std::string& folder) {
  std::vector<platform::FolderEntry> entries;
  if (!platform::listFolder(folder, &entries)) return;
  const int saved = errno;
  for (const platform::FolderEntry& entry : entries) {
    const long pid = entry.isFile ? writerOfTemp(entry.name) : -1;
    if (pid < 0) continue;
    if (pid == platform::currentProcessId() || !platform::processIsRunning(pid)) {
      platform::removeFile(joinPath(folder, entry.name));
    }
  }
  errno = saved;
}

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open(const std::string& target) {
  discard();
  target_ = target;
  return platform::createTempBeside(target, &temp_, &file_);
}

bool SafeFileWriter::write(const void* data, std::size_t size) {
  return platform::writeAll(file_, data, size);
}

bool SafeFileWriter::writeZeros(std::size_t size) {
  static const char zeros[4096] = {0};
  while (size > 0) {
    std::size_t chunk = size < sizeof zeros ? size : sizeof zeros;
    if (!write(zeros, chunk)) return false;
    size -= chunk;
  }
  return true;
}

// Only a head start for the flush in flushAndRename, which reports errors.
void SafeFileWriter::startFlush() { platform::startFlush(file_); }

bool SafeFileWriter::commit() {
  if (!flushAndRename()) return false;
  platform::syncFolder(platform::folderOf(target_));
  return true;
}

bool SafeFileWriter::replace() {
  if (!platform::closeFile(&file_) || !platform::replaceFile(temp_, target_)) {
    const int saved = errno;
    discard();
    errno = saved;
    return false;
  }
  temp_.clear();
  return true;
}

bool SafeFileWriter::flushAndRename() {
  if (!platform::flushAndClose(&file_)) {
    discard();
    return false;
  }
  if (!platform::replaceFile(temp_, target_)) {
    const int saved = errno;
    discard();
    errno = saved;
    return false;
  }
  temp_.clear();
  return true;
}

void CommitBatch::add(std::unique_ptr<SafeFileWriter> file, std::function<void()> committed,
                      std::function<void()> failed) {
  file->startFlush();
  entries_.push_back(Entry{std::move(file), std::move(committed), std::move(failed), nullptr});
}

void CommitBatch::addStep(std::function<bool()> step) {
  entries_.push_back(Entry{nullptr, nullptr, nullptr, std::move(step)});
}

bool CommitBatch::commitAll() {
  std::vector<Entry> entries;
  entries.swap(entries_);  // the writers left over discard their files
  std::vector<std::string> folders;
  bool ok = true;
  for (Entry& entry : entries) {
    if (!run(entry, &folders)) {
      ok = false;
      break;
    }
  }
  const int saved = errno;
  for (const std::string& folder : folders) platform::syncFolder(folder);
  errno = saved;
  return ok;
}

bool CommitBatch::run(Entry& entry, std::vector<std::string>* folders) {
  if (entry.file == nullptr) return entry.step();
  if (!entry.file->flushAndRename()) {
    entry.failed();
    return false;
  }
  const std::string folder = platform::folderOf(entry.file->target());
  if (std::find(folders->begin(), folders->end(), folder) == folders->end()) {
    folders->push_back(folder);
  }
  entry.committed();
  return true;
}

void SafeFileWriter::discard() {
  const int saved = errno;
  platform::closeFile(&file_);
  if (!temp_.empty()) platform::removeFile(temp_);
  temp_.clear();
  errno = saved;
}

}  // namespace tav
