#include "report/page_inputs.h"

#include <functional>

#include "event/category.h"
#include "event/node_record.h"
#include "event/participant.h"
#include "event/performance.h"
#include "event/segment.h"
#include "session/tav.h"

namespace tav {
namespace {

bool isEventTable(const std::string& handle) {
  return handle == "CAT" || handle == "SCP" || handle == "PAR" || handle == "PRF";
}

void addTable(const CDbf& table, Fingerprint* print) {
  print->add(table.code());
  print->add(static_cast<std::int64_t>(table.header().recordLength));
  print->add(static_cast<std::int64_t>(table.fields().size()));
  const std::size_t count = table.numRecordsHeld();
  print->add(static_cast<std::int64_t>(count));
  for (std::size_t r = 0; r < count; ++r) print->add(table.recordBytes(r));
}

}  // namespace

void Fingerprint::mix(std::uint64_t word) {
  // The finalizer of SplitMix64 over the running value and the new word.
  std::uint64_t z = value_ ^ (word + 0x9E3779B97F4A7C15ULL + (value_ << 6) + (value_ >> 2));
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  value_ = z ^ (z >> 31);
}

void Fingerprint::add(std::string_view bytes) {
  mix(static_cast<std::uint64_t>(std::hash<std::string_view>()(bytes)));
  mix(bytes.size());
}

void Fingerprint::add(std::int64_t number) { mix(static_cast<std::uint64_t>(number)); }

void Fingerprint::add(const NodeRecord& record) {
  add(std::string_view(record.handle()));
  add(static_cast<std::int64_t>(record.recNo()));
  const auto& tables = session().handles().tables();
  const auto it = tables.find(record.handle());
  if (it != tables.end() && record.recNo() < it->second->numRecordsHeld()) {
    add(it->second->recordBytes(record.recNo()));
  } else {
    add(static_cast<std::int64_t>(-1));  // gone: the pages report it
  }
}

std::uint64_t sharedInputs(const HtmlOptions& options) {
  Fingerprint print;
  for (std::int64_t number :
       {std::int64_t{options.catId}, std::int64_t{options.masterIdx},
        std::int64_t{options.sssIdx}, std::int64_t{options.noIndex},
        std::int64_t{options.indexOnly}, std::int64_t{options.genXML},
        std::int64_t{options.useOmfColors}, std::int64_t{options.includeNation},
        std::int64_t{options.format}, std::int64_t{options.localCopyFlag},
        std::int64_t{options.startOrderFlag}, std::int64_t{options.tvNameFlag},
        std::int64_t{options.detailFlag}, std::int64_t{options.activeSeg}}) {
    print.add(number);
  }
  print.add(options.sixtyHtmlFolder);
  for (const auto& entry : session().handles().tables()) {
    if (!isEventTable(entry.first)) addTable(*entry.second, &print);
  }
  return print.value();
}

std::uint64_t categoryInputs(std::uint64_t shared, const CCategory& category) {
  Fingerprint print;
  print.add(static_cast<std::int64_t>(shared));
  print.add(category.record());
  for (int slot : category.slots()) print.add(static_cast<std::int64_t>(slot));
  for (const auto& segment : category.segments()) {
    print.add(segment.second->record());
    for (const auto& performance : segment.second->performances()) {
      print.add(performance.second->record());
    }
  }
  for (const auto& participant : category.participants()) {
    print.add(participant.second->record());
  }
  return print.value();
}

}  // namespace tav
