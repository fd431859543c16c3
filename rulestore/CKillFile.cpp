#include "rulestore/CKillFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>

#include "platform/win/kernel/ReplacementFile.h"
#include "rulestore/PendingFile.h"
#include "rulestore/ReadWholeFile.h"
#include "rulestore/StoreFormat.h"

namespace {

using rulestore::PendingFile;

constexpr const char* kRulesFile = "RULES.DAT";
constexpr const char* kConditionsFile = "CONDITNS.DAT";
// A saved rules file waits under this name and "-" and its stamp until the
// conditions file is in place; see FORMAT.md for the order of the renames.
// Saves of earlier versions used the name alone; it is still read.
constexpr const char* kPendingRulesFile = "RULES.DAT.new";
constexpr std::uint64_t kMaxFileBytes = 256ull << 20;

// A store being saved has its files replaced by renames; a pair read while
// that happens is read again this many times at most.
constexpr int kMaxPairReads = 20;

using rulestore::WholeFileRead;

WholeFileRead readStoreFile(const std::string& path, std::string& bytes) {
  return rulestore::ReadWholeFile(path, kMaxFileBytes, bytes);
}

// The name under which a save's rules wait for its conditions file: its own,
// by the stamp of the save, so that no save can rename another's file.
std::string pendingRulesName(const std::string& stamp) { return std::string(kPendingRulesFile) + "-" + stamp; }

// One reading of the pair.
struct PairRead {
  enum Outcome { Whole, Empty, Refused, StampsDiffer };
  Outcome outcome = Refused;
  std::vector<std::unique_ptr<CRuleDefinition>> rules;
  std::string stamp;       // of the conditions file
  std::string stampsSeen;  // every stamp read, when they did not agree
};

// The rules that wait for the conditions file of stamp: under the save's own
// pending name, or under the one name that earlier saves shared. Missing when
// neither holds rules of that stamp.
WholeFileRead readPendingRules(const std::string& base, const std::string& stamp,
                               std::vector<std::unique_ptr<CRuleDefinition>>& rules, std::string& foundStamp) {
  WholeFileRead pending = WholeFileRead::Missing;
  for (const std::string& name : {pendingRulesName(stamp), std::string(kPendingRulesFile)}) {
    std::string bytes;
    pending = readStoreFile(base + name, bytes);
    if (pending == WholeFileRead::Missing) continue;
    if (pending != WholeFileRead::Read || !rulestore::ParseRules(bytes, foundStamp, rules))
      return WholeFileRead::Failed;
    if (foundStamp == stamp) return WholeFileRead::Read;
  }
  return WholeFileRead::Missing;
}

PairRead readPairOnce(const std::string& base) {
  PairRead read;
  std::string rulesBytes, conditionsBytes;
  const WholeFileRead rules = readStoreFile(base + kRulesFile, rulesBytes);
  const WholeFileRead conditions = readStoreFile(base + kConditionsFile, conditionsBytes);
  const auto unreadable = [](WholeFileRead result) {
    return result != WholeFileRead::Read && result != WholeFileRead::Missing;
  };
  if (unreadable(rules) || unreadable(conditions)) return read;
  if (rules == WholeFileRead::Missing && conditions == WholeFileRead::Missing) {
    read.outcome = PairRead::Empty;
    return read;
  }
  std::vector<rulestore::StoredCondition> stored;
  if (conditions != WholeFileRead::Read || !rulestore::ParseConditions(conditionsBytes, read.stamp, stored))
    return read;
  // The conditions file is renamed last-but-one and decides which rules file
  // belongs to it: RULES.DAT normally, the save's pending rules file after a
  // save that was cut off just before its final rename.
  std::string rulesStamp, pendingStamp;
  if (rules == WholeFileRead::Read && !rulestore::ParseRules(rulesBytes, rulesStamp, read.rules)) return read;
  if (rules != WholeFileRead::Read || rulesStamp != read.stamp) {
    const WholeFileRead pending = readPendingRules(base, read.stamp, read.rules, pendingStamp);
    if (pending == WholeFileRead::Failed) return read;
    if (pending == WholeFileRead::Missing) {
      read.outcome = PairRead::StampsDiffer;
      read.stampsSeen = rulesStamp + "/" + read.stamp + "/" + pendingStamp;
      return read;
    }
  }
  if (rulestore::AttachConditions(stored, read.rules)) read.outcome = PairRead::Whole;
  return read;
}

// A save in another process may complete between the reads of the two files,
// leaving stamps that do not agree. The pair is read again as long as the
// stamps keep changing; a pair whose stamps stay apart is not a store.
PairRead readPair(const std::string& base) {
  PairRead read = readPairOnce(base);
  for (int attempt = 1; read.outcome == PairRead::StampsDiffer && attempt < kMaxPairReads; ++attempt) {
    std::string previous = std::move(read.stampsSeen);
    read = readPairOnce(base);
    if (read.outcome == PairRead::StampsDiffer && read.stampsSeen == previous) break;
  }
  return read;
}

bool equalsNoCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return i == a.size() && b[i] == '\0';
}

