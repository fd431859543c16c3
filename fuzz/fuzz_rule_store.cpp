// Feeds arbitrary bytes as store files: the input split at NUL bytes gives
// RULES.DAT, CONDITNS.DAT, the pending rules file named by the conditions'
// stamp and the pending file of the one shared name (missing when there are
// fewer parts). A store that loads is dumped, saved and read back, and must
// give the same rules.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "rulestool/RuleDump.h"
#include "tests/rulestore/StoreFixtures.h"

namespace {

// The pending rules name that a conditions file's stamp line points to.
std::string pendingNameFor(const std::string& conditions) {
  const std::size_t at = conditions.find("\nstamp\t");
  std::string stamp = at == std::string::npos ? std::string() : conditions.substr(at + 7, 16);
  if (stamp.size() != 16 || stamp.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
    stamp = "0000000000000000";
  return "RULES.DAT.new-" + stamp;
}

void writeParts(const storetest::ScratchFolder& folder, std::string_view input) {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
    std::filesystem::remove_all(entry.path(), ignored);
  std::string names[] = {"RULES.DAT", "CONDITNS.DAT", "", "RULES.DAT.new"};
  for (std::string& name : names) {
    const std::size_t end = input.find('\0');
    const std::string part(input.substr(0, end));
    if (name.empty()) name = pendingNameFor(storetest::readFile(folder.file("CONDITNS.DAT")));
    storetest::writeFile(folder.file(name), part);
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
