#include "platform/win/kernel/VersionInfo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/win/kernel/LastError.h"

// Block layout, all numbers little-endian DWORDs:
//   total size in bytes, magic, table count N, N translation values,
//   then per table: its value count and that many "key\0value\0" pairs.
namespace win {
namespace {

constexpr DWORD kMagic = 0x42565750;  // "PWVB"
constexpr std::size_t kHeaderWords = 3;

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::vector<BYTE>> blocks;
};

Registry& registry() {
  static Registry instance;
  return instance;
}

void appendWord(std::vector<BYTE>& out, DWORD value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<BYTE>(value >> shift));
}

void appendText(std::vector<BYTE>& out, const std::string& text) {
  // A value ends at its first NUL, as the query hands it out.
  out.insert(out.end(), text.begin(), std::find(text.begin(), text.end(), '\0'));
  out.push_back(0);
}

// Reads the block within its stated size; every read is bounds-checked.
class BlockReader {
 public:
  BlockReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
  bool word(DWORD& value) {
    if (size_ - pos_ < 4) return false;
    std::memcpy(&value, data_ + pos_, 4);
    pos_ += 4;
    return true;
  }
  bool text(std::string_view& value) {
    const BYTE* start = data_ + pos_;
    const void* end = std::memchr(start, 0, size_ - pos_);
    if (!end) return false;
    value = std::string_view(reinterpret_cast<const char*>(start), static_cast<const BYTE*>(end) - start);
    pos_ += value.size() + 1;
    return true;
  }
  std::size_t pos() const { return pos_; }

 private:
  const BYTE* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

bool sameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

// The path's parts between backslashes, empty parts dropped.
std::vector<std::string_view> splitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string tableName(DWORD translation) {
  char name[9];
  std::snprintf(name, sizeof name, "%04x%04x", static_cast<unsigned>(translation & 0xFFFF),
                static_cast<unsigned>(translation >> 16));
  return name;
}

bool findValue(const BYTE* block, std::string_view table, std::string_view key, void** buffer, UINT* length) {
  DWORD size = 0, magic = 0, count = 0;
  BlockReader header(block, 12);
  if (!header.word(size) || !header.word(magic) || !header.word(count) || magic != kMagic) return false;
  BlockReader reader(block, size);
  for (std::size_t i = 0; i < kHeaderWords; ++i) reader.word(magic);
  std::vector<DWORD> translations(std::min<DWORD>(count, size / 4));
  for (DWORD& translation : translations)
    if (!reader.word(translation)) return false;
  for (const DWORD translation : translations) {
    DWORD values = 0;
    if (!reader.word(values)) return false;
    const bool wanted = sameText(tableName(translation), table);
    for (DWORD v = 0; v < values; ++v) {
      std::string_view name, value;
      if (!reader.text(name) || !reader.text(value)) return false;
      if (wanted && sameText(name, key)) {
        *buffer = const_cast<char*>(value.data());
        *length = static_cast<UINT>(value.size() + 1);
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::vector<BYTE> buildVersionBlock(const std::vector<VersionStringTable>& tables) {
  std::vector<BYTE> block;
  appendWord(block, 0);
  appendWord(block, kMagic);
  appendWord(block, static_cast<DWORD>(tables.size()));
  for (const VersionStringTable& table : tables)
    appendWord(block, static_cast<DWORD>(table.language) | (static_cast<DWORD>(table.codePage) << 16));
  for (const VersionStringTable& table : tables) {
    appendWord(block, static_cast<DWORD>(table.values.size()));
    for (const auto& [key, value] : table.values) {
      appendText(block, key);
      appendText(block, value);
    }
  }
  const auto size = static_cast<DWORD>(block.size());
  std::memcpy(block.data(), &size, 4);
  return block;
}

void registerVersionBlock(const std::string& moduleFileName, std::vector<BYTE> block) {
  std::lock_guard lock(registry().mutex);
  registry().blocks[moduleFileName] = std::move(block);
}

void forgetVersionBlocks() {
  std::lock_guard lock(registry().mutex);
  registry().blocks.clear();
}

DWORD GetFileVersionInfoSizeA(const char* fileName, DWORD* handle) {
  if (handle) *handle = 0;
  std::lock_guard lock(registry().mutex);
  const auto found = fileName ? registry().blocks.find(fileName) : registry().blocks.end();
  if (found == registry().blocks.end()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  return static_cast<DWORD>(found->second.size());
}

BOOL GetFileVersionInfoA(const char* fileName, DWORD /*handle*/, DWORD length, void* data) {
  std::lock_guard lock(registry().mutex);
  const auto found = fileName ? registry().blocks.find(fileName) : registry().blocks.end();
  if (found == registry().blocks.end() || !data) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (length < found->second.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(data, found->second.data(), found->second.size());
  return TRUE;
}

BOOL VerQueryValueA(const void* block, const char* subBlock, void** buffer, UINT* length) {
  if (!block || !subBlock || !buffer || !length) return FALSE;
  const auto* bytes = static_cast<const BYTE*>(block);
  const std::vector<std::string_view> parts = splitPath(subBlock);
  if (parts.size() == 2 && sameText(parts[0], "VarFileInfo") && sameText(parts[1], "Translation")) {
    DWORD size = 0, magic = 0, count = 0;
    BlockReader header(bytes, 12);
    if (!header.word(size) || !header.word(magic) || !header.word(count) || magic != kMagic || size < 12 ||
        count == 0 || count > (size - 12) / 4)
      return FALSE;
    *buffer = const_cast<BYTE*>(bytes + 12);
    *length = count * 4;
    return TRUE;
  }
  const bool found = parts.size() == 3 && sameText(parts[0], "StringFileInfo") &&
                     findValue(bytes, parts[1], parts[2], buffer, length);
  return found ? TRUE : FALSE;
}

}  // namespace win
