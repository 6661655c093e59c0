// Small file-system helpers shared by the table engine and the session:
// joining a folder and a file name, the modification time of a path, the C
// library's text for the current error number, SafeFileWriter, which
// replaces a file only once its new content is complete and on disk, and
// CommitBatch, which does that for several files together.  The system calls
// behind them are the platform layer's (base/platform.h).
#ifndef TAVC_DBF_FILE_IO_H_
#define TAVC_DBF_FILE_IO_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/platform.h"

namespace tav {

// folder + "/" + name; no second separator when the folder already ends in
// one ("\" counts as one on Windows).
using platform::joinPath;

// True when the path can be examined; then *mtime is its modification time in
// seconds since 1970.
using platform::fileMtime;

using platform::fileExists;

// The C library's message for the current error number.
std::string errnoText();

// The name under which `folder` holds the file `name`: the name itself when
// a file of that name exists, otherwise the first name (in byte order) of a
// regular file that equals it when ASCII letters are compared without case
// ("pct.dbf" for PCT.DBF on a disk that tells case), otherwise `name`.
std::string nameInFolder(const std::string& folder, const std::string& name);

// Removes from `folder` the temporary files that a save of a table or index
// file (".DBF", ".CDX") left behind when its process was killed before it
// could rename or remove them: files named "<table file>.tmp-<pid>-<letters>"
// whose process <pid> no longer runs.  A file of this process counts as
// left behind as well: the caller promises it has no writer open in the
// folder.  Best effort: a file that cannot be removed stays.
void removeAbandonedTemps(const std::string& folder);

// Writes a new version of a file crash-safely: the bytes go to a temporary
// file in the same folder, which is flushed to disk and then renamed over the
// target.  Until `commit()` succeeds the target is untouched; a writer that is
// destroyed without a successful commit removes its temporary file.  Every
// failure leaves errno set for the caller's message.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Creates the temporary file beside `target`.  The new file gets the
  // target's permission bits when the target exists.
  bool open(const std::string& target);
  // Writes all `size` bytes; false on a short write.
  bool write(const void* data, std::size_t size);
  // Writes `size` zero bytes.
  bool writeZeros(std::size_t size);
  // Flushes to disk and renames over the target.
  bool commit();
  // Closes and renames over the target without waiting for the disk: readers
  // never see a half-written file, but a crash may lose the new version.
  // For generated files that are written again on the next run (pages of
  // the results site).
  bool replace();
  // Removes the temporary file (done automatically when not committed).
  void discard();

  const std::string& target() const { return target_; }

 private:
  friend class CommitBatch;
  // Starts writing the content back to disk without waiting for it.
  void startFlush();
  // commit() without syncing the folder.
  bool flushAndRename();

  std::string target_;
  std::string temp_;
  platform::NativeFile file_ = platform::kNoFile;
};

// CommitBatch puts several completely written files in place together.
// Committing files one by one makes each wait for its own disk round trip
// and, on journalling file systems, its own journal commit; a batch starts
// writing every file back as soon as it is added, then flushes and renames
// them in the order they were added and syncs each folder once.  Crash
// safety is the same as one by one: no file is renamed over its target
// before its content is on disk, and the steps between the files happen in
// the same order as they would one by one.  Files still in a batch when it
// is destroyed are discarded, their targets untouched.
class CommitBatch {
 public:
  CommitBatch() = default;
  CommitBatch(const CommitBatch&) = delete;
  CommitBatch& operator=(const CommitBatch&) = delete;

  // Takes a writer whose content is complete.  `committed` runs once the
  // file is in place; `failed` runs, with errno telling why, if it cannot
  // be put in place.
  void add(std::unique_ptr<SafeFileWriter> file, std::function<void()> committed,
           std::function<void()> failed);
  // Adds a step that runs in its turn among the files (removing a file that
  // has become stale, say).  It records its own failure and returns false
  // to stop the batch there.
  void addStep(std::function<bool()> step);
  // Puts every file in place and runs every step, in order.  At the first
  // file that cannot be put in place (after running its `failed`) or step
  // that fails, discards the files after it and returns false.  The batch is
  // empty afterwards either way.
  bool commitAll();

 private:
  struct Entry {
    std::unique_ptr<SafeFileWriter> file;  // or a step instead
    std::function<void()> committed;
    std::function<void()> failed;
    std::function<bool()> step;
  };
  bool run(Entry& entry, std::vector<std::string>* folders);
  std::vector<Entry> entries_;
};

}  // namespace tav

#endif  // TAVC_DBF_FILE_IO_H_
