// Fingerprints of what the pages of the results site are made from, so that
// a publication regenerates only the pages whose inputs changed since the
// last one (see SiteMemory).
//
// A category's pages (its segments' summary, judges' details and starting
// order pages and its result page) read the records of the category, its
// segments, its participants and their performances, and shared data: the
// event, the register and every other table, and the options of the run.
// The shared fingerprint covers every byte of every record of every open
// table other than the four event tables CAT, SCP, PAR and PRF, and the
// options; a category's fingerprint adds the bytes of its own records of
// those four tables.  A change anywhere in the shared data therefore
// regenerates every page, a change to a score only its category's pages.
//
// Fingerprints live only in the memory of one process, so the hash needs no
// fixed definition; it is the standard library's hash of byte strings.
#ifndef TAVC_REPORT_PAGE_INPUTS_H_
#define TAVC_REPORT_PAGE_INPUTS_H_

#include <cstdint>
#include <string_view>

#include "report/html_options.h"

namespace tav {

class CCategory;
class NodeRecord;

class Fingerprint {
 public:
  void add(std::string_view bytes);
  void add(std::int64_t number);
  // A node's record: its table, its number and its bytes.
  void add(const NodeRecord& record);
  std::uint64_t value() const { return value_; }

 private:
  void mix(std::uint64_t word);
  std::uint64_t value_ = 0x6A09E667F3BCC908ULL;
};

// The options and every record of the open tables that are not event tables.
std::uint64_t sharedInputs(const HtmlOptions& options);

// The shared fingerprint and the category's own records.
std::uint64_t categoryInputs(std::uint64_t shared, const CCategory& category);

}  // namespace tav

#endif  // TAVC_REPORT_PAGE_INPUTS_H_