bool sees(const CRuleDefinition& rule, bool bySource, const char* source) {
  if (!bySource) return true;
  if (source == nullptr || *source == '\0') return rule.Global;
  if (std::string(source) == "*") return true;
  return !rule.Global && equalsNoCase(rule.GetSource(), source);
}

std::string newStamp(const std::string& previous) {
  std::random_device device;
  std::string stamp;
  do {
    std::uint64_t value = (static_cast<std::uint64_t>(device()) << 32) ^ device();
    stamp.assign(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4) stamp[i] = "0123456789abcdef"[value & 0xF];
  } while (stamp == previous);
  return stamp;
}

bool writeSynced(PendingFile& file, const std::string& bytes) {
  return file.Create() && file.Write(bytes) && file.Sync();
}

std::string folderOf(const char* directory) { return directory != nullptr && *directory != '\0' ? directory : "."; }

bool isPendingRulesName(const std::string& name) {
  const std::string prefix = std::string(kPendingRulesFile) + "-";
  if (name == kPendingRulesFile) return true;
  if (name.size() != prefix.size() + 16 || name.compare(0, prefix.size(), prefix) != 0) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Removes the pending rules files of the folder. Only a save holding the
// store's lock calls it, once its own pair is in place: then no conditions
// file refers to one of them.
void removePendingRules(const std::string& folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
    std::error_code ignored;
    if (isPendingRulesName(entries->path().filename().string()) && entries->is_regular_file(ignored) &&
        !entries->is_symlink(ignored))
      std::filesystem::remove(entries->path(), ignored);
  }
}

}  // namespace

CKillFile::CKillFile() = default;
CKillFile::~CKillFile() = default;

bool CKillFile::LoadData(const char* directory, bool bySource, const char* source) {
  loaded_ = false;
  rules_.clear();
  loadedSet_.clear();
  directory_ = folderOf(directory);

  PairRead read = readPair(directory_ + "/");
  if (read.outcome == PairRead::Empty) {
    loaded_ = true;  // a folder without a store holds an empty one
    insertAt_ = 0;
    return true;
  }
  if (read.outcome != PairRead::Whole) return false;

  rules_ = std::move(read.rules);
  insertAt_ = rules_.size();
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    if (sees(*rules_[i], bySource, source)) {
      loadedSet_.push_back(rules_[i].get());
      insertAt_ = i + 1;
    }
  }
  if (loadedSet_.empty()) insertAt_ = rules_.size();
  stamp_ = read.stamp;
  loaded_ = true;
  return true;
}

rulestore::StoreLock::Result CKillFile::LockStore(const char* directory, std::chrono::milliseconds maxWait) {
  return lock_.Acquire(folderOf(directory), maxWait);
}

bool CKillFile::SaveData(bool /*oneUser*/) {
  if (!loaded_) return false;
  // Writers take turns: a save holds the store's lock, the caller's when it
  // took it for its read, merge and save, else its own for the save alone.
  rulestore::StoreLock saveLock;
  if ((!lock_.Held() || lock_.Folder() != directory_) &&
      saveLock.Acquire(directory_, rulestore::kStoreLockWait) != rulestore::StoreLock::Result::Held)
    return false;
  const std::string base = directory_ + "/";
  std::vector<const CRuleDefinition*> all;
  all.reserve(rules_.size());
  for (const auto& rule : rules_) all.push_back(rule.get());
  const std::string stamp = newStamp(stamp_);
  const std::string pendingPath = base + pendingRulesName(stamp);

  PendingFile rulesFile(base + kRulesFile);
  PendingFile conditionsFile(base + kConditionsFile);
  if (!writeSynced(rulesFile, rulestore::FormatRules(all, stamp)) ||
      !writeSynced(conditionsFile, rulestore::FormatConditions(all, stamp)))
    return false;
  // Until the conditions file is renamed the old pair is the store; after it
  // the new conditions pick this save's pending rules, and the last rename
  // completes it.
  if (!rulesFile.CommitAs(pendingPath) || !conditionsFile.Commit()) return false;
  stamp_ = stamp;
  // Should the last rename or its sync fail, the new rules are read from the
  // pending name; the save is not confirmed, and the next one supersedes it.
  if (!rulestore::RenameDurably(pendingPath, base + kRulesFile)) return false;
  // No conditions file refers to an older pending rules file now, and saves
  // that were killed leave their temporary files behind; they go now.
  removePendingRules(directory_);
  win::removeStaleReplacements(base + kRulesFile);
  win::removeStaleReplacements(base + kConditionsFile);
  return true;
}

Position CKillFile::GetHeadPosition() const { return HeadPosition(loadedSet_.size()); }

CRuleDefinition* CKillFile::GetNext(Position& pos) const { return EntryAt(loadedSet_, pos); }

void CKillFile::Add(std::unique_ptr<CRuleDefinition> rule) {
  if (!rule) return;
  loadedSet_.push_back(rule.get());
  rules_.insert(rules_.begin() + static_cast<std::ptrdiff_t>(insertAt_), std::move(rule));
  ++insertAt_;
}
