#include "rulestore/StoreGlobals.h"

namespace {

StoreGlobals globals;

std::string textOrEmpty(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

void SetGlobals(const char* directory, const char* user, const char* reserved1, const char* reserved2, short allUsers) {
  globals.directory = textOrEmpty(directory);
  globals.user = textOrEmpty(user);
  globals.reserved1 = textOrEmpty(reserved1);
  globals.reserved2 = textOrEmpty(reserved2);
  globals.allUsers = allUsers != 0;
}

const StoreGlobals& CurrentStoreGlobals() { return globals; }

void ResetStoreGlobals() { globals = StoreGlobals(); }
