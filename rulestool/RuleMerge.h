#pragma once

#include <ostream>

class CKillFile;
class TiXmlDocument;

namespace kestrane {

struct MergeOptions {
  int debugLevel = 0;
  bool noChange = false;  // validate and report, change no rule
};

// Merges the rules of a rules document that the source sees (none: the
// global ones, "*": all, else that source's) into the store: the i-th
// accepted rule replaces the store's i-th loaded rule, further ones are
// added, and stored rules left over are retired as InvalidAction. Without a
// store it only validates and counts (the dry run). The number of accepted
// rules, or -1 after a validation message.
int MergeRules(const TiXmlDocument& document, const char* source, CKillFile* store, const MergeOptions& options,
               std::ostream& err);

}  // namespace kestrane
