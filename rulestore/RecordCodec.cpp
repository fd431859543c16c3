#include "rulestore/RecordCodec.h"

#include <array>
#include <charconv>
#include <climits>

namespace rulestore {

namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr auto kCrcTable = makeCrcTable();
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kStampLength = 16;

bool mustEscape(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%' || c == ','; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.push_back(line.substr(start));
      return fields;
    }
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
}

bool validStamp(std::string_view stamp) {
  if (stamp.size() != kStampLength) return false;
  for (char c : stamp) {
    if (hexValue(c) < 0) return false;
  }
  return true;
}

std::string hex32(std::uint32_t value) {
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, value >>= 4) text[i] = kHexDigits[value & 0xF];
  return text;
}

}  // namespace

std::string EscapeField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (mustEscape(c)) {
      out += '%';
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0xF];
    } else {
      out += ch;
    }
  }
  return out;
}

bool UnescapeField(std::string_view field, std::string& text) {
  text.clear();
  text.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      text += field[i];
      continue;
    }
    if (i + 2 >= field.size()) return false;
    int high = hexValue(field[i + 1]);
    int low = hexValue(field[i + 2]);
    if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;  // texts never hold NUL
    text += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

std::uint32_t Crc32(std::string_view bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes) crc = kCrcTable[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

FramedWriter::FramedWriter(std::string_view formatName, std::string_view stamp) {
  bytes_.append(formatName).append("\t").append(std::to_string(kFormatVersion)).append("\n");
  bytes_.append("stamp\t").append(stamp).append("\n");
}

void FramedWriter::Record(std::string_view kind, const std::vector<std::string>& fields) {
  bytes_.append(kind);
  for (const std::string& field : fields) bytes_.append("\t").append(field);
  bytes_.append("\n");
  ++count_;
}

std::string FramedWriter::Finish() {
  std::string crc = hex32(Crc32(bytes_));
  bytes_.append("end\t").append(std::to_string(count_)).append("\t").append(crc).append("\n");
  return std::move(bytes_);
}

bool ReadFramed(std::string_view bytes, std::string_view formatName, std::string_view recordKind,
                std::size_t fieldCount, std::string& stamp,
                const std::function<bool(const std::vector<std::string_view>&)>& onRecord) {
  std::size_t lineStart = 0;
  std::uint64_t lineNumber = 0;
  std::uint64_t records = 0;
  while (lineStart < bytes.size()) {
    std::size_t lineEnd = bytes.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) return false;  // cut off inside a line
    std::vector<std::string_view> fields = splitTabs(bytes.substr(lineStart, lineEnd - lineStart));
    if (lineNumber == 0) {
      if (fields.size() != 2 || fields[0] != formatName || fields[1] != std::to_string(kFormatVersion)) return false;
    } else if (lineNumber == 1) {
      if (fields.size() != 2 || fields[0] != "stamp" || !validStamp(fields[1])) return false;
      stamp = std::string(fields[1]);
    } else if (fields[0] == "end") {
      std::uint64_t count = 0;
      if (fields.size() != 3 || !ParseIndex(fields[1], count) || count != records) return false;
      if (fields[2] != hex32(Crc32(bytes.substr(0, lineStart)))) return false;
      return lineEnd + 1 == bytes.size();  // nothing may follow the end line
    } else {
      if (fields[0] != recordKind || fields.size() != fieldCount + 1) return false;
      fields.erase(fields.begin());
      if (!onRecord(fields)) return false;
      ++records;
    }
    ++lineNumber;
    lineStart = lineEnd + 1;
  }
  return false;  // no end line
}

bool ParseIndex(std::string_view text, std::uint64_t& value) {
  if (text.empty() || (text.size() > 1 && text[0] == '0')) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseInt(std::string_view text, int& value) {
  std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
  if (digits.empty() || (digits.size() > 1 && digits[0] == '0') || digits[0] == '-') return false;
  long long parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (parsed < INT_MIN || parsed > INT_MAX) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool ParseFlag(std::string_view text, bool& value) {
  if (text != "0" && text != "1") return false;
  value = text == "1";
  return true;
}

}  // namespace rulestore
