#include "rulestool/Commands.h"

#include <tinyxml.h>

#include "rulestool/DumpOutput.h"
#include "rulestool/Messages.h"
#include "rulestool/RuleDump.h"
#include "rulestool/RuleMerge.h"
#include "rulestool/RulesDocument.h"
#include "rulestore/CKillFile.h"
#include "rulestore/StoreGlobals.h"

namespace kestrane {

namespace {

const char* const kCannotLoadStore = "Cannot load rules file in current directory";
const char* const kNothingLoaded = "The rules file has errors; no rules were loaded";
const char* const kErrorSaving = "Error saving rules";

const char* sourceText(const std::optional<std::string>& source) { return source ? source->c_str() : nullptr; }

}  // namespace

int RunKestrane(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TiXmlBase::SetCondenseWhiteSpace(false);
  std::optional<CommandLine> line = ParseCommandLine(args, err);
  if (!line) {
    WriteUsage(err);
    return kExitUsage;
  }
  if (line->user && line->user->size() > kMaxUserNameLength) {
    Message(err, "User name is too long (at most " + std::to_string(kMaxUserNameLength) + " characters)");
    return kExitUsage;
  }
  return line->command == Command::Load ? RunLoad(*line, out, err) : RunDump(*line, out, err);
}

int RunDump(const CommandLine& line, std::ostream& out, std::ostream& err) {
  DumpOutput output(line.filename ? &*line.filename : nullptr, out);
  const std::string shownName = line.filename.value_or("-");
  if (!output.Open()) {
    Message(err, "Cannot create file '" + shownName + "'");
    return kExitCannotCreateOrRead;
  }
  const std::optional<std::string> source = UserToSource(line.user);
  CKillFile store;
  if (!store.LoadData("", true, sourceText(source))) {
    Message(err, kCannotLoadStore);
    return kExitCannotLoadStore;
  }
  if (!output.Finish(line.command == Command::Xml ? XmlDump(store) : TextDump(store))) {
    Message(err, "Cannot create file '" + shownName + "'");
    return kExitCannotCreateOrRead;
  }
  return kExitSuccess;
}

int RunLoad(const CommandLine& line, std::ostream& out, std::ostream& err, std::chrono::milliseconds lockWait) {
  TiXmlDocument document;
  std::string error;
  if (!LoadRulesDocument(*line.filename, document, error)) {
    Message(err, error);
    return kExitCannotCreateOrRead;
  }
  const std::optional<std::string> source = UserToSource(line.user);
  const MergeOptions options{line.debugLevel, line.noChange};
  // The dry run validates the whole document before the store is touched.
  int count = MergeRules(document, sourceText(source), nullptr, options, err);
  if (count < 0) {
    Message(err, kNothingLoaded);
    return kExitInvalidRules;
  }
  if (count == 0) {
    Message(err, "No rules in source file");
    return kExitNoRules;
  }
  out << count << " rules to load\n";
  out.flush();

  // The read, merge and save are one turn of the store's writers (under -n
  // too, as the store is saved): a LOAD started meanwhile waits and then
  // merges into this one's result.
  CKillFile store;
  const rulestore::StoreLock::Result lock = store.LockStore("", lockWait);
  if (lock != rulestore::StoreLock::Result::Held) {
    Message(err, lock == rulestore::StoreLock::Result::Busy
                     ? "Another LOAD holds the rules store; gave up waiting for it"
                     : std::string("Cannot lock the rules store (") + rulestore::kStoreLockFile + ")");
    Message(err, kErrorSaving);
    return kExitCannotSave;
  }
  if (!store.LoadData("", true, sourceText(source))) {
    Message(err, kCannotLoadStore);
    return kExitCannotLoadStore;
  }
  const bool all = !source || *source == "*";
  SetGlobals("", all ? "user" : source->c_str(), "", "", all ? 1 : 0);
  if (MergeRules(document, sourceText(source), &store, options, err) < 0) {
    Message(err, kNothingLoaded);
    return kExitInvalidRules;
  }
  if (!store.SaveData(!all)) {
    Message(err, kErrorSaving);
    return kExitCannotSave;
  }
  return kExitSuccess;
}

}  // namespace kestrane
