#pragma once
// Version information of modules: a block of named strings per language and
// code page, with a translation table naming those pairs. A module's block is
// compiled into it and registered under the module's file name at start-up;
// the three query calls read it back as the version service of Windows does.
// The block's byte layout is our own (see VersionInfo.cpp); callers only
// copy it whole and ask VerQueryValueA for pieces.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace win {

// One string table: the language and code page it is for, and its values.
struct VersionStringTable {
  WORD language = 0x0409;   // US English
  WORD codePage = 0x04E4;   // 1252
  std::vector<std::pair<std::string, std::string>> values;  // key, value
};

// Builds a block whose translation table lists each table's (language, code page).
std::vector<BYTE> buildVersionBlock(const std::vector<VersionStringTable>& tables);
// Registers (or replaces) the block of the module with that file name.
void registerVersionBlock(const std::string& moduleFileName, std::vector<BYTE> block);
void forgetVersionBlocks();

// The size of the file's block, 0 when it has none (handle is set to 0).
DWORD GetFileVersionInfoSizeA(const char* fileName, DWORD* handle);
// Copies the block into data; FALSE when there is none or it does not fit.
BOOL GetFileVersionInfoA(const char* fileName, DWORD handle, DWORD length, void* data);
// Finds a value inside a copied block: "\\VarFileInfo\\Translation" gives the
// translation table (one DWORD per table: language in the low word, code
// page in the high word), "\\StringFileInfo\\<8 hex digits>\\<key>" a
// NUL-terminated value (length counts the NUL). Names compare without regard
// to case. The result points into the block. FALSE when absent.
BOOL VerQueryValueA(const void* block, const char* subBlock, void** buffer, UINT* length);

}  // namespace win
