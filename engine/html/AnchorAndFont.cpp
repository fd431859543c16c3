// The document builder's A, FONT and BASEFONT elements.
#include <algorithm>
#include <cstdint>

#include "engine/common/EngineStartup.h"
#include "engine/common/TextHelpers.h"
#include "engine/css/CssColors.h"
#include "engine/css/FontInfo.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/Charsets.h"
#include "engine/html/DocumentBuilder.h"
#include "engine/html/HeadElements.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/text/TFontObj.h"
#include "engine/text/TLinkList.h"
#include "engine/text/TSection.h"

namespace engine {
namespace {

struct TFontRequest {
  int size = 0;  // 1..7, 0 for none
  bool hasColor = false;
  TColor color = 0;
  std::string face;
  int charset = -1;
};

// SIZE: "+n" and "-n" are relative to the base font size; 64-bit so that
// huge values clamp instead of overflowing.
int FontSizeNumber(const std::string& text) {
  const std::string value = Trim(text);
  if (value.empty()) return 0;
  const bool relative = value.size() > 1 && (value[0] == '+' || value[0] == '-');
  std::int64_t size = LeadingNumber(value);
  if (relative) size += buildState.BaseFontSize;
  return static_cast<int>(std::clamp<std::int64_t>(size, 1, 7));
}

TFontRequest ReadFontAttributes(bool baseFont) {
  TFontRequest request;
  if (HasAttribute(symSize)) {
    request.size = FontSizeNumber(AttributeText(symSize));
    if (baseFont) buildState.BaseFontSize = request.size;
  }
  if (HasAttribute(symColor)) request.hasColor = ColorFromString(AttributeText(symColor), false, request.color);
  if (!baseFont) request.face = AttributeText(symFace);
  int charset = 0;
  if (HasAttribute(symCharset) && !buildState.Utf8 && CharsetFromName(AttributeText(symCharset), charset)) {
    request.charset = charset;
  }
  return request;
}

// The end of the link's text in the link and in every run of it, walking the
// root's link list back from its end past the slots of removed runs.
void SetLinkRangeEnd(int last) {
  TUrlTarget& link = buildState.LinkTarget;
  link.Range.Last = last;
  const TLinkList& runs = buildState.Root->Links;
  for (int index = runs.Count() - 1; index >= 0; --index) {
    TFontObj* run = runs.Items(index);
    if (!run) continue;
    if (run->UrlTarget().LinkId != link.LinkId) break;
    run->MutableUrlTarget().Range.Last = last;
  }
}

}  // namespace

void ReadFontElement(bool preformatted, bool advance) {
  const TFontRequest request = ReadFontAttributes(parseState.Symbol == symBasefont);
  PushTag("font");
  if (BuilderSeams().InlineBoxStart) BuilderSeams().InlineBoxStart(TopProperties(), parseState.SourcePosition);
  TakeInlineBackground(true);
  const double points =
      request.size > 0 ? (preformatted ? buildState.PreFontSizes : buildState.FontSizes)[request.size - 1] : 0;
  buildState.Elements.ApplyToTop([request, points](TProperties& top) {
    if (request.hasColor) top.Value(Prop::Color) = static_cast<int>(request.color | PaletteRGBFlag);
    if (points > 0) top.Value(Prop::FontSize) = points;
    if (!request.face.empty()) {
      std::string family;
      top.Value(Prop::FontFamily) = FirstInstalledFamily(request.face, family) ? family : request.face;
    }
    if (request.charset >= 0) top.SetCharset(request.charset);
    top.DropCachedFont();
  });
  SwitchSectionFont();
  if (advance) NextSymbol();
}

void ReadAnchor(bool advance) {
  // The attributes are read first and acted on after, whatever their order.
  const TAttribute* href = nullptr;
  const bool hasHref = parseState.Attributes.Find(symHref, href);
  const std::string target = AttributeText(symTarget);
  const TAttribute* tabIndex = nullptr;
  const int tabOrder = parseState.Attributes.Find(symTabindex, tabIndex) ? tabIndex->Value : 0;
  const std::string name = AttributeText(symName);
  std::string pseudo;
  if (hasHref) {
    CloseLink();
    buildState.InLink = true;
    buildState.LinkTarget.Define(href->ValueText, target, parseState.SourcePosition, parseState.Attributes);
    buildState.LinkTarget.TabIndex = tabOrder;
    pseudo = "link";
  }
  PushTag("a", pseudo);
  if (BuilderSeams().InlineBoxStart) BuilderSeams().InlineBoxStart(TopProperties(), parseState.SourcePosition);
  TakeInlineBackground(true);
  TSection& section = EnsureSection();
  // A link's run takes its look below; only an anchor without one changes the font here.
  if (!hasHref) section.ChangeFont(TopProperties());
  if (!name.empty()) {
    std::string anchor = name[0] == '#' ? name.substr(1) : name;
    for (char& ch : anchor) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    buildState.Root->IDNameList->AddPositionAnchor(anchor, parseState.SourcePosition);
    section.KeepWhenEmpty = true;  // the anchor needs its section
  }
  if (hasHref) {
    section.ChangeFontForLink('>', TopProperties(), buildState.LinkTarget);
  }
  if (advance) NextSymbol();
}

void CloseLink() {
  if (buildState.InLink) {
    SetLinkRangeEnd(parseState.SourcePosition);
    buildState.LinkTarget.Clear();
  }
  buildState.InLink = false;
  PopTag("a");
  if (buildState.CurrentSection) {
    buildState.CurrentSection->ChangeFontForLink('<', TopProperties(), buildState.LinkTarget);
  }
}

}  // namespace engine
