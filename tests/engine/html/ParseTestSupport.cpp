#include "tests/engine/html/ParseTestSupport.h"

#include <regex>

#include "engine/document/TBlock.h"
#include "engine/text/TFontObj.h"
#include "engine/text/TPreFormated.h"
#include "engine/css/TMyFont.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/support/LayoutDump.h"

namespace engine::testing {
namespace {

std::string Printable(std::u16string_view text) {
  std::string out;
  for (char16_t ch : text) {
    if (ch >= 32 && ch < 127) {
      out += static_cast<char>(ch);
    } else {
      char code[12];
      std::snprintf(code, sizeof code, ch < 256 ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(ch));
      out += code;
    }
  }
  return out;
}

void RegisterTextKind() {
  static const bool registered = [] {
    RegisterDumpKind([](const TSectionBase& section, DumpLine& line) {
      const auto* text = dynamic_cast<const TSection*>(&section);
      if (!text) return false;
      line.kind = dynamic_cast<const TPreFormated*>(text) ? "Pre" : "Text";
      line.extra = " |" + Printable(text->Text) + "|";
      return true;
    });
    return true;
  }();
  (void)registered;
}

void Join(const TCellBasic& cell, std::string& out) {
  for (const auto& section : cell) {
    if (const auto* text = dynamic_cast<const TSection*>(section.get())) {
      if (!out.empty()) out += '|';
      out += Printable(text->Text);
    } else if (const auto* block = dynamic_cast<const TBlock*>(section.get())) {
      Join(*block->MyCell, out);
    }
  }
}

}  // namespace

std::string ParsedDocument::Dump() const {
  RegisterTextKind();
  static const std::regex geometry(R"( \(-?\d+,-?\d+\) -?\d+x-?\d+)");
  return std::regex_replace(DumpLayout(*root), geometry, "");
}

std::unique_ptr<TSectionList> NewTestRoot(int fontSize) {
  auto root = std::make_unique<TSectionList>(nullptr, nullptr);
  root->SetDocumentDefaults("Times New Roman", "Courier New", fontSize, 0, 0xFF0000, 0x800080, 0xFF, 0xFFFFFF, false,
                            true, 1, 5, 10);
  return root;
}

ParsedDocument Parse(const std::string& html, TParseViewer* viewer, const TParseHandlers& handlers) {
  ParsedDocument document{NewTestRoot(), {}};
  document.head = ParseHtmlSource(html, *document.root, viewer, handlers);
  return document;
}

ParsedDocument ParseAndLayOut(const std::string& html, int width) {
  ParsedDocument document = Parse(html);
  RegisterTextKind();
  gui::TBitmap bitmap;
  bitmap.SetSize(8, 8);
  int maxWidth = 0;
  int curs = 0;
  document.root->LayoutContent(&bitmap.Canvas(), 0, width, 600, 0, maxWidth, curs);
  return document;
}

ParsedDocument ParsePlain(const std::string& text) {
  ParsedDocument document{NewTestRoot(), {}};
  ParsePlainText(text, *document.root, nullptr);
  return document;
}

namespace {
void Collect(const TCellBasic& cell, std::vector<const TSection*>& out) {
  for (const auto& section : cell) {
    if (const auto* text = dynamic_cast<const TSection*>(section.get())) {
      out.push_back(text);
    } else if (const auto* block = dynamic_cast<const TBlock*>(section.get())) {
      Collect(*block->MyCell, out);
    }
  }
}
}  // namespace

std::vector<const TSection*> TextSections(const TCellBasic& cell) {
  std::vector<const TSection*> out;
  Collect(cell, out);
  return out;
}

std::string FontRuns(const TSection& section) {
  std::string out;
  for (int index = 0; index < section.Fonts.Count(); ++index) {
    const TFontObj* run = section.Fonts.Items(index);
    const TMyFont& font = *run->Font;
    char text[64];
    std::snprintf(text, sizeof text, "%s%d:%s%s%s %d #%06X", out.empty() ? "" : " ", run->Pos,
                  font.Style() & gui::fsBold ? "b" : "", font.Style() & gui::fsItalic ? "i" : "",
                  font.Style() & gui::fsUnderline ? "u" : "", font.Size(),
                  static_cast<unsigned>(font.Color()) & 0xFFFFFFu);
    out += text;
  }
  return out;
}

std::string JoinedText(const TCellBasic& cell) {
  std::string out;
  Join(cell, out);
  return out;
}

std::string Repeat(const std::string& piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

}  // namespace engine::testing
