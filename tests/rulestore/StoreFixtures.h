#pragma once

// Helpers shared by the store and tool tests and the fuzz targets: scratch folders, whole-file
// reads and writes, and rules built in one call.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "rulestore/CKillFile.h"

namespace storetest {

// tmpfs where there is one, for callers that save often: the store syncs
// every file it writes.
inline std::filesystem::path fastScratchBase() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
}

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
    std::string pattern = (base / "rulestore-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every file of a folder by name, to show that nothing changed.
inline std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = entry.is_regular_file() ? readFile(entry.path().string()) : "<folder>";
  return files;
}

struct RuleFields {
  RuleFields(std::string name, std::string source, int action = 1,
             std::vector<std::pair<std::string, int>> headers = {})
      : name(std::move(name)), source(std::move(source)), action(action), headers(std::move(headers)) {}

  std::string name;
  std::string source;  // empty: a global rule
  int action = 1;
  std::vector<std::pair<std::string, int>> headers;  // header name, match type
};

inline std::unique_ptr<CRuleDefinition> makeRule(const RuleFields& fields) {
  auto rule = CRuleDefinition::NewRule("mail", fields.source.c_str(), fields.source.empty(), 0);
  rule->SetName(fields.name.c_str());
  rule->Action = fields.action;
  for (const auto& [header, type] : fields.headers)
    rule->Headers.Add(CHeaderRule::NewRule(header.c_str(), type, ("pattern of " + fields.name).c_str()));
  return rule;
}

// Writes a store of these rules, in this order, into folder.
inline bool fillStore(const std::string& folder, const std::vector<RuleFields>& rules) {
  CKillFile store;
  if (!store.LoadData(folder.c_str(), true, "*")) return false;
  for (const RuleFields& fields : rules) store.Add(makeRule(fields));
  return store.SaveData(false);
}

// The names of the rules that source sees, in store order.
inline std::vector<std::string> loadedNames(const std::string& folder, const char* source) {
  CKillFile store;
  std::vector<std::string> names;
  if (!store.LoadData(folder.c_str(), true, source)) return {"<load failed>"};
  for (Position pos = store.GetHeadPosition(); pos;) names.push_back(store.GetNext(pos)->GetName());
  return names;
}

}  // namespace storetest
