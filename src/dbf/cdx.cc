#include "dbf/cdx.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/failure_record.h"
#include "dbf/file_io.h"

namespace tav {

bool CCdx::load(const std::string& code, const std::string& folder) {
  code_ = code;
  CallTrace t(trace("load"));
  // Until this load succeeds the companion carries nothing: bytes of an
  // earlier load must never be written out as if they were this index.
  valid_ = false;
  remove_ = false;
  forgetData();
  if (folder.empty()) return failWith(code_ + "_load: Empty path.");
  fileName_ = nameInFolder(folder, code_ + ".CDX");
  const std::string path = joinPath(folder, fileName_);
  if (!fileExists(path)) {
    valid_ = true;
    remove_ = true;
    present_ = false;
    return t.succeed();
  }
  std::FILE* file = platform::openFile(path, "rb");
  if (file == nullptr) {
    return failWith(code_ + "_load: Unable to open: " + path + " - " + errnoText());
  }
  // The size comes from the open file itself; a directory has no bytes to
  // carry (its seek end is no size at all).
  std::uint64_t bytes = 0;
  const long long size = platform::openFileSize(file, &bytes) ? static_cast<long long>(bytes) : -1;
  bool ok = size >= 0;
  if (ok) {
    data_ = makeLargeBlock<char>(static_cast<std::size_t>(size));
    if (!data_) {
      std::fclose(file);
      return failWith(code_ + "_load: Unable to allocate required memory");
    }
    size_ = static_cast<std::size_t>(size);
    ok = std::fread(data_.get(), 1, size_, file) == size_;
  }
  std::fclose(file);
  if (!ok) {
    forgetData();
    return failWith(code_ + "_load: Unable to read file data: " + errnoText());
  }
  valid_ = true;
  remove_ = false;
  present_ = true;
  return t.succeed();
}

bool CCdx::save(bool copy, const std::string& folder, CommitBatch* batch) {
  CallTrace t(trace("save"));
  if (folder.empty()) return failWith(code_ + "_save: Empty path.");
  if (!valid_) return failWith(code_ + "_save: CDX data is not valid.");
  const std::string path =
      joinPath(folder, nameInFolder(folder, fileName_.empty() ? code_ + ".CDX" : fileName_));
  if (remove_ && batch != nullptr) {
    batch->addStep([this, path] {
      CallTrace removing(trace("save"));
      return remove(path) && removing.succeed();
    });
    return t.succeed();
  }
  if (remove_) return remove(path) && t.succeed();
  if (!copy) return t.succeed();

  auto out = std::make_unique<SafeFileWriter>();
  if (!out->open(path)) {
    return failWith(code_ + "_save: Unable to open: " + path + " - " + errnoText());
  }
  if (!out->write(data_.get(), size_)) return failToWrite();
  if (batch != nullptr) {
    batch->add(std::move(out), [] {}, [this] {
      CallTrace failing(trace("save"));
      failToWrite();
    });
    return t.succeed();
  }
  if (!out->commit()) return failToWrite();
  return t.succeed();
}

void CCdx::forgetData() {
  data_.reset();
  size_ = 0;
}

bool CCdx::failToWrite() {
  return failWith(code_ + "_save: Unable to write file data: " + errnoText());
}

bool CCdx::remove(const std::string& path) {
  if (!fileExists(path)) return true;
  if (!platform::removeFile(path)) {
    return failWith(code_ + "_save: Unable to remove: " + path + " - " + errnoText());
  }
  present_ = false;
  return true;
}

bool CCdx::setRemove() {
  CallTrace t(trace("setRemove"));
  remove_ = true;
  return t.succeed();
}

}  // namespace tav
