#include "engine/Attributes.h"

#include "engine/CssReader.h"
#include "engine/Properties.h"

namespace engine {
namespace {

std::string AsciiLowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Drops leading and trailing characters up to and including the blank.
std::string TrimControlsAndBlanks(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

}  // namespace

TAttributeList::TAttributeList() = default;
TAttributeList::~TAttributeList() = default;

bool TAttributeList::Find(THtmlSymbol symbol, const TAttribute*& attribute) const {
  for (const auto& item : *this) {
    if (item->Symbol == symbol) {
      attribute = item.get();
      return true;
    }
  }
  return false;
}

void TAttributeList::Clear() {
  cachedId_.clear();
  TFreeList<TAttribute>::Clear();
}

std::vector<std::string> TAttributeList::ToNameValueList() const {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(Count()));
  for (const auto& item : *this) lines.push_back(item->Name + "=" + item->ValueText);
  return lines;
}

std::string TAttributeList::ClassKey() const {
  const TAttribute* attribute = nullptr;
  if (!Find(symClass, attribute)) return {};
  std::string key = AsciiLowerCase(TrimControlsAndBlanks(attribute->ValueText));
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
  cachedId_ = AsciiLowerCase(attribute->ValueText);
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
