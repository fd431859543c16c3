#include "engine/html/Charsets.h"

#include <array>
#include <string>

#include "engine/common/TextHelpers.h"

namespace engine {

std::function<void()> ConvertDocumentFromEucJp = [] {};

namespace {

struct CharsetRow {
  std::string_view text;
  int charset;
};

// Searched in order: a name containing "8859-15" meets "8859-1" first.
// NOTE: "gbk" is GB2312's superset, code page 936; pages name it often, so it takes that row's set.
constexpr std::array<CharsetRow, 48> kCharsets{{
    {"1252", 0},       {"8859-1", 0},      {"1253", 161},      {"8859-7", 161},      {"1250", 238},
    {"8859-2", 31},    {"1251", 204},      {"8859-5", 204},    {"koi", 204},         {"866", 204},
    {"1254", 162},     {"8859-3", 162},    {"8859-9", 162},    {"1257", 186},        {"8859-4", 186},
    {"932", 128},      {"949", 129},       {"936", 134},       {"950", 136},         {"1255", 177},
    {"1256", 178},     {"1258", 163},      {"874", 222},       {"ansi", 0},          {"default", 1},
    {"symbol", 2},     {"shiftjis", 128},  {"shift_jis", 128}, {"x-sjis", 128},      {"hangeul", 129},
    {"gb2312", 134},   {"big5", 136},      {"oem", 255},       {"johab", 130},       {"hebrew", 177},
    {"arabic", 178},   {"greek", 161},     {"turkish", 162},   {"vietnamese", 163},  {"thai", 222},
    {"easteurope", 238}, {"russian", 204}, {"euc-kr", 129},    {"5601", 129},        {"euc-jp", kCharsetEucJp},
    {"8859-15", 0},    {"tis-620", 222},   {"gbk", 134},
}};

}  // namespace

bool CharsetFromName(std::string_view name, int& charset) {
  const std::string lower = LowerCase(name);
  for (const CharsetRow& row : kCharsets) {
    if (lower.find(row.text) == std::string::npos) continue;
    if (row.charset == kCharsetEucJp) {
      if (ConvertDocumentFromEucJp) ConvertDocumentFromEucJp();
      charset = kCharsetShiftJis;
    } else {
      charset = row.charset;
    }
    return true;
  }
  return false;
}

}  // namespace engine
