#include "rulestore/CKillFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <random>

#include "platform/win/kernel/ReplacementFile.h"
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

// A store being saved has its files replaced by renames; a pair read while
// that happens is read again this many times at most.
constexpr int kMaxPairReads = 20;

enum class ReadResult { Read, Missing, Failed };

// Size and contents come from one open file, so a rename over the path while
// it is read cannot mix two files. Opening never waits (a FIFO in the store's
// place is refused, not waited on).
ReadResult readWholeFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
  struct stat info {};
  bool ok =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) <= kMaxFileBytes;
  if (ok) bytes.assign(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t filled = 0;
  while (ok && filled < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    ok = got > 0;
    if (ok) filled += static_cast<std::size_t>(got);
  }
  char extra = 0;
  ok = ok && ::read(fd, &extra, 1) == 0;  // the file did not grow
  ::close(fd);
  return ok ? ReadResult::Read : ReadResult::Failed;
}

// One reading of the pair.
struct PairRead {
  enum Outcome { Whole, Empty, Refused, StampsDiffer };
  Outcome outcome = Refused;
  std::vector<std::unique_ptr<CRuleDefinition>> rules;
  std::string stamp;          // of the conditions file
  bool pendingRules = false;  // the rules came from RULES.DAT.new
  std::string stampsSeen;     // every stamp read, when they did not agree
};

PairRead readPairOnce(const std::string& base) {
  PairRead read;
  std::string rulesBytes, conditionsBytes, pendingBytes;
  const ReadResult rules = readWholeFile(base + kRulesFile, rulesBytes);
  const ReadResult conditions = readWholeFile(base + kConditionsFile, conditionsBytes);
  if (rules == ReadResult::Failed || conditions == ReadResult::Failed) return read;
  if (rules == ReadResult::Missing && conditions == ReadResult::Missing) {
    read.outcome = PairRead::Empty;
    return read;
  }
  std::vector<rulestore::StoredCondition> stored;
  if (conditions != ReadResult::Read || !rulestore::ParseConditions(conditionsBytes, read.stamp, stored)) return read;
  // The conditions file is renamed last-but-one and decides which rules file
  // belongs to it: RULES.DAT normally, RULES.DAT.new after a save that was cut
  // off just before its final rename.
  std::string rulesStamp, pendingStamp;
  if (rules == ReadResult::Read && !rulestore::ParseRules(rulesBytes, rulesStamp, read.rules)) return read;
  if (rules != ReadResult::Read || rulesStamp != read.stamp) {
    const ReadResult pending = readWholeFile(base + kPendingRulesFile, pendingBytes);
    if (pending == ReadResult::Failed) return read;
    if (pending == ReadResult::Read && !rulestore::ParseRules(pendingBytes, pendingStamp, read.rules)) return read;
    if (pending == ReadResult::Missing || pendingStamp != read.stamp) {
      read.outcome = PairRead::StampsDiffer;
      read.stampsSeen = rulesStamp + "/" + read.stamp + "/" + pendingStamp;
      return read;
    }
    read.pendingRules = true;
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

}  // namespace

CKillFile::CKillFile() = default;
CKillFile::~CKillFile() = default;

bool CKillFile::LoadData(const char* directory, bool bySource, const char* source) {
  loaded_ = false;
  pendingRules_ = false;
  rules_.clear();
  loadedSet_.clear();
  directory_ = directory != nullptr && *directory != '\0' ? directory : ".";

  PairRead read = readPair(directory_ + "/");
  if (read.outcome == PairRead::Empty) {
    loaded_ = true;  // a folder without a store holds an empty one
    insertAt_ = 0;
    return true;
  }
  if (read.outcome != PairRead::Whole) return false;

  rules_ = std::move(read.rules);
  pendingRules_ = read.pendingRules;
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
  // Saves that were killed leave their temporary files behind; they go now.
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
