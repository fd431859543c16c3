// Feeds arbitrary bytes as the rules document of LOAD: the dry run for each
// kind of source, then the merge into a scratch store of three rules, which
// is saved and read back and must give the same rules.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <tinyxml.h>

#include "rulestool/RuleDump.h"
#include "rulestool/RuleMerge.h"
#include "rulestool/RulesDocument.h"
#include "tests/rulestore/StoreFixtures.h"

namespace {

struct Scratch {
  Scratch() : pristine(storetest::fastScratchBase()), work(storetest::fastScratchBase()) {
    storetest::fillStore(pristine.path(), {{"global", "", 1, {{"Subject", 1}}}, {"bob", "Mail/bob", 2, {{"From", 3}}},
                                       {"ann", "Mail/ann", 3}});
  }
  void reset() const {
    for (const char* name : {"RULES.DAT", "CONDITNS.DAT"})
      storetest::writeFile(work.file(name), storetest::readFile(pristine.file(name)));
  }
  storetest::ScratchFolder pristine, work;
};

void mergeAndReload(const Scratch& scratch, const TiXmlDocument& document, const char* source,
                    const kestrane::MergeOptions& options, std::ostream& sink) {
  scratch.reset();
  CKillFile store;
  if (!store.LoadData(scratch.work.path().c_str(), true, source)) std::abort();
  if (kestrane::MergeRules(document, source, &store, options, sink) < 0) std::abort();
  const std::string merged = kestrane::XmlDump(store);
  if (!store.SaveData(true)) std::abort();
  CKillFile reloaded;
  if (!reloaded.LoadData(scratch.work.path().c_str(), true, source)) std::abort();
  if (kestrane::XmlDump(reloaded) != merged) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Scratch scratch;
  TiXmlBase::SetCondenseWhiteSpace(false);
  std::string text(reinterpret_cast<const char*>(data), size);
  TiXmlDocument document;
  std::string error;
  if (!kestrane::ParseRulesDocument(text, document, error)) return 0;
  std::ostream sink(nullptr);  // messages are dropped
  for (const char* source : {static_cast<const char*>(nullptr), "*", "Mail/bob"}) {
    for (bool noChange : {false, true}) {
      const kestrane::MergeOptions options{2, noChange};
      if (kestrane::MergeRules(document, source, nullptr, options, sink) > 0)
        mergeAndReload(scratch, document, source, options, sink);
    }
  }
  return 0;
}
