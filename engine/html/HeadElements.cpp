#include "engine/html/HeadElements.h"

#include <cctype>
#include <exception>

#include "engine/css/CssReader.h"
#include "engine/css/TStyleList.h"
#include "engine/common/TextHelpers.h"
#include "engine/html/BuildState.h"
#include "engine/html/Charsets.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/html/TLexerCssSource.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/TStream.h"

namespace engine {
namespace {

// The folder part of a file name, up to and including the last separator.
std::string FolderOf(const std::string& fileName) {
  const std::size_t separator = fileName.find_last_of("/\\:");
  return separator == std::string::npos ? std::string() : fileName.substr(0, separator + 1);
}

// The sheet's bytes, fetched as the viewer allows; empty when there are none.
std::string FetchLinkedSheet(const std::string& href, std::string& base) {
  TParseViewer& viewer = *buildState.Viewer;
  gui::TMemoryStream sheet;
  base.clear();
  if (viewer.HasStreamRequest()) {
    if (gui::TStream* stream = viewer.StreamRequest(href)) {
      sheet.LoadFromStream(*stream);
    }
  }
  if (sheet.Size() == 0 && viewer.CanFetchFiles()) {
    const std::string fileName = viewer.ExpandDocumentName(href);
    base = FolderOf(fileName);
    sheet.LoadFromFile(fileName, gui::TFileKind::StyleSheet);  // raises when missing or refused
  }
  if (sheet.Size() == 0) return {};
  return std::string(reinterpret_cast<const char*>(sheet.Memory()), static_cast<std::size_t>(sheet.Size()));
}

// The character set a META names: a known name takes that set, one
// containing "utf-8" marks the text UTF-8; the viewer learns the code page.
void ApplyDocumentCharset(const std::string& name) {
  int charset = 0;
  if (CharsetFromName(name, charset)) {
    buildState.Elements.ApplyToTop([charset](TProperties& top) { top.SetCharset(charset); });
  } else if (LowerCase(name).find("utf-8") != std::string::npos) {
    buildState.Elements.ApplyToTop([](TProperties& top) { top.SetUtf8(); });
  }
  buildState.Viewer->SetCodePage(CurrentCodePage());
}

}  // namespace

std::string AttributeText(THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return parseState.Attributes.Find(symbol, attribute) ? attribute->ValueText : std::string();
}

bool HasAttribute(THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return parseState.Attributes.Find(symbol, attribute);
}

void ReadTitle() {
  NextSymbol();
  while (parseState.Symbol == symText) {
    buildState.Head.Title += parseState.Token->CurrentText();
    NextSymbol();
  }
}

void ReadBase() {
  if (HasAttribute(symHref)) buildState.Head.Base = AttributeText(symHref);
  if (HasAttribute(symTarget)) buildState.Head.BaseTarget = AttributeText(symTarget);
  NextSymbol();
}

void ReadBgSound() {
  const TAttribute* source = nullptr;
  if (buildState.OnSoundRequest && parseState.Attributes.Find(symSrc, source)) {
    const TAttribute* loop = nullptr;
    const int loops = parseState.Attributes.Find(symLoop, loop) ? loop->Value : 1;
    buildState.OnSoundRequest(ParseSender(), source->ValueText, loops, false);
  }
  NextSymbol();
}

void ParseMetaElement() {
  const std::string httpEquiv = AttributeText(symHttpEquiv);
  const std::string name = AttributeText(symName);
  const std::string content = AttributeText(symContent);
  // The content type's character set, or CHARSET given alone; a byte-order mark overrides both.
  if (!buildState.Utf8 && buildState.DocumentParse) {
    if (gui::AnsiSameText(httpEquiv, "content-type")) ApplyDocumentCharset(content);
    if (HasAttribute(symCharset)) ApplyDocumentCharset(AttributeText(symCharset));
  }
  if (buildState.OnMeta) buildState.OnMeta(ParseSender(), httpEquiv, name, content);
  NextSymbol();
}

void ReadStyleElement(TStyleList& styles) {
  TLexerCssSource source;
  char current = static_cast<char>(parseState.Ch);
  ParseStyleSheet(styles, current, source, "", false);
  parseState.UpperCh = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(parseState.Ch)));
  NextSymbol();
}

void LoadLinkedStyleSheet(TStyleList& styles) {
  const std::string href = AttributeText(symHref);
  const std::string rel = AttributeText(symRel);
  const std::string rev = AttributeText(symRev);
  if (gui::AnsiSameText(rel, "stylesheet") && !href.empty()) {
    try {
      std::string base;
      const std::string text = FetchLinkedSheet(href, base);
      if (!text.empty()) {
        TStringCssSource source(NormaliseLineBreaks(text));
        char current = ' ';
        ParseStyleSheet(styles, current, source, base, true);
      }
    } catch (const std::exception&) {
      // A sheet that cannot be fetched or read is left out.
    }
  }
  if (buildState.OnLink) buildState.OnLink(ParseSender(), rel, rev, href);
  NextSymbol();
}

std::string NormaliseLineBreaks(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char ch = text[at];
    if (ch == '\r' || ch == '\n') {
      result += "\r\n";
      if (at + 1 < text.size() && text[at + 1] != ch && (text[at + 1] == '\r' || text[at + 1] == '\n')) ++at;
    } else {
      result += ch;
    }
  }
  return result;
}

}  // namespace engine
