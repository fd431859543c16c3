// Horizontal rules, page breaks and list item labels: attributes, layout and pixels.
#include <gtest/gtest.h>

#include "engine/css/TMyFont.h"
#include "engine/document/TBlockLI.h"
#include "engine/document/THRBlock.h"
#include "engine/document/THorzLine.h"
#include "engine/document/TPage.h"
#include "engine/html/TAttributeList.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/user/SystemColors.h"
#include "tests/engine/document/DocumentFixtures.h"

namespace engine {
namespace {

using namespace engine::testing;

constexpr win::COLORREF kWhite = 0xFFFFFF;

std::unique_ptr<TAttributeList> Attributes(std::initializer_list<std::pair<THtmlSymbol, const char*>> values) {
  auto list = std::make_unique<TAttributeList>();
  for (const auto& [symbol, text] : values)
    list->Add(std::make_unique<TAttribute>(symbol, 1252, text, "", std::atoi(text)));
  return list;
}

struct RuleDocument {
  explicit RuleDocument(std::initializer_list<std::pair<THtmlSymbol, const char*>> attributes, int width = 200) {
    root.Background = kWhite;
    auto list = Attributes(attributes);
    auto rule = std::make_unique<THorzLine>(&root, *style, list.get());
    line = rule.get();
    block = AddBlock<THRBlock>(root, *style, std::move(rule));
    LayOut(root, width);
    bitmap.SetPixelFormat(gui::pf24bit);
    bitmap.SetSize(width, 30);
    bitmap.Canvas().Brush().SetColor(kWhite);
    bitmap.Canvas().FillRect(win::RECT{0, 0, width, 30});
    root.PaintContent(&bitmap.Canvas(), win::RECT{0, 0, width, 30}, 6000, 0, 0, 0, 0);
  }
  win::COLORREF Pixel(int x, int y) { return bitmap.Canvas().Pixels(x, y); }

