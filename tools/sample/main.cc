// tavc_sample: writes the sample competition database (or a large generated
// one) from the schema and the competition description.
//
//   tavc_sample --schema FILE --description FILE --db FOLDER --app FOLDER
//               [--indexes] [--large CATEGORIES [--entries N] [--register N]]
//               [--broken FOLDER]
//   tavc_sample --schema FILE --protocol FILE --db FOLDER --app FOLDER [--indexes]
//
// The database folder receives every table of a version 11135 database (and
// with --indexes a .CDX companion for the main tables); the application
// folder receives the abbreviation files state_abbrev and misc_abbrev.  With
// --broken, FOLDER receives a copy of the database with the faults the
// verification finds (broken_copy.h).  With --protocol the database holds
// the competition of a protocol file instead (protocol_competition.h).  The folders are replaced as a whole.  The output depends only on the inputs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "broken_copy.h"
#include "contest.h"
#include "database_writer.h"
#include "description_reader.h"
#include "large_competition.h"
#include "protocol_competition.h"
#include "protocol_reader.h"
#include "schema.h"

namespace {

struct Options {
  std::string schema, description, protocol, db, app, broken;
  bool indexes = false;
  bool large = false;
  tav::sample::Scale scale;
};

void usage() {
  std::fprintf(stderr,
               "usage: tavc_sample --schema FILE --description FILE --db FOLDER --app FOLDER\n"
               "                   [--indexes] [--large CATEGORIES [--entries N] [--register N]]\n"
               "                   [--broken FOLDER]\n"
               "       tavc_sample --schema FILE --protocol FILE --db FOLDER --app FOLDER [--indexes]\n");
}

bool positiveNumber(const char* text, int* value) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || n < 1 || n > 10000000) return false;
  *value = static_cast<int>(n);
  return true;
}

bool parseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--indexes") {
      options->indexes = true;
    } else if (arg == "--schema" && hasValue) {
      options->schema = argv[++i];
    } else if (arg == "--description" && hasValue) {
      options->description = argv[++i];
    } else if (arg == "--protocol" && hasValue) {
      options->protocol = argv[++i];
    } else if (arg == "--db" && hasValue) {
      options->db = argv[++i];
    } else if (arg == "--broken" && hasValue) {
      options->broken = argv[++i];
    } else if (arg == "--app" && hasValue) {
      options->app = argv[++i];
    } else if (arg == "--large" && hasValue) {
      options->large = true;
      if (!positiveNumber(argv[++i], &options->scale.categories)) return false;
    } else if (arg == "--entries" && hasValue) {
      if (!positiveNumber(argv[++i], &options->scale.entries)) return false;
    } else if (arg == "--register" && hasValue) {
      if (!positiveNumber(argv[++i], &options->scale.registerSize)) return false;
    } else {
      return false;
    }
  }
  const bool protocol = !options->protocol.empty();
  return !options->schema.empty() && options->description.empty() == protocol &&
         !(protocol && (options->large || !options->broken.empty())) && !options->db.empty() &&
         !options->app.empty();
}

// The competition of the description (scaled up with --large), played.
bool playDescription(const Options& options, tav::sample::Competition* competition,
                     tav::sample::ContestResult* result, std::string* error) {
  using namespace tav::sample;
  return DescriptionReader().read(options.description, competition, error) &&
         (!options.large || scaleCompetition(options.scale, competition, error)) &&
         ContestRunner(*competition).run(result, error);
}

// The competition of a protocol file, as it was scored.
bool layOutProtocol(const std::string& path, tav::sample::Competition* competition,
                    tav::sample::ContestResult* result, std::string* error) {
  tav::sample::Protocol protocol;
  const std::size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return tav::sample::readProtocol(path, &protocol, error) &&
         tav::sample::protocolCompetition(protocol, name.substr(0, 24), competition, result, error);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tav::sample;
  const auto started = std::chrono::steady_clock::now();
  Options options;
  if (!parseOptions(argc, argv, &options)) {
    usage();
    return 2;
  }
  std::string error;
  Schema schema;
  Competition competition;
  ContestResult result;
  if (!schema.read(options.schema, &error) || !(options.protocol.empty()
          ? playDescription(options, &competition, &result, &error)
          : layOutProtocol(options.protocol, &competition, &result, &error))) {
    std::fprintf(stderr, "tavc_sample: %s\n", error.c_str());
    return 1;
  }
  DatabaseWriter writer(schema, competition, result);
  if (!writer.build(&error) || !writer.writeDatabase(options.db, options.indexes, &error) ||
      !writer.writeApplication(options.app, &error) ||
      (!options.broken.empty() && !writeBrokenCopy(options.db, options.broken, &error))) {
    std::fprintf(stderr, "tavc_sample: %s\n", error.c_str());
    return 1;
  }
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::size_t records = 0;
  for (const auto& [code, count] : writer.counts()) records += count;
  std::printf("tavc_sample: %zu tables, %zu records in %s (%.1f s)\n", schema.tables().size(),
              records, options.db.c_str(), seconds);
  return 0;
}
