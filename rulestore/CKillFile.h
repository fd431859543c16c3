#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "rulestore/CRuleDefinition.h"
#include "rulestore/Position.h"
#include "rulestore/StoreLock.h"

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
  // Takes the writers' lock of the store in directory and holds it as long as
  // this object lives, so that its read, merge and save are one turn that no
  // other writer's save interleaves with. Waits at most maxWait for the
  // writer that holds it (Busy when that ran out).
  rulestore::StoreLock::Result LockStore(const char* directory, std::chrono::milliseconds maxWait);
  // Writes the store back, both files whole or not at all, holding the
  // store's lock (the one LockStore took, else its own for the save). The
  // flag is accepted for callers that saved one user's rules; rules outside
  // the loaded set are kept whatever it says. False when nothing was loaded,
  // the lock could not be had, or the save could not be completed and
  // confirmed on disk (every rename and folder sync included); the store then
  // reads as the old rules or the new ones, never a mix, and the next save
  // supersedes it. A save also removes the temporary files of saves that
  // were killed.
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
  std::vector<std::unique_ptr<CRuleDefinition>> rules_;  // every rule, store order
  std::vector<CRuleDefinition*> loadedSet_;              // links into rules_
  std::size_t insertAt_ = 0;                             // where Add places a rule in rules_
  rulestore::StoreLock lock_;                            // taken by LockStore
};
