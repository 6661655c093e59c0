#include "dbf/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace tav {

std::string errnoText() { return std::strerror(errno); }

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
