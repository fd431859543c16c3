#include "engine/html/HtmlSymbols.h"

#include <array>
#include <bit>
#include <cstring>
#include <cstdint>
#include <tuple>

#include "engine/common/TextHelpers.h"

namespace engine {
namespace {

struct TagRow {
  std::string_view name;
  THtmlSymbol startSymbol;
  THtmlSymbol endSymbol;  // symUnknownTag for the rows without end tag
};

struct AttributeRow {
  std::string_view name;
  THtmlSymbol symbol;
};

// The first kRowsWithEndTag rows have end tags. Order matters: look-ups take
// the first equal row.
constexpr std::size_t kRowsWithEndTag = 57;

constexpr std::array<TagRow, 80> kTagTable{{
    {"HTML", symHtml, symHtmlEnd},
    {"TITLE", symTitle, symTitleEnd},
    {"BODY", symBody, symBodyEnd},
    {"HEAD", symHead, symHeadEnd},
    {"B", symB, symBEnd},
    {"I", symI, symIEnd},
    {"H", symH, symHEnd},
    {"EM", symEm, symEmEnd},
    {"STRONG", symStrong, symStrongEnd},
    {"U", symU, symUEnd},
    {"CITE", symCite, symCiteEnd},
    {"VAR", symVar, symVarEnd},
    {"TT", symTt, symTtEnd},
    {"CODE", symCode, symCodeEnd},
    {"KBD", symKbd, symKbdEnd},
    {"SAMP", symSamp, symSampEnd},
    {"OL", symOl, symOlEnd},
    {"UL", symUl, symUlEnd},
    {"DIR", symDir, symDirEnd},
    {"MENU", symMenu, symMenuEnd},
    {"DL", symDl, symDlEnd},
    {"A", symA, symAEnd},
    {"ADDRESS", symAddress, symAddressEnd},
    {"BLOCKQUOTE", symBlockquote, symBlockquoteEnd},
    {"PRE", symPre, symPreEnd},
    {"CENTER", symCenter, symCenterEnd},
    {"TABLE", symTable, symTableEnd},
    {"TD", symTd, symTdEnd},
    {"TH", symTh, symThEnd},
    {"CAPTION", symCaption, symCaptionEnd},
    {"FORM", symForm, symFormEnd},
    {"TEXTAREA", symTextarea, symTextareaEnd},
    {"SELECT", symSelect, symSelectEnd},
    {"OPTION", symOption, symOptionEnd},
    {"FONT", symFont, symFontEnd},
    {"SUB", symSub, symSubEnd},
    {"SUP", symSup, symSupEnd},
    {"BIG", symBig, symBigEnd},
    {"SMALL", symSmall, symSmallEnd},
    {"P", symP, symPEnd},
    {"MAP", symMap, symMapEnd},
    {"FRAMESET", symFrameset, symFramesetEnd},
    {"NOFRAMES", symNoframes, symNoframesEnd},
    {"SCRIPT", symScript, symScriptEnd},
    {"DIV", symDiv, symDivEnd},
    {"S", symS, symSEnd},
    {"STRIKE", symStrike, symStrikeEnd},
    {"TR", symTr, symTrEnd},
    {"NOBR", symNobr, symNobrEnd},
    {"STYLE", symStyle, symStyleEnd},
    {"SPAN", symSpan, symSpanEnd},
    {"COLGROUP", symColgroup, symColgroupEnd},
    {"LABEL", symLabel, symLabelEnd},
    {"THEAD", symThead, symTheadEnd},
    {"TBODY", symTbody, symTbodyEnd},
    {"TFOOT", symTfoot, symTfootEnd},
    {"OBJECT", symObject, symObjectEnd},
    {"LI", symLi, symUnknownTag},
    {"BR", symBr, symUnknownTag},
    {"HR", symHr, symUnknownTag},
    {"DD", symDd, symUnknownTag},
    {"DT", symDt, symUnknownTag},
    {"IMG", symImg, symUnknownTag},
    {"BASE", symBase, symUnknownTag},
    {"BUTTON", symButton, symUnknownTag},
    {"INPUT", symInput, symUnknownTag},
    {"SELECTED", symSelected, symUnknownTag},
    {"BASEFONT", symBasefont, symUnknownTag},
    {"AREA", symArea, symUnknownTag},
    {"FRAME", symFrame, symUnknownTag},
    {"PAGE", symPage, symUnknownTag},
    {"BGSOUND", symBgsound, symUnknownTag},
    {"WRAP", symWrap, symUnknownTag},
    {"META", symMeta, symUnknownTag},
    {"PANEL", symPanel, symUnknownTag},
    {"WBR", symWbr, symUnknownTag},
    {"LINK", symLink, symUnknownTag},
    {"COL", symCol, symUnknownTag},
    {"PARAM", symParam, symUnknownTag},
    {"READONLY", symReadonly, symUnknownTag},
}};

// VALUE stands twice; the first row is the one found.
constexpr std::array<AttributeRow, 84> kAttributeTable{{
    {"HREF", symHref},
    {"NAME", symName},
    {"SRC", symSrc},
    {"ALT", symAlt},
    {"ALIGN", symAlign},
    {"TEXT", symText},
    {"BGCOLOR", symBgcolor},
    {"LINK", symLink},
    {"BACKGROUND", symBackground},
    {"COLSPAN", symColspan},
    {"ROWSPAN", symRowspan},
    {"BORDER", symBorder},
    {"CELLPADDING", symCellpadding},
    {"CELLSPACING", symCellspacing},
    {"VALIGN", symValign},
    {"WIDTH", symWidth},
    {"START", symStart},
    {"VALUE", symValue},
    {"TYPE", symType},
    {"CHECKBOX", symCheckbox},
    {"RADIO", symRadio},
    {"METHOD", symMethod},
    {"ACTION", symAction},
    {"CHECKED", symChecked},
    {"SIZE", symSize},
    {"MAXLENGTH", symMaxlength},
    {"COLS", symCols},
    {"ROWS", symRows},
    {"MULTIPLE", symMultiple},
    {"VALUE", symValue},
    {"SELECTED", symSelected},
    {"FACE", symFace},
    {"COLOR", symColor},
    {"TRANSP", symTransp},
    {"CLEAR", symClear},
    {"ISMAP", symIsmap},
    {"BORDERCOLOR", symBordercolor},
    {"USEMAP", symUsemap},
    {"SHAPE", symShape},
    {"COORDS", symCoords},
    {"NOHREF", symNohref},
    {"HEIGHT", symHeight},
    {"PLAIN", symPlain},
    {"TARGET", symTarget},
    {"NORESIZE", symNoresize},
    {"SCROLLING", symScrolling},
    {"HSPACE", symHspace},
    {"LANGUAGE", symLanguage},
    {"FRAMEBORDER", symFrameborder},
    {"MARGINWIDTH", symMarginwidth},
    {"MARGINHEIGHT", symMarginheight},
    {"LOOP", symLoop},
    {"ONCLICK", symOnclick},
    {"WRAP", symWrap},
    {"NOSHADE", symNoshade},
    {"HTTP-EQUIV", symHttpEquiv},
    {"CONTENT", symContent},
    {"ENCTYPE", symEnctype},
    {"VLINK", symVlink},
    {"OLINK", symOlink},
    {"ACTIVE", symActive},
    {"VSPACE", symVspace},
    {"CLASS", symClass},
    {"ID", symId},
    {"STYLE", symStyle},
    {"REL", symRel},
    {"REV", symRev},
    {"NOWRAP", symNowrap},
    {"BORDERCOLORLIGHT", symBordercolorlight},
    {"BORDERCOLORDARK", symBordercolordark},
    {"CHARSET", symCharset},
    {"RATIO", symRatio},
    {"TITLE", symTitle},
    {"ONFOCUS", symOnfocus},
    {"ONBLUR", symOnblur},
    {"ONCHANGE", symOnchange},
    {"SPAN", symSpan},
    {"TABINDEX", symTabindex},
    {"BGPROPERTIES", symBgproperties},
    {"DISABLED", symDisabled},
    {"TOPMARGIN", symTopmargin},
    {"LEFTMARGIN", symLeftmargin},
    {"LABEL", symLabel},
    {"READONLY", symReadonly},
}};

// The scans run for every tag and attribute of a document, so both tables get
// an index keyed by the name packed into two words, with a hash chosen when
// the program is built so that no two names share a slot: a look-up hashes,
// reads one slot and compares three words, with no string compare. A later
// row of a name already in the index stays out of it: the first equal row is
// the one found.
constexpr std::size_t kIndexBits = 10;
constexpr std::size_t kIndexSlots = std::size_t{1} << kIndexBits;
constexpr std::size_t kMaxPackedLength = 16;
constexpr std::uint8_t kFreeSlot = 0xFF;
static_assert(kMaxTagNameLength <= kMaxPackedLength && kMaxAttributeNameLength <= kMaxPackedLength);

// A name of 1 to 16 characters: its bytes little-endian in two words, zero
// beyond its end, and its length (a name may hold a zero byte).
struct PackedName {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
  std::uint64_t length = 0;
  constexpr bool operator==(const PackedName&) const = default;
};

// False for an empty name and one too long for any table.
constexpr bool Pack(std::string_view name, PackedName& packed) {
  if (name.empty() || name.size() > kMaxPackedLength) return false;
  packed.length = name.size();
  for (std::size_t i = 0; i < name.size(); ++i) {
    const std::uint64_t byte = static_cast<unsigned char>(name[i]);
    if (i < 8) {
      packed.low |= byte << (8 * i);
    } else {
      packed.high |= byte << (8 * (i - 8));
    }
  }
  return true;
}

constexpr std::size_t SlotOf(const PackedName& name, std::uint64_t multiplier) {
  const std::uint64_t mixed = (name.low ^ (name.high * 0x9E3779B97F4A7C15u) ^ name.length) * multiplier;
  return static_cast<std::size_t>(mixed >> (64 - kIndexBits));
}

template <std::size_t kRows>
struct NameIndex {
  std::uint64_t multiplier = 0;
  std::array<std::uint8_t, kIndexSlots> rowOfSlot{};
  std::array<PackedName, kRows> names{};
};

// Tries odd multipliers until every name of the table has a slot of its own.
template <class Table>
constexpr auto BuildIndex(const Table& table) {
  constexpr std::size_t kRows = std::tuple_size_v<Table>;
  static_assert(kRows < kFreeSlot, "rows are numbered in a byte");
  NameIndex<kRows> index;
  for (std::size_t row = 0; row < kRows; ++row) {
    if (!Pack(table[row].name, index.names[row])) throw "a table name is empty or too long";
  }
  for (std::uint64_t multiplier = 0xC2B2AE3D27D4EB4Fu;; multiplier += 0x9E3779B97F4A7C16u) {
    for (std::uint8_t& slot : index.rowOfSlot) slot = kFreeSlot;
    bool collides = false;
    for (std::size_t row = 0; row < kRows && !collides; ++row) {
      std::uint8_t& slot = index.rowOfSlot[SlotOf(index.names[row], multiplier)];
      if (slot == kFreeSlot) {
        slot = static_cast<std::uint8_t>(row);
      } else {
        collides = !(index.names[slot] == index.names[row]);  // else a later row of the same name
      }
    }
    if (!collides) {
      index.multiplier = multiplier;
      return index;
    }
  }
}

constexpr auto kTagIndex = BuildIndex(kTagTable);
constexpr auto kAttributeIndex = BuildIndex(kAttributeTable);

template <class Word>
Word LoadWord(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// Pack for a look-up: a few loads that may overlap (each byte lands where
// Pack puts it) in place of a loop over the characters. Little-endian.
bool PackQuickly(std::string_view name, PackedName& packed) {
  const std::size_t length = name.size();
  const char* bytes = name.data();
  packed.length = length;
  if (length >= 8) {
    if (length > kMaxPackedLength) return false;
    packed.low = LoadWord<std::uint64_t>(bytes);
    if (length > 8) packed.high = LoadWord<std::uint64_t>(bytes + length - 8) >> (8 * (kMaxPackedLength - length));
  } else if (length >= 4) {
    const std::uint64_t first = LoadWord<std::uint32_t>(bytes);
    const std::uint64_t last = LoadWord<std::uint32_t>(bytes + length - 4);
    packed.low = first | last << (8 * (length - 4));
  } else if (length > 0) {
    const std::uint64_t middle = static_cast<unsigned char>(bytes[length / 2]);
    const std::uint64_t last = static_cast<unsigned char>(bytes[length - 1]);
    packed.low = static_cast<unsigned char>(bytes[0]) | middle << (8 * (length / 2)) | last << (8 * (length - 1));
  } else {
    return false;
  }
  return true;
}

// Row of the first entry named name, or -1.
template <class Index>
int FindRow(const Index& index, std::string_view name) {
  static_assert(std::endian::native == std::endian::little, "PackQuickly loads little-endian words");
  PackedName packed;
  if (!PackQuickly(name, packed)) return -1;
  const std::uint8_t row = index.rowOfSlot[SlotOf(packed, index.multiplier)];
  return row != kFreeSlot && index.names[row] == packed ? row : -1;
}

}  // namespace

THtmlSymbol LookUpTagSymbol(std::string_view upperName, bool endTag) {
  const int found = FindRow(kTagIndex, upperName);
  if (found < 0) return symUnknownTag;
  const auto row = static_cast<std::size_t>(found);
  if (!endTag) return kTagTable[row].startSymbol;
  return row < kRowsWithEndTag ? kTagTable[row].endSymbol : symUnknownTag;
}

THtmlSymbol LookUpAttributeSymbol(std::string_view upperName) {
  const int found = FindRow(kAttributeIndex, upperName);
  return found < 0 ? symUnknownAttribute : kAttributeTable[static_cast<std::size_t>(found)].symbol;
}

namespace {

// Lower-case names by symbol, made once: the first row of a symbol names it, as in a search.
struct TagNamesBySymbol {
  std::array<std::string, 256> start;
  std::array<std::string, 256> end;
  TagNamesBySymbol() {
    for (std::size_t row = kTagTable.size(); row-- > 0;) start[kTagTable[row].startSymbol] = LowerCase(kTagTable[row].name);
    for (std::size_t row = kRowsWithEndTag; row-- > 0;) end[kTagTable[row].endSymbol] = LowerCase(kTagTable[row].name);
  }
};

const TagNamesBySymbol& TagNamesOfSymbols() {
  static const TagNamesBySymbol names;
  return names;
}

}  // namespace

const std::string& TagNameOfSymbol(THtmlSymbol symbol) { return TagNamesOfSymbols().start[symbol]; }

const std::string& TagNameOfEndSymbol(THtmlSymbol endSymbol) { return TagNamesOfSymbols().end[endSymbol]; }

std::vector<std::string_view> TagNames() {
  std::vector<std::string_view> names;
  for (const TagRow& row : kTagTable) names.push_back(row.name);
  return names;
}

std::vector<std::string_view> AttributeNames() {
  std::vector<std::string_view> names;
  for (const AttributeRow& row : kAttributeTable) names.push_back(row.name);
  return names;
}

THtmlSymbol EndSymbolOf(THtmlSymbol startSymbol) {
  for (std::size_t row = 0; row < kRowsWithEndTag; ++row) {
    if (kTagTable[row].startSymbol == startSymbol) return kTagTable[row].endSymbol;
  }
  return static_cast<THtmlSymbol>(0);
}

}  // namespace engine
