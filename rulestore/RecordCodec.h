#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The framing shared by both store files (see FORMAT.md): a header line with
// the format name and version, a stamp line, records of tab-separated escaped
// fields, and an end line with the record count and the CRC-32 of every byte
// before it. Lines end with "\n".
namespace rulestore {

inline constexpr int kFormatVersion = 1;

// Field escaping: "%", ",", bytes below 0x20 and 0x7F become "%XX".
std::string EscapeField(std::string_view text);
// False for a malformed escape or an escaped NUL.
bool UnescapeField(std::string_view field, std::string& text);

std::uint32_t Crc32(std::string_view bytes);

// Builds one framed file.
class FramedWriter {
 public:
  FramedWriter(std::string_view formatName, std::string_view stamp);
  // Writes kind and the already escaped fields as one record line.
  void Record(std::string_view kind, const std::vector<std::string>& fields);
  // The finished file, end line included.
  std::string Finish();

 private:
  std::string bytes_;
  std::uint64_t count_ = 0;
};

// Reads one framed file. onRecord receives the raw (still escaped) fields of
// each record after its kind and returns false to refuse the file. False for
// any framing fault: wrong name or version, a missing or bad stamp, a
// record of another kind or width, a missing end line, wrong count or CRC.
bool ReadFramed(std::string_view bytes, std::string_view formatName, std::string_view recordKind,
                std::size_t fieldCount, std::string& stamp,
                const std::function<bool(const std::vector<std::string_view>&)>& onRecord);

// Strict decimal numbers as the writer writes them.
bool ParseInt(std::string_view text, int& value);
bool ParseIndex(std::string_view text, std::uint64_t& value);
bool ParseFlag(std::string_view text, bool& value);

}  // namespace rulestore
