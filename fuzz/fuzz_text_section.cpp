// Arbitrary bytes as a script that builds a text section (characters of every
// kind, font changes, links, NOBR, images, controls), finishes it, lays it out
// beside a float at a width from the input, paints it with a selection and asks
// every lookup of it. None may crash, hang or read outside the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/css/TProperties.h"
#include "engine/document/IndentManager.h"
#include "engine/document/SelTextBuf.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/html/TokenBuffers.h"
#include "engine/text/SectionDump.h"
#include "engine/text/TPreFormated.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace {

using namespace engine;

constexpr std::size_t kMaxInput = 2048;
const char16_t kAlphabet[] = {u'a', u'W', u' ', u' ', 0xA0, 0xAD, 8, u'-', u'?', 0x4E00, 0xD840, 0xDC00, u'i', u'.'};
const char* kAligns[] = {"left", "center", "right", "justify"};

void SetFont(TProperties& props, std::uint8_t arg) {
  props.DefFontName = "Arial";
  props.Value(Prop::FontFamily) = std::string(arg & 1 ? "Times New Roman" : "Arial");
  props.Value(Prop::FontSize) = 4.0 + (arg % 40);
  props.Value(Prop::FontWeight) = std::string(arg & 2 ? "bold" : "normal");
  props.Value(Prop::FontStyle) = std::string(arg & 4 ? "italic" : "normal");
  props.Value(Prop::VerticalAlign) = std::string(arg & 8 ? "super" : arg & 16 ? "sub" : "baseline");
  props.DropCachedFont();
}

std::unique_ptr<TInlineObject> Object(bool control, std::uint8_t arg) {
  auto object = std::make_unique<TInlineObject>(control ? TInlineObject::Kind::Control : TInlineObject::Kind::Image);
  object->Place.ImageWidth = arg * 3;
  object->Place.ImageHeight = (arg % 17) * 5;
  object->Place.Align = static_cast<std::uint8_t>(arg % 7);
  object->Place.HSpaceL = arg % 3;
  object->Place.VSpaceB = arg % 5;
  return object;
}

void Build(TSection& section, TProperties& props, const std::uint8_t* data, std::size_t size) {
  TUrlTarget link;
  const TUrlTarget none;
  bool noBreak = false;
  bool inLink = false;
  TokenObj token;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const std::uint8_t arg = data[i + 1];
    switch (data[i] % 8) {
      case 0:
      case 1:
        token.Clear();
        token.AppendChar(kAlphabet[arg % (sizeof kAlphabet / sizeof kAlphabet[0])], static_cast<int>(i));
        section.AppendTextRun(token, props, noBreak);
        break;
      case 2:
        SetFont(props, arg);
        section.ChangeFont(props);
        break;
      case 3:
        link.Url = "u" + std::to_string(arg);
        link.LinkId = arg + 1;
        section.ChangeFontForLink(inLink ? '<' : '>', props, inLink ? none : link);
        inLink = !inLink;
        break;
      case 4:
        section.AllowBreakAfterLast();
        break;
      case 5:
        section.AppendObject(Object(false, arg), static_cast<int>(i));
        break;
      case 6:
        section.AppendObject(Object(true, arg), static_cast<int>(i));
        break;
      default:
        noBreak = !noBreak;
        break;
    }
  }
}

void Ask(TSection& section, gui::TCanvas& canvas, TSectionList& doc, IndentManager& imgr) {
  doc.SelB = section.FirstCharPos + 1;
  doc.SelE = section.FirstCharPos + section.Len / 2 + 1;
  section.PaintSection(&canvas, win::RECT{0, 0, 200, 100}, imgr, 0, 0, 0);
  for (int y = -5; y < section.SectionHeight + 5 && y < 400; y += 7)
    for (int x = -15; x < 220; x += 23) {
      int xr = 0, yr = 0, height = 0;
      bool inText = false;
      section.CursorAtPoint(&canvas, x, y, xr, yr, height, inText);
      std::unique_ptr<TUrlTarget> target;
      TFormControlObj* control = nullptr;
      std::string title;
      section.LinkAtPoint(&canvas, x, y, target, control, title);
    }
  for (int pos = section.FirstCharPos - 1; pos <= section.FirstCharPos + section.Len && pos < 600; ++pos) {
    int x = 0, y = 0;
    section.CursorToXY(&canvas, pos, x, y);
    char16_t ch = 0;
    TIDObject* object = nullptr;
    section.CharAtPosition(pos, ch, object);
    section.SourcePosToDocPos(section.DocPosToSourcePos(pos), pos & 1);
  }
  section.SearchForward(section.FirstCharPos, u"a w", false);
  section.SearchBackward(section.FirstCharPos + section.Len, u"W", true);
  char16_t buffer[64];
  SelTextBuf copy(buffer, 64);
  section.CopyToSelectionBuffer(copy);
  copy.Finish();
  DumpTextLines(section);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  if (size > kMaxInput) size = kMaxInput;
  TSectionList doc(nullptr, nullptr);
  TProperties props;
  SetFont(props, data[0]);
  props.Value(Prop::TextAlign) = std::string(kAligns[data[1] % 4]);
  props.Value(Prop::LineHeight) = std::string(data[1] & 4 ? std::to_string(data[2]) + "px" : "normal");
  props.Value(Prop::TextIndent) = std::to_string(static_cast<int>(data[2]) - 100) + (data[1] & 8 ? "%" : "px");
  if (data[1] & 16) props.Value(Prop::WordWrap) = std::string("break-word");
  std::unique_ptr<TSection> section;
  if (data[1] & 32) section = std::make_unique<TPreFormated>(&doc, nullptr, props, nullptr);
  else section = std::make_unique<TSection>(&doc, true, nullptr, props, nullptr);
  Build(*section, props, data + 4, size - 4);
  section->FinishForCell(static_cast<int>(size));

  gui::TBitmap bitmap;
  bitmap.SetSize(200, 100);
  IndentManager imgr;
  const int width = static_cast<int>(data[3]) - 20;
  imgr.Init(0, width);
  imgr.Width = width;
  if (data[1] & 64) {
    FloatPlacement floating;
    floating.ImageWidth = data[3] / 3;
    floating.ImageHeight = data[2] / 4;
    floating.Align = data[1] & 128 ? kAlignFloatRight : kAlignFloatLeft;
    imgr.AddFloatingObject(0, &floating);
  }
  int minWidth = 0, maxWidth = 0, curs = 3;
  section->MeasureWidthRange(&bitmap.Canvas(), minWidth, maxWidth);
  section->LayoutSection(&bitmap.Canvas(), 0, 0, 0, 0, width, 100, 0, imgr, maxWidth, curs);
  Ask(*section, bitmap.Canvas(), doc, imgr);
  return 0;
}
