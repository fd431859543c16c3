// Arbitrary bytes as a STYLE element, a linked sheet and a STYLE attribute, then the cascade
// of a few elements against what was read.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssReader.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TPropStack.h"
#include "engine/css/TProperties.h"
#include "engine/css/TStyleList.h"

namespace {

using namespace engine;

void CascadeSome(TStyleList& styles, TProperties* inlineStyle) {
  TPropStack stack;
  auto bottom = std::make_unique<TProperties>();
  bottom->CopyDefault(*styles.DefProp);
  stack.Add(std::move(bottom));
  struct Element {
    const char* tag;
    const char* classes;
    const char* id;
    const char* pseudo;
  };
  static constexpr Element kElements[] = {
      {"body", "", "", ""}, {"div", "x.y", "main", ""}, {"p", "x", "", ""}, {"a", "", "", "link"},
      {"span", "", "a", "hover"}, {"td", "y", "", ""}};
  for (const Element& element : kElements) {
    auto properties = std::make_unique<TProperties>();
    properties->Inherit(element.tag, *stack.Last());
    TProperties* pushed = stack.Add(std::move(properties));
    styles.Cascade(*pushed, element.tag, element.classes, element.id, element.pseudo, "", inlineStyle, &stack,
                   stack.TopIndex());
    TVMarginArray margins;
    GetMarginArray(*pushed, margins);
    ComputeBoxValues(margins, 600, 400, 16, 8);
    GetBackgroundPos(*pushed, 16, 8);
    std::string url;
    pushed->GetBackgroundImage(url);
    pushed->GetLineHeight(18);
    int clear = 0;
    pushed->GetClear(clear);
    pushed->GetFont();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool overLinks = false;
  TStyleList styles(&overLinks);
  styles.BuildDefaultStyleSheet("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, true, 1, 5,
                                10);
  {
    TStringCssSource source(text);
    char current = '>';
    ParseStyleSheet(styles, current, source, "", false);
  }
  {
    TStringCssSource source(text);
    char current = ' ';
    ParseStyleSheet(styles, current, source, "http://host/css/", true);
  }
  TProperties inlineStyle;
  ParseInlineStyle(text, inlineStyle);
  CascadeSome(styles, &inlineStyle);
  return 0;
}
