// Lays a protocol file (protocol_reader.h) out as a competition, so that the
// database writer puts a real competition into the tables as the scoring
// program would have stored it: one event; a category per discipline and
// level ("JUNIOR PAIRS" of "JUNIOR PAIRS SHORT PROGRAM"), its segments (short
// before free), its entries and one panel of judges per segment; register
// entries with the real names (couples from "Given FAMILY / Given FAMILY",
// the first partner entered as a woman and the second as a man, the order
// in which protocols list pairs and dance couples);
// and every performance with the figures exactly as the protocol prints
// them: start number, place, totals, each element's code, information mark,
// second-half credit, base value, GOE, every judge's grade and panel score,
// each component's factor, every judge's mark and panel score.
//
// What the protocol does not hold is chosen here and is the same for every
// file: the judges are register entries named "Judge 1" to "Judge N" (the
// protocol does not name them); the deductions are kept as one deduction
// "Deductions" of factor 1.00 holding the total; each factored component
// score is the panel's mark times the factor rounded half up to hundredths
// (the protocol's component totals are the sum of these); a component name
// longer than the segment record holds (30 characters) loses what follows
// its last "/" ("Interpretation of the Music/Timing"); each segment is one
// warm-up group; an entry's total is the sum of its segment scores.
#ifndef TAVC_TOOLS_SAMPLE_PROTOCOL_COMPETITION_H_
#define TAVC_TOOLS_SAMPLE_PROTOCOL_COMPETITION_H_

#include <string>

#include "competition.h"
#include "contest.h"
#include "protocol_reader.h"

namespace tav {
namespace sample {

// False with the first fault (an unknown program, a performance whose
// segment has other components, elements not numbered 1, 2, ..., two
// performances of one entry or start number in a segment).  `source` names
// the file in the register entries' comments.
bool protocolCompetition(const Protocol& protocol, const std::string& source,
                         Competition* competition, ContestResult* result, std::string* error);

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_PROTOCOL_COMPETITION_H_
