// Bulk maintenance over the whole database: erasing all competition data and
// removing deleted records from every table.  Both renumber records that the
// event tree and the register hold: the tree is discarded (the application
// builds it again) and the register, when it was built, is built again.
// Everything changes memory only, until the application saves.
#ifndef TAVC_EVENT_MAINTENANCE_H_
#define TAVC_EVENT_MAINTENANCE_H_

namespace tav {

// Discards the event tree and empties the competition tables of the
// database's version (BST, CFG, DGR, ELL, ELM, NAT, WBG and WBP stay).
// Every table is found before any is emptied.
bool eraseAll();

// Removes the deleted records of every open table; `removed` tells whether
// any table lost records.  Never fails.
bool compress(bool* removed);

}  // namespace tav

#endif  // TAVC_EVENT_MAINTENANCE_H_
