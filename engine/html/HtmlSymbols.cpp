#include "engine/html/HtmlSymbols.h"

#include <array>
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
// an open-addressing index hashed from the name's length, end and middle letters.
// Rows go in in table order: along a probe sequence the first equal row comes
// first, which keeps "the first equal row wins".
constexpr std::size_t kIndexSlots = 256;
constexpr std::uint8_t kFreeSlot = 0xFF;
using NameIndex = std::array<std::uint8_t, kIndexSlots>;

constexpr std::size_t NameHash(std::string_view name) {
  const auto first = static_cast<unsigned char>(name.front());
  const auto last = static_cast<unsigned char>(name.back());
  const auto middle = static_cast<unsigned char>(name[name.size() / 2]);
  return (name.size() * 59 + first * 31 + middle * 7 + last) % kIndexSlots;
}

template <class Table>
constexpr NameIndex BuildIndex(const Table& table) {
  static_assert(std::tuple_size_v<Table> < kIndexSlots / 2, "the index must stay sparse");
  NameIndex index{};
  for (std::uint8_t& slot : index) slot = kFreeSlot;
  for (std::size_t row = 0; row < table.size(); ++row) {
    std::size_t slot = NameHash(table[row].name);
    while (index[slot] != kFreeSlot) slot = (slot + 1) % kIndexSlots;
    index[slot] = static_cast<std::uint8_t>(row);
  }
  return index;
}

constexpr NameIndex kTagIndex = BuildIndex(kTagTable);
constexpr NameIndex kAttributeIndex = BuildIndex(kAttributeTable);

// Row of the first entry named name, or -1.
template <class Table>
int FindRow(const Table& table, const NameIndex& index, std::string_view name) {
  if (name.empty()) return -1;
  for (std::size_t slot = NameHash(name); index[slot] != kFreeSlot; slot = (slot + 1) % kIndexSlots) {
    if (table[index[slot]].name == name) return index[slot];
  }
  return -1;
}

}  // namespace

THtmlSymbol LookUpTagSymbol(std::string_view upperName, bool endTag) {
  const int found = FindRow(kTagTable, kTagIndex, upperName);
  if (found < 0) return symUnknownTag;
  const auto row = static_cast<std::size_t>(found);
  if (!endTag) return kTagTable[row].startSymbol;
  return row < kRowsWithEndTag ? kTagTable[row].endSymbol : symUnknownTag;
}

THtmlSymbol LookUpAttributeSymbol(std::string_view upperName) {
  const int found = FindRow(kAttributeTable, kAttributeIndex, upperName);
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
