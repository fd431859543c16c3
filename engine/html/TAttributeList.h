#pragma once
// The attributes of the tag the lexer has just read, with the few values the
// document builder derives from them (class key, id, title, inline style).
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/common/TFreeList.h"
#include "engine/html/HtmlSymbols.h"
#include "platform/gui/TStringList.h"

namespace engine {

class TProperties;

// One attribute of a tag. The list reuses its attributes from tag to tag: a
// pointer to one is valid until the list is cleared for the next tag.
class TAttribute {
 public:
  TAttribute(THtmlSymbol symbol, int codePage, std::string valueText, std::string name, int value)
      : Symbol(symbol), Name(std::move(name)), Value(value), ValueText(std::move(valueText)), CodePage(codePage) {}

  THtmlSymbol Symbol;     // symUnknownAttribute for names the lexer does not know
  std::string Name;       // as read
  int Value;              // numeric reading of the value; 0 when not a number
  std::string ValueText;  // quotes removed, character references resolved
  int CodePage;           // code page of the element's text when the attribute was read
};

class TAttributeList : public TFreeList<TAttribute> {
 public:
  TAttributeList();
  ~TAttributeList() override;

  // First attribute with this symbol; false (and attribute untouched) when none.
  bool Find(THtmlSymbol symbol, const TAttribute*& attribute) const {
    for (const auto& item : *this) {
      if (item->Symbol == symbol) {
        attribute = item.get();
        return true;
      }
    }
    return false;
  }
  // Forgets the cached id and empties the list; the inline style stays. The
  // attributes are kept for TakeSpare (freed in sanitizer builds, where a
  // pointer kept past Clear must be caught).
  void Clear() override {
    cachedId_.clear();
    if (!Empty()) KeepItems();
  }
  // An attribute to fill and Add, made afresh or taken from those Clear kept:
  // its strings are empty but keep their room, so that reading the tags of a
  // document costs no allocation per attribute.
  std::unique_ptr<TAttribute> TakeSpare() {
    if (spare_.empty()) return NewAttribute();
    std::unique_ptr<TAttribute> attribute = std::move(spare_.back());
    spare_.pop_back();
    attribute->Name.clear();
    attribute->ValueText.clear();
    return attribute;
  }
  // Whether the list has a CLASS, ID, STYLE or TITLE or a cached id, from
  // which the values below are derived; without any they are all empty.
  bool NamesElement() const {
    if (!cachedId_.empty()) return true;
    for (const auto& item : *this) {
      const THtmlSymbol symbol = item->Symbol;
      if (symbol == symClass || symbol == symId || symbol == symStyle || symbol == symTitle) return true;
    }
    return false;
  }
  // A new list with one "Name=ValueText" line per attribute, in list order.
  std::unique_ptr<gui::TStringList> ToNameValueList() const;
  // That list's text ("Name=ValueText" and CR LF per attribute), made without the list.
  std::string NameValueText() const;
  // The same text written over text, reusing its room.
  void WriteNameValueText(std::string& text) const;

  // CLASS value trimmed and lower-cased; several classes as one sorted key
  // ("b a" -> "a.b"). Empty without CLASS.
  std::string ClassKey() const;
  // ID value lower-cased, cached until Clear. Empty without ID.
  std::string IdValue();
  // TITLE value unchanged; empty without TITLE.
  std::string TitleValue() const;
  // Parses the STYLE value into a fresh property set that the list keeps
  // (freeing the previous one); nullptr without STYLE. The caller never frees it.
  TProperties* ParseInlineStyle();

  TProperties* InlineStyle() const { return inlineStyle_.get(); }
  // Empties the list into other's spares, for its next tags (freed in
  // sanitizer builds, as Clear does): a list that held an element's
  // attributes while the lexer read on gives their room back.
  void GiveItemsTo(TAttributeList& other);
  // Exchanges everything with other (a nested parse parks the outer list).
  void Swap(TAttributeList& other) {
    SwapItems(other);
    inlineStyle_.swap(other.inlineStyle_);
    cachedId_.swap(other.cachedId_);
  }

 private:
  void KeepItems();
  static std::unique_ptr<TAttribute> NewAttribute();

  std::unique_ptr<TProperties> inlineStyle_;
  std::string cachedId_;
  std::vector<std::unique_ptr<TAttribute>> spare_;
};

}  // namespace engine