  TSectionList root{nullptr, nullptr};
  std::unique_ptr<TProperties> style = MakeStyle("hr");
  THorzLine* line = nullptr;
  THRBlock* block = nullptr;
  gui::TBitmap bitmap;
};

TEST(HorizontalRules, SizeAndWidthAttributesWithinTheirLimits) {
  EXPECT_EQ(RuleDocument({{symSize, "0"}}).line->RuleHeight, 2);
  EXPECT_EQ(RuleDocument({{symSize, "21"}}).line->RuleHeight, 2);
  RuleDocument tall({{symSize, "20"}});
  EXPECT_EQ(tall.line->RuleHeight, 20);
  EXPECT_EQ(tall.line->SectionHeight, 20);
  EXPECT_EQ(RuleDocument({{symWidth, "150%"}}).line->LineWidth, 200);
  EXPECT_EQ(RuleDocument({{symWidth, "50%"}}).line->LineWidth, 100);
  EXPECT_EQ(RuleDocument({{symWidth, "0"}}).line->LineWidth, 200);
  RuleDocument fixed({{symWidth, "80"}, {symAlign, "RIGHT"}});
  EXPECT_EQ(fixed.line->LineWidth, 80);
  EXPECT_EQ(fixed.line->LeftX, 120);
}

TEST(HorizontalRules, ShadedOnWhiteIsSilverBelowAndShadowAbove) {
  RuleDocument rule({{symSize, "4"}});
  win::COLORREF shadow = win::GetSysColor(win::COLOR_BTNSHADOW) & 0xFFFFFF;
  EXPECT_EQ(rule.Pixel(199, 0), gui::clSilver);
  EXPECT_EQ(rule.Pixel(100, 3), gui::clSilver);
  EXPECT_EQ(rule.Pixel(0, 0), shadow);
  EXPECT_EQ(rule.Pixel(100, 0), shadow);
  EXPECT_EQ(rule.Pixel(100, 1), kWhite);  // an outline, not a bar
}

TEST(HorizontalRules, ColourMakesASolidBarAndNoShadeABlackOutline) {
  RuleDocument red({{symColor, "#FF0000"}, {symSize, "4"}});
  EXPECT_EQ(red.Pixel(100, 1), win::RGB(255, 0, 0));
  EXPECT_EQ(red.Pixel(199, 3), win::RGB(255, 0, 0));
  EXPECT_EQ(red.Pixel(100, 4), kWhite);
  RuleDocument plain({{symNoshade, ""}, {symSize, "4"}});
  EXPECT_EQ(plain.Pixel(0, 0), gui::clBlack);
  EXPECT_EQ(plain.Pixel(199, 3), gui::clBlack);
  EXPECT_EQ(plain.Pixel(100, 2), kWhite);
}

TEST(HorizontalRules, InheritedTextColourKeepsTheShadedLook) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("hr");
  style->Value(Prop::Color) = static_cast<int>(win::RGB(0, 0, 255));  // inherited, not set on the rule
  THorzLine line(&root, *style, nullptr);
  EXPECT_EQ(line.Color, kNoColor);
}

TEST(HorizontalRules, RuleBesideALeftFloatStartsRightOfIt) {
  TSectionList root(nullptr, nullptr);
  IndentManager manager;
  manager.Init(0, 300);
  manager.AddFloatBlock(0, 120, 50, kAlignFloatLeft);
  auto style = MakeStyle("hr");
  THorzLine line(&root, *style, nullptr);
  int maxWidth = 0;
  int curs = 0;
  line.LayoutSection(nullptr, 0, 10, 0, 0, 300, 0, 0, manager, maxWidth, curs);
  EXPECT_EQ(line.LeftX, 120);
  EXPECT_EQ(line.LineWidth, 180);
  line.LayoutSection(nullptr, 0, 10, 0, 0, 100, 0, 0, manager, maxWidth, curs);
  EXPECT_EQ(line.LineWidth, 0);  // squeezed out, never negative
  gui::TBitmap bitmap;
  bitmap.SetPixelFormat(gui::pf24bit);
  bitmap.SetSize(300, 20);
  bitmap.Canvas().Brush().SetColor(kWhite);
  bitmap.Canvas().FillRect(win::RECT{0, 0, 300, 20});
  line.LayoutSection(nullptr, 0, 10, 0, 0, 300, 0, 0, manager, maxWidth, curs);
  line.Color = win::RGB(0, 128, 0);
  line.PaintSection(&bitmap.Canvas(), win::RECT{0, 0, 300, 20}, manager, 0, 0, 0);
  EXPECT_EQ(bitmap.Canvas().Pixels(119, 10), kWhite);
  EXPECT_EQ(bitmap.Canvas().Pixels(120, 10), win::RGB(0, 128, 0));
}

TEST(PageBreaks, PageElementEndsThePrintedPageUnlessNearItsTop) {
  TSectionList root(nullptr, nullptr);
  AddContent(root, 100);
  auto page = std::make_unique<TPage>(&root);
  TPage* raw = page.get();
  root.AddSection(std::move(page), 0);
  AddContent(root, 500);
  LayOut(root, 300);
  root.Printing = true;
  IndentManager manager;
  for (auto [offset, expected] : {std::pair{95, 1095}, std::pair{94, 100}}) {
    root.YOffset = offset;
    root.VisibleBottom = 1095;
    raw->PaintSection(nullptr, win::RECT{0, 0, 300, 1000}, manager, 0, 0, 0);
    EXPECT_EQ(root.VisibleBottom, expected) << offset;
  }
}

TEST(PageBreaks, BlockBreakBeforeEndsThePageAtItsTop) {
  TSectionList root(nullptr, nullptr);
  auto plain = MakeStyle("div");
  auto breaking = MakeStyle("div", {{"page-break-before", "always"}});
  TBlock* first = AddBlock(root, *plain);
  AddContent(*first->MyCell, 300);
  TBlock* second = AddBlock(root, *breaking);
  FakeSection* content = AddContent(*second->MyCell, 300);
  LayOut(root, 300);
  root.Printing = true;
  root.NoOutput = false;
  root.VisibleBottom = 1000;
  IndentManager manager;
  second->PaintSection(nullptr, win::RECT{0, 0, 300, 1000}, manager, 0, 0, 0);
  EXPECT_EQ(root.VisibleBottom, 300);
  EXPECT_TRUE(root.SkipDraw);
  EXPECT_EQ(content->paints, 0);
}

// Writes the document's first-line slot as text line breaking does.
class BaselineSection : public FakeSection {
 public:
  BaselineSection(TSectionList* document, int height, int baseline)
      : FakeSection(document, height, 1), baseline_(baseline) {}
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override {
    int height = FakeSection::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth,
                                            Curs);
    if (Document->FirstLinePointer != nullptr && *Document->FirstLinePointer == 0)
      *Document->FirstLinePointer = Y + baseline_;
    return height;
  }

