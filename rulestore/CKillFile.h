#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rulestore/CRuleDefinition.h"
#include "rulestore/Position.h"

// The rule store of one folder: RULES.DAT and CONDITNS.DAT (see FORMAT.md).
// LoadData reads every rule but hands out only the loaded set, the rules that
// one source sees; SaveData writes the loaded set back in place and keeps
// every other rule exactly as and where it was.
class CKillFile {
 public:
  CKillFile();
  ~CKillFile();
  CKillFile(const CKillFile&) = delete;
  CKillFile& operator=(const CKillFile&) = delete;

  // Reads the store in directory ("" for the current one). With bySource the
  // loaded set is what source sees: the global rules for none or "", every
  // rule for "*", else the non-global rules whose source equals it without
  // regard to case; without bySource it is every rule. A folder without
  // either file holds an empty store. False (and nothing loaded) when the
  // files cannot be read or are not a whole, consistent store. A save by
  // another process that lands between the reads of the two files makes the
  // pair be read again.
  bool LoadData(const char* directory, bool bySource, const char* source);
  // Writes the store back, both files whole or not at all. The flag is
  // accepted for callers that saved one user's rules; rules outside the
  // loaded set are kept whatever it says. False when nothing was loaded or
  // the save could not be completed and confirmed on disk; the store then
  // reads as the old rules or the new ones, never a mix, and the next save
  // completes it. A save also removes the temporary files of saves that were
  // killed.
  bool SaveData(bool oneUser);

  Position GetHeadPosition() const;
  // The loaded rule at pos, in store order; pos moves on, to none after the last.
  CRuleDefinition* GetNext(Position& pos) const;
  // Takes a new rule into the loaded set; it is stored after the last loaded rule.
  void Add(std::unique_ptr<CRuleDefinition> rule);

 private:
  std::string directory_;
  std::string stamp_;  // of the pair on disk
  bool loaded_ = false;
  bool pendingRules_ = false;                            // the committed rules are still in RULES.DAT.new
  std::vector<std::unique_ptr<CRuleDefinition>> rules_;  // every rule, store order
  std::vector<CRuleDefinition*> loadedSet_;              // links into rules_
  std::size_t insertAt_ = 0;                             // where Add places a rule in rules_
};
