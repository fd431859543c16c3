#pragma once

#include <string>

// The session settings that a program hands the store before it merges rules:
// the program's directory, the user (or "user" for all users), two reserved
// texts and whether all users' rules are being worked on. The store records
// them for the session; nothing in its files depends on them.
struct StoreGlobals {
  std::string directory;
  std::string user;
  std::string reserved1;
  std::string reserved2;
  bool allUsers = false;
};

void SetGlobals(const char* directory, const char* user, const char* reserved1, const char* reserved2, short allUsers);

const StoreGlobals& CurrentStoreGlobals();
void ResetStoreGlobals();