 private:
  int baseline_;
};

TEST(ListItems, LabelsOfNumberedStyles) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("li");
  auto label = [&](char type, int number) {
    TBlockLI item(&root, *style, &root, symOl, false, type, number, 1, nullptr);
    std::u16string text = item.LabelText();
    return std::string(text.begin(), text.end());
  };
  EXPECT_EQ(label('a', 27), "z.");
  EXPECT_EQ(label('a', 1), "a.");
  EXPECT_EQ(label('I', 25), "XX.");
  EXPECT_EQ(label('i', 3), "iii.");
  EXPECT_EQ(label('1', 12), "12.");
  // Numbers below 1 have no letter or numeral.
  EXPECT_EQ(label('i', 0), "0.");
  EXPECT_EQ(label('A', -3), "-3.");
}

TEST(ListItems, BulletsByNestingLevelAndLooseItems) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("li");
  auto bullet = [&](int level, bool plain) {
    return TBlockLI(&root, *style, &root, symUl, plain, 0, 1, level, nullptr).ListStyleType;
  };
  EXPECT_EQ(bullet(1, false), lbDisc);
  EXPECT_EQ(bullet(2, false), lbCircle);
  EXPECT_EQ(bullet(3, false), lbSquare);
  EXPECT_EQ(bullet(1, true), lbNone);
  TBlockLI loose(&root, *style, &root, symP, false, 0, 1, 0, nullptr);
  EXPECT_EQ(loose.ListType, 4);
  EXPECT_EQ(loose.ListStyleType, lbDisc);
  LayOut(root, 300);
  int maxWidth = 0;
  int curs = 0;
  IndentManager manager;
  manager.Init(0, 300);
  loose.LayoutSection(nullptr, 0, 0, 0, 0, 300, 0, 0, manager, maxWidth, curs);
  EXPECT_EQ(loose.ContentLeft, 16);
}

TEST(ListItems, ItemStartingWithANestedListStillGetsItsLabelLine) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("li");
  TBlockLI* outer = AddBlock<TBlockLI>(root, *style, symUl, false, 0, 1, 1);
  TBlockLI* inner = AddBlock<TBlockLI>(*outer->MyCell, *style, symUl, false, 0, 1, 2);
  inner->MyCell->AddSection(std::make_unique<BaselineSection>(&root, 20, 15), 0);
  LayOut(root, 300);
  EXPECT_EQ(inner->LabelY, 15);
  EXPECT_EQ(outer->LabelY, 15);
  EXPECT_EQ(root.FirstLinePointer, nullptr);
}

TEST(ListItems, DiscIsDrawnOnlyNearTheClip) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("li", {{"margin-left", "40px"}, {"color", "#0000FF"}});
  TBlockLI* item = AddBlock<TBlockLI>(root, *style, symUl, false, 0, 1, 1);
  item->MyCell->AddSection(std::make_unique<BaselineSection>(&root, 20, 115), 0);
  LayOut(root, 300);
  ASSERT_EQ(item->LabelY, 115);
  gui::TBitmap bitmap;
  bitmap.SetPixelFormat(gui::pf24bit);
  bitmap.SetSize(300, 200);
  auto paintWithClipTop = [&](int top) {
    bitmap.Canvas().Brush().SetColor(kWhite);
    bitmap.Canvas().FillRect(win::RECT{0, 0, 300, 200});
    IndentManager manager;
    item->PaintSection(&bitmap.Canvas(), win::RECT{0, top, 300, 200}, manager, 0, 0, 0);
    return bitmap.Canvas().Pixels(40 - 13, 115 - 4);
  };
  win::COLORREF ink = item->ListFont->Color() & 0xFFFFFF;
  EXPECT_EQ(paintWithClipTop(155), ink);     // 40 pixels above the clip: drawn
  EXPECT_EQ(paintWithClipTop(175), kWhite);  // 60 pixels above: not drawn
}

}  // namespace
}  // namespace engine
