// Feeds arbitrary bytes as store files: the input split at NUL bytes gives
// RULES.DAT, CONDITNS.DAT and RULES.DAT.new (missing when there are fewer
// parts). A store that loads is dumped, saved and read back, and must give
// the same rules.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "rulestool/RuleDump.h"
#include "tests/rulestore/StoreFixtures.h"

namespace {

void writeParts(const storetest::ScratchFolder& folder, std::string_view input) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    std::filesystem::remove_all(entry.path(), ignored);
  for (const char* name : {"RULES.DAT", "CONDITNS.DAT", "RULES.DAT.new"}) {
    std::size_t end = input.find('\0');
    storetest::writeFile(folder.file(name), std::string(input.substr(0, end)));
    if (end == std::string_view::npos) return;
    input.remove_prefix(end + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const storetest::ScratchFolder folder(storetest::fastScratchBase());
  writeParts(folder, size == 0 ? std::string_view() : std::string_view(reinterpret_cast<const char*>(data), size));
  for (const char* source : {static_cast<const char*>(nullptr), "Mail/bob"}) {
    CKillFile store;
    if (!store.LoadData(folder.path().c_str(), true, source)) continue;
    (void)kestrane::TextDump(store);
  }
  CKillFile store;
  if (!store.LoadData(folder.path().c_str(), true, "*")) return 0;
  const std::string before = kestrane::XmlDump(store);
  if (!store.SaveData(false)) std::abort();
  CKillFile reloaded;
  if (!reloaded.LoadData(folder.path().c_str(), true, "*") || kestrane::XmlDump(reloaded) != before)
    std::abort();
  return 0;
}
