#include "rulestore/CKillFile.h"

#include <cctype>
#include <cerrno>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "rulestore/PendingFile.h"
#include "rulestore/StoreFormat.h"

namespace {

using rulestore::PendingFile;

constexpr const char* kRulesFile = "RULES.DAT";
constexpr const char* kConditionsFile = "CONDITNS.DAT";
// A saved rules file waits under this name until the conditions file is in
// place; see FORMAT.md for the order of the renames.
constexpr const char* kPendingRulesFile = "RULES.DAT.new";
constexpr std::uint64_t kMaxFileBytes = 256ull << 20;

enum class ReadResult { Read, Missing, Failed };

ReadResult readWholeFile(const std::string& path, std::string& bytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  if (!S_ISREG(info.st_mode) || static_cast<std::uint64_t>(info.st_size) > kMaxFileBytes) return ReadResult::Failed;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadResult::Failed;
  bytes.assign(static_cast<std::size_t>(info.st_size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size()) || in.peek() != EOF) return ReadResult::Failed;
  return ReadResult::Read;
}

bool equalsNoCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
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

}  // namespace

CKillFile::CKillFile() = default;
CKillFile::~CKillFile() = default;

bool CKillFile::LoadData(const char* directory, bool bySource, const char* source) {
  loaded_ = false;
  pendingRules_ = false;
  rules_.clear();
  loadedSet_.clear();
  directory_ = directory != nullptr && *directory != '\0' ? directory : ".";
  const std::string base = directory_ + "/";

  std::string rulesBytes, conditionsBytes, pendingBytes;
  ReadResult rules = readWholeFile(base + kRulesFile, rulesBytes);
  ReadResult conditions = readWholeFile(base + kConditionsFile, conditionsBytes);
  if (rules == ReadResult::Failed || conditions == ReadResult::Failed) return false;

  std::vector<std::unique_ptr<CRuleDefinition>> parsed;
  if (rules == ReadResult::Missing && conditions == ReadResult::Missing) {
    loaded_ = true;  // a folder without a store holds an empty one
    insertAt_ = 0;
    return true;
  }
  std::string conditionsStamp, rulesStamp;
  std::vector<rulestore::StoredCondition> stored;
  if (conditions != ReadResult::Read || !rulestore::ParseConditions(conditionsBytes, conditionsStamp, stored))
    return false;
  // The conditions file is renamed last-but-one and decides which rules file
  // belongs to it: RULES.DAT normally, RULES.DAT.new after a save that was cut
  // off just before its final rename.
  bool rulesMatch = rules == ReadResult::Read && rulestore::ParseRules(rulesBytes, rulesStamp, parsed) &&
                    rulesStamp == conditionsStamp;
  if (!rulesMatch) {
    if (readWholeFile(base + kPendingRulesFile, pendingBytes) != ReadResult::Read ||
        !rulestore::ParseRules(pendingBytes, rulesStamp, parsed) || rulesStamp != conditionsStamp)
      return false;
    pendingRules_ = true;
  }
  if (!rulestore::AttachConditions(stored, parsed)) return false;

  rules_ = std::move(parsed);
  insertAt_ = rules_.size();
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    if (sees(*rules_[i], bySource, source)) {
      loadedSet_.push_back(rules_[i].get());
      insertAt_ = i + 1;
    }
  }
  if (loadedSet_.empty()) insertAt_ = rules_.size();
  stamp_ = conditionsStamp;
  loaded_ = true;
  return true;
}

bool CKillFile::SaveData(bool /*oneUser*/) {
  if (!loaded_) return false;
  const std::string base = directory_ + "/";
  // Finish a save that was cut off before its last rename, so that the
  // pending name is free again.
  if (pendingRules_) {
    if (!rulestore::RenameDurably(base + kPendingRulesFile, base + kRulesFile)) return false;
    pendingRules_ = false;
  }
  std::vector<const CRuleDefinition*> all;
  all.reserve(rules_.size());
  for (const auto& rule : rules_) all.push_back(rule.get());
  const std::string stamp = newStamp(stamp_);

  PendingFile rulesFile(base + kRulesFile);
  PendingFile conditionsFile(base + kConditionsFile);
  if (!writeSynced(rulesFile, rulestore::FormatRules(all, stamp)) ||
      !writeSynced(conditionsFile, rulestore::FormatConditions(all, stamp)))
    return false;
  // Until the conditions file is renamed the old pair is the store; after it
  // the new conditions pick RULES.DAT.new, and the last rename completes it.
  if (!rulesFile.CommitAs(base + kPendingRulesFile) || !conditionsFile.Commit()) return false;
  stamp_ = stamp;
  // The new rules are the store from here on; should the last rename fail,
  // they are read from the pending name and the next save completes it.
  pendingRules_ = !rulestore::RenameDurably(base + kPendingRulesFile, base + kRulesFile);
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
