#pragma once
// A document, a canvas and Arial 12 pt properties for text section tests.
#include <memory>
#include <string>

#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "engine/document/IndentManager.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TokenBuffers.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TPreFormated.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace engine {

inline void SetArial(TProperties& props, double points) {
  props.DefFontName = "Arial";
  props.Value(Prop::FontFamily) = std::string("Arial");
  props.Value(Prop::FontSize) = points;
  props.Value(Prop::Color) = 0;
  props.DropCachedFont();
}

class TextSectionFixture {
 public:
  TextSectionFixture() {
    bitmap.SetSize(800, 200);
    SetArial(props, 12);
  }

  // Appends text (one source position per character from firstSource) and finishes.
  template <class Section = TSection>
  std::unique_ptr<Section> Finished(const std::u16string& text, int firstSource = 0) {
    auto section = Make<Section>();
    Append(*section, text, firstSource);
    section->FinishForCell(firstSource + static_cast<int>(text.size()));
    return section;
  }
  template <class Section = TSection>
  std::unique_ptr<Section> Make() {
    if constexpr (std::is_same_v<Section, TPreFormated>) return std::make_unique<TPreFormated>(&doc, nullptr, props, nullptr);
    else return std::make_unique<TSection>(&doc, true, nullptr, props, nullptr);
  }
  void Append(TSection& section, const std::u16string& text, int firstSource = 0, bool noBreak = false) {
    TokenObj token;
    for (std::size_t i = 0; i < text.size(); ++i) token.AppendChar(text[i], firstSource + static_cast<int>(i));
    section.AppendTextRun(token, props, noBreak);
  }
  // Lays the section out at (x, y) in a flow width wide, from position curs.
  int Layout(TSection& section, int width, int x = 0, int y = 0, int curs = 0) {
    imgr.Clear();
    imgr.Init(0, width);
    imgr.Width = width;
    maxWidth = 0;
    return section.LayoutSection(&canvas(), x, y, 0, 0, width, 600, 0, imgr, maxWidth, curs);
  }
  // Width of text in the properties' font, as the layer measures it.
  int Width(std::u16string_view text) {
    auto font = props.GetFont();
    ApplyFontToCanvas(*font, canvas());
    canvas().TextExtent(std::u16string_view());
    return TextWidth(canvas().Handle(), text.data(), static_cast<int>(text.size()));
  }
  gui::TCanvas& canvas() { return bitmap.Canvas(); }

  TSectionList doc{nullptr, nullptr};
  gui::TBitmap bitmap;
  TProperties props;
  IndentManager imgr;
  int maxWidth = 0;
};

}  // namespace engine
