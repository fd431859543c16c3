// The built-in rules every document starts from. They depend on the document
// defaults alone, so each set of defaults is built once per thread and every
// later sheet of that set shares the built rules, taking its own copy of a rule
// only when its author rules change it.
#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/css/CssValues.h"
#include "engine/common/EngineStartup.h"
#include "engine/css/TStyleList.h"

namespace engine {
namespace {

using Values = std::vector<std::pair<int, TPropValue>>;

constexpr int P(Prop p) { return PropIdx(p); }
TPropValue Text(const char* text) { return std::string(text); }

// Everything the built-in rules are made from, the two process-wide settings among it.
struct DefaultSheetKey {
  std::string fontName, preFontName;
  double fontSize;
  TColor fontColor, linkColor, visitedColor, hoverColor;
  bool linkUnderline;
  int charset, marginHeight, marginWidth;
  TColor paletteFlag;
  bool win9x;
  bool operator==(const DefaultSheetKey&) const = default;
};

// The built sheets of the last few sets of defaults (a viewer's frames may differ in charset).
struct MadeDefaultSheets {
  struct Made {
    DefaultSheetKey key;
    std::unique_ptr<TStyleList> sheet;
  };
  std::array<Made, 4> made;
  std::size_t next = 0;  // the one replaced next
};

}  // namespace

void TStyleList::AddDefaultRule(const std::vector<std::string>& keys, const Values& values) {
  auto rule = std::make_unique<TProperties>();
  for (const auto& [index, value] : values) rule->Props[static_cast<std::size_t>(index)] = value;
  for (std::size_t at = 1; at < keys.size(); ++at) AddDuplicate(keys[at], *rule);
  AddObject(keys[0], std::move(rule));
}

void TStyleList::BuildDefaultStyleSheet(const std::string& fontName, const std::string& preFontName, double fontSize,
                                        TColor fontColor, TColor linkColor, TColor visitedColor, TColor hoverColor,
                                        bool linkUnderline, int charset, int marginHeight, int marginWidth) {
  Clear();
  SetDefaultFontSize(fontSize);
  DefaultSheetKey key{fontName,   preFontName,   fontSize, fontColor,         linkColor, visitedColor, hoverColor,
                      linkUnderline, charset, marginHeight, marginWidth, CssPaletteFlag(), IsWin9x};
  thread_local MadeDefaultSheets sheets;
  const TStyleList* built = nullptr;
  for (const auto& made : sheets.made)
    if (made.sheet && made.key == key) built = made.sheet.get();
  if (!built) {
    auto sheet = std::make_unique<TStyleList>();
    sheet->AddDefaultRules(fontName, preFontName, fontSize, fontColor, linkColor, visitedColor, hoverColor,
                           linkUnderline, charset, marginHeight, marginWidth);
    built = sheet.get();
    sheets.made[sheets.next] = {std::move(key), std::move(sheet)};
    sheets.next = (sheets.next + 1) % sheets.made.size();
  }
  if (built->Count() > entryLimit_) {
    // A sheet limited below the built-in rules (in tests) takes them one by one, overflow and all.
    AddDefaultRules(fontName, preFontName, fontSize, fontColor, linkColor, visitedColor, hoverColor, linkUnderline,
                    charset, marginHeight, marginWidth);
    return;
  }
  CopyDefaultRules(*built);
}

void TStyleList::CopyDefaultRules(const TStyleList& source) {
  ++version_;
  entries_.reserve(source.entries_.size());
  plainKeys_.reserve(source.plainKeys_.size());
  DefProp = source.DefProp;
  for (const auto& from : source.entries_) {
    // The source is in sheet order, so each entry goes last, as into every list it is in.
    entries_.push_back(std::make_unique<Entry>(Entry{from->key, from->properties, nullptr, from->contextual}));
    const Entry* entry = entries_.back().get();
    NoteKeyIds(entry->key);
    if (entry->contextual) contextual_.push_back(entry);
    if (entry->key.find(' ') == std::string::npos) plainKeys_[entry->key].push_back(entry);
  }
}

void TStyleList::AddDefaultRules(const std::string& fontName, const std::string& preFontName, double fontSize,
                                 TColor fontColor, TColor linkColor, TColor visitedColor, TColor hoverColor,
                                 bool linkUnderline, int charset, int marginHeight, int marginWidth) {
  const int colour = static_cast<int>(fontColor);
  const TPropValue para = kParagraphSpace;

  auto defaults = std::make_unique<TProperties>();
  Values defaultValues = {
      {P(Prop::FontFamily), fontName}, {P(Prop::FontSize), fontSize}, {P(Prop::FontStyle), Text("none")},
      {P(Prop::FontWeight), Text("normal")}, {P(Prop::TextAlign), Text("left")},
      {P(Prop::TextDecoration), Text("none")}, {P(Prop::TextTransform), 0}, {P(Prop::WordWrap), Text("normal")},
      {P(Prop::FontVariant), Text("normal")}, {P(Prop::Color), colour}, {P(Prop::MarginTop), marginHeight},
      {P(Prop::MarginBottom), marginHeight}, {P(Prop::MarginLeft), marginWidth},
      {P(Prop::MarginRight), marginWidth}, {P(Prop::Visibility), kVisibilityVisible},
      {P(Prop::LetterSpacing), 0}};
  for (const auto& [index, value] : defaultValues) defaults->Props[static_cast<std::size_t>(index)] = value;
  defaults->SetCharset(charset);
  defaults->DefFontName = fontName;
  DefProp = AddObject("default", std::move(defaults));

  const int flag = static_cast<int>(CssPaletteFlag());
  AddDefaultRule({"::link"}, {{P(Prop::Color), static_cast<int>(linkColor) | flag},
                              {P(Prop::TextDecoration), Text(linkUnderline ? "underline" : "none")}});
  AddDefaultRule({"::visited"}, {{P(Prop::Color), static_cast<int>(visitedColor) | flag}});
  AddDefaultRule({"::hover"}, {{P(Prop::Color), static_cast<int>(hoverColor) | flag}});
  AddDefaultRule({"null"}, {});
  AddDefaultRule({"pre"}, {{P(Prop::FontFamily), preFontName}, {P(Prop::FontSize), fontSize * 10 / 12},
                           {P(Prop::FontStyle), Text("none")}, {P(Prop::FontWeight), Text("normal")},
                           {P(Prop::TextDecoration), Text("none")}});
  AddDefaultRule({"p"}, {{P(Prop::MarginTop), para}, {P(Prop::MarginBottom), para}});
  AddDefaultRule({"p 11pre"}, {{P(Prop::MarginTop), 0}});
  AddDefaultRule({"ul", "ol", "menu", "dir"}, {{P(Prop::PaddingLeft), 35}, {P(Prop::MarginTop), para},
                                               {P(Prop::MarginBottom), para}, {P(Prop::ListStyleType), Text("blank")}});
  AddDefaultRule({"dl"}, {{P(Prop::PaddingLeft), 0}, {P(Prop::MarginTop), 0}, {P(Prop::MarginBottom), 0},
                          {P(Prop::MarginLeft), 0}, {P(Prop::ListStyleType), Text("none")}});
  AddDefaultRule({"dd"}, {{P(Prop::PaddingLeft), 35}, {P(Prop::MarginTop), 0}, {P(Prop::MarginBottom), 0}});
  AddDefaultRule({"blockquote"},
                 {{P(Prop::PaddingLeft), 35}, {P(Prop::MarginTop), para}, {P(Prop::MarginBottom), 14}});
  AddDefaultRule({"code", "tt", "kbd", "samp"}, {{P(Prop::FontFamily), preFontName}, {P(Prop::FontSize), Text("0.833em")}});
  AddDefaultRule({"b", "strong", "th"}, {{P(Prop::FontWeight), Text("bold")}});
  AddDefaultRule({"sup"}, {{P(Prop::FontSize), Text("75%")}, {P(Prop::VerticalAlign), Text("super")}});
  AddDefaultRule({"sub"}, {{P(Prop::FontSize), Text("75%")}, {P(Prop::VerticalAlign), Text("sub")}});
  AddDefaultRule({"big"}, {{P(Prop::FontSize), Text("1.25em")}});
  AddDefaultRule({"small"}, {{P(Prop::FontSize), Text("0.75em")}});
  AddDefaultRule({"table"}, {{P(Prop::TextAlign), Text("none")}});
  AddDefaultRule({"i", "em", "cite", "var", "address"}, {{P(Prop::FontStyle), Text("italic")}});
  AddDefaultRule({"u"}, {{P(Prop::TextDecoration), Text("underline")}});
  AddDefaultRule({"s", "strike"}, {{P(Prop::TextDecoration), Text("line-through")}});
  AddDefaultRule({"center", "caption"}, {{P(Prop::TextAlign), Text("center")}});

  const std::string controlFont = "Arial Unicode MS, Arial";
  Values controls = {{P(Prop::FontFamily), controlFont}, {P(Prop::FontSize), Text("10pt")},
                     {P(Prop::FontStyle), Text("none")}, {P(Prop::FontWeight), Text("normal")},
                     {P(Prop::TextAlign), Text("left")}, {P(Prop::TextDecoration), Text("none")},
                     {P(Prop::Color), colour}};
  AddDefaultRule({"input", "select"}, controls);
  controls[0].second = IsWin9x ? controlFont : preFontName;
  AddDefaultRule({"textarea"}, controls);

  AddDefaultRule({"hr"}, {{P(Prop::MarginLeft), 0}, {P(Prop::MarginRight), 0}, {P(Prop::MarginTop), 10},
                          {P(Prop::MarginBottom), 10}});
  static constexpr int kHeadingPoints[6] = {24, 18, 14, 12, 10, 8};
  for (int level = 0; level < 6; ++level) {
    AddDefaultRule({"h" + std::to_string(level + 1)},
                   {{P(Prop::FontSize), fontSize / 12 * kHeadingPoints[level]}, {P(Prop::MarginTop), 19},
                    {P(Prop::MarginBottom), 19}, {P(Prop::FontWeight), Text("bold")}});
  }
}

}  // namespace engine
