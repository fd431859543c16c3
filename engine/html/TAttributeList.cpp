#include "engine/html/TAttributeList.h"

#include <algorithm>

#include "engine/common/AddressSanitizer.h"
#include "engine/css/CssReader.h"
#include "engine/css/TProperties.h"
#include "engine/common/TextHelpers.h"

namespace engine {

TAttributeList::TAttributeList() = default;
TAttributeList::~TAttributeList() = default;

namespace {

constexpr bool kKeepsSpares = !kAddressSanitizer;

}  // namespace

void TAttributeList::KeepItems() {
  if constexpr (kKeepsSpares) {
    MoveItemsTo(spare_);
  } else {
    TFreeList<TAttribute>::Clear();
  }
}

void TAttributeList::GiveItemsTo(TAttributeList& other) {
  cachedId_.clear();
  if constexpr (kKeepsSpares) {
    MoveItemsTo(other.spare_);
  } else {
    TFreeList<TAttribute>::Clear();
  }
}

std::unique_ptr<TAttribute> TAttributeList::NewAttribute() {
  return std::make_unique<TAttribute>(symUnknownAttribute, 0, std::string(), std::string(), 0);
}

std::unique_ptr<gui::TStringList> TAttributeList::ToNameValueList() const {
  auto lines = std::make_unique<gui::TStringList>();
  for (const auto& item : *this) lines->Add(item->Name + "=" + item->ValueText);
  return lines;
}

std::string TAttributeList::NameValueText() const {
  std::string text;
  WriteNameValueText(text);
  return text;
}

void TAttributeList::WriteNameValueText(std::string& text) const {
  std::size_t length = 0;
  for (const auto& item : *this) length += item->Name.size() + item->ValueText.size() + 3;
  text.clear();
  text.reserve(length);
  for (const auto& item : *this) {
    text += item->Name;
    text += '=';
    text += item->ValueText;
    text += "\r\n";
  }
}

std::string TAttributeList::ClassKey() const {
  const TAttribute* attribute = nullptr;
  if (!Find(symClass, attribute)) return {};
  const std::string_view value = TrimView(attribute->ValueText);
  // Most values are one class in lower case, which is its own key.
  if (std::none_of(value.begin(), value.end(), [](char c) { return c == ' ' || (c >= 'A' && c <= 'Z'); })) {
    return std::string(value);
  }
  std::string key = LowerCase(value);
  if (key.find(' ') == std::string::npos) return key;
  std::string selector;
  std::size_t position = 0;
  while (position < key.size()) {
    std::size_t wordEnd = key.find(' ', position);
    if (wordEnd == std::string::npos) wordEnd = key.size();
    if (wordEnd > position) selector += "." + key.substr(position, wordEnd - position);
    position = wordEnd + 1;
  }
  std::string sorted = SortSelectorParts(selector);
  return sorted.empty() ? sorted : sorted.substr(1);
}

std::string TAttributeList::IdValue() {
  if (!cachedId_.empty()) return cachedId_;
  const TAttribute* attribute = nullptr;
  if (!Find(symId, attribute)) return {};
  cachedId_ = LowerCase(attribute->ValueText);
  return cachedId_;
}

std::string TAttributeList::TitleValue() const {
  const TAttribute* attribute = nullptr;
  return Find(symTitle, attribute) ? attribute->ValueText : std::string();
}

TProperties* TAttributeList::ParseInlineStyle() {
  const TAttribute* attribute = nullptr;
  if (!Find(symStyle, attribute)) return nullptr;
  inlineStyle_.reset();
  inlineStyle_ = std::make_unique<TProperties>();
  engine::ParseInlineStyle(attribute->ValueText, *inlineStyle_);
  return inlineStyle_.get();
}

}  // namespace engine
