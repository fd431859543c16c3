#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "engine/document/SelTextBuf.h"
#include "engine/html/TUrlTarget.h"
#include "engine/text/SectionDump.h"
#include "engine/text/TLinkList.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TCustomPanel.h"
#include "TextSectionTestSupport.h"

namespace engine {
namespace {

class TextSections : public testing::Test, public TextSectionFixture {};

TEST_F(TextSections, FinishingKeepsSourcePositionsAndCountsSections) {
  auto section = Finished(u"a  b", 100);
  EXPECT_EQ(section->Text, u"a b ");
  EXPECT_EQ(section->Len, 4);
  EXPECT_EQ(section->BreakFlags, "yyyyy");
  ASSERT_EQ(section->SourceIndex.size(), 2u);  // 100, then a jump to 103 (the added space follows at 104)
  EXPECT_EQ(section->SourceIndex[1].Pos, 2);
  EXPECT_EQ(section->SourceIndex[1].SourcePos, 103);
  EXPECT_FALSE(section->HoldsSourcePositions());
  EXPECT_EQ(section->SectionNumber, 1);
  auto empty = Finished(u"   ");
  EXPECT_EQ(empty->Len, 0);
  EXPECT_EQ(empty->SectionNumber, 0);
  EXPECT_EQ(Finished(u"x")->SectionNumber, 2);

  auto nobr = Make();
  Append(*nobr, u"a b", 0, /*noBreak=*/true);
  nobr->FinishForCell(3);
  EXPECT_EQ(nobr->BreakFlags.substr(0, 3), "nnn");

  // A placeholder character that came in as text has no image behind it: the
  // space after it is not a float's and stays.
  EXPECT_EQ(Finished(u"a\x04 b")->Text, u"a\x04 b ");
}

// Sections grow in room that earlier ones handed back: sections built side by
// side (more than are kept), one dropped unfinished and one finished while
// empty, each keep only their own characters, flags and positions.
TEST_F(TextSections, SectionsBuiltSideBySideKeepTheirOwnText) {
  for (int round = 0; round < 3; ++round) {
    std::vector<std::unique_ptr<TSection>> open;
    for (int i = 0; i < 6; ++i) open.push_back(Make());
    for (int piece = 0; piece < 40; ++piece)
      for (int i = 0; i < 6; ++i) Append(*open[static_cast<std::size_t>(i)], std::u16string(1, u'a' + i), 10 * piece);
    Append(*open[1], u"\x00AD", 500);  // a soft hyphen: the flags change in the general collapse
    open[2].reset();                   // abandoned while built
    auto empty = Make();
    empty->FinishForCell(7);
    EXPECT_EQ(empty->Len, 0);
    for (int i = 0; i < 6; ++i) {
      if (i == 2) continue;
      TSection& section = *open[static_cast<std::size_t>(i)];
      section.FinishForCell(999);
      const std::u16string expected = std::u16string(40, u'a' + i) + u" ";
      ASSERT_EQ(section.Text, expected) << "round " << round << " section " << i;
      EXPECT_EQ(section.BreakFlags, std::string(i == 1 ? 39 : 40, 'y') + (i == 1 ? "syy" : "yy"));
      ASSERT_EQ(section.SourceIndex.size(), 41u);  // every character jumps by 10; the closing space too
      EXPECT_EQ(section.SourceIndex[39].SourcePos, 390);
      EXPECT_EQ(section.SourceIndex[40].SourcePos, 999);
    }
  }
}

// A copy holds its own characters and flags: they outlive the source, and a
// copy of a section still being built can go on being built alone. A copy
// has no source index (its positions are the source document's).
TEST_F(TextSections, CopiesKeepTheirOwnTextWhenTheSourceIsGone) {
  auto finished = Finished(u"one  two", 50);
  auto open = Make();
  Append(*open, u"three", 10);
  std::unique_ptr<TSectionBase> finishedCopy = finished->CreateCopy(&doc);
  std::unique_ptr<TSectionBase> openCopy = open->CreateCopy(&doc);
  finished.reset();
  open.reset();
  for (int i = 0; i < 50; ++i) Finished(u"other text in the room the sources had");  // reuse their room
  auto& copied = static_cast<TSection&>(*finishedCopy);
  EXPECT_EQ(copied.Text, u"one two ");
  EXPECT_EQ(copied.BreakFlags, "yyyyyyyyy");
  EXPECT_TRUE(copied.SourceIndex.empty());
  auto& building = static_cast<TSection&>(*openCopy);
  EXPECT_EQ(building.Text, u"three");
  Append(building, u" four", 20);
  building.FinishForCell(30);
  EXPECT_EQ(building.Text, u"three four ");
  EXPECT_EQ(building.BreakFlags, std::string(12, 'y'));
}

// Long texts whose source positions jump (forward, back, or not at all) at
// random places: the index holds one entry per place where they stop running
// on one by one, however the jumps fall against the steps the index is built
// in. Replayed by number.
TEST_F(TextSections, SourceIndexHasAnEntryAtEveryJump) {
  for (unsigned number = 0; number < 300; ++number) {
    std::mt19937 random(number);
    auto section = Make();
    std::vector<int> sources;
    int next = 1000;
    const int pieces = 1 + static_cast<int>(random() % (number % 3 == 0 ? 90 : 8));
    for (int p = 0; p < pieces; ++p) {
      const int jumps[] = {0, 0, 5, -40, -1, 7};
      next += jumps[random() % 6];
      const int length = 1 + static_cast<int>(random() % 13);
      Append(*section, std::u16string(static_cast<std::size_t>(length), u'x'), next);
      for (int i = 0; i < length; ++i) sources.push_back(next++);
    }
    const int end = random() % 2 ? next : next + 3;
    sources.push_back(end);  // the closing space
    section->FinishForCell(end);
    std::vector<std::pair<int, int>> expected;
    for (std::size_t i = 0; i < sources.size(); ++i)
      if (i == 0 || sources[i] != sources[i - 1] + 1) expected.emplace_back(static_cast<int>(i), sources[i]);
    std::vector<std::pair<int, int>> index;
    for (const IndexObj& entry : section->SourceIndex) index.emplace_back(entry.Pos, entry.SourcePos);
    ASSERT_EQ(index, expected) << "case " << number;
  }
}

TEST_F(TextSections, SmallCapsSwitchRunsWhereTheKindOfLetterChanges) {
  SetArial(props, 16);  // above the "small" size
  props.Value(Prop::FontVariant) = std::string("small-caps");
  auto section = Finished(u"aB1c");
  EXPECT_EQ(section->Text, u"AB1C ");
  std::vector<int> starts;
  for (const auto& run : section->Fonts) starts.push_back(run->Pos);
  EXPECT_EQ(starts, (std::vector<int>{0, 1, 3, 4}));
  EXPECT_LT(section->Fonts.Items(0)->tmHeight, section->Fonts.Items(1)->tmHeight);
}

TEST_F(TextSections, EmptyLinksAndDroppedSectionsLeaveNoLinkBehind) {
  gui::TForm form(nullptr);
  auto* panel = new gui::TPanel(&form);
  panel->SetParent(&form);
  doc.Links.PaintPanel = panel;
  TUrlTarget link;
  link.Url = "x.html";
  link.LinkId = 77;
  link.TabIndex = 1;
  const TUrlTarget none;
  auto section = Make();
  Append(*section, u"before ");
  section->ChangeFontForLink('>', props, link);  // <a href=x tabindex=1></a>
  EXPECT_EQ(doc.Links.LiveCount(), 1);
  EXPECT_EQ(doc.TabStopCount(), 1);
  section->ChangeFontForLink('<', props, none);
  EXPECT_EQ(doc.Links.LiveCount(), 0);
  EXPECT_EQ(doc.TabStopCount(), 0);
  for (const auto& run : section->Fonts) EXPECT_EQ(run->LinkLooks(), nullptr);

  // A section that holds only a link start is dropped by its cell: its stop goes with it.
  auto dropped = std::make_unique<TSection>(&doc, true, &link, props, nullptr);
  EXPECT_EQ(doc.TabStopCount(), 1);
  EXPECT_FALSE(dropped->FinishForCell(0));
  dropped.reset();
  EXPECT_EQ(doc.Links.LiveCount(), 0);
  EXPECT_EQ(doc.TabStopCount(), 0);
  int maxWidth = 0;
  int curs = 0;
  doc.LayoutContent(&canvas(), 0, 400, 300, 0, maxWidth, curs);  // assigns tab order: nothing stale left
  doc.Links.PaintPanel = nullptr;
}

TEST_F(TextSections, LinksThatLookAlikeShareOneCopyOfTheirLooks) {
  props.LinkFonts = std::make_unique<TFontInfoArray>();
  for (auto& look : props.LinkFonts->Ar) {
    look->iName = "Arial";
    look->iSize = 12;
    look->iColor = 0xFF0000;
  }
  props.LinkFonts->Ar[TFontInfoArray::Visited]->iColor = 0x0000FF;
  TUrlTarget link;
  link.Url = "x.html";
  const TUrlTarget none;
  auto section = Make();
  const auto addLink = [&](const std::u16string& text) {
    section->ChangeFontForLink('>', props, link);
    Append(*section, text);
    section->ChangeFontForLink('<', props, none);
    Append(*section, u" ");
  };
  addLink(u"one");
  addLink(u"two");
  props.LinkFonts->Ar[TFontInfoArray::Visited]->iColor = 0x00FF00;
  addLink(u"three");
  props.LinkFonts->Ar[TFontInfoArray::Visited]->iColor = 0x0000FF;  // links in two contexts take turns
  addLink(u"four");
  std::vector<TFontObj*> links;
  for (const auto& run : section->Fonts)
    if (run->IsLink()) links.push_back(run);
  ASSERT_EQ(links.size(), 4u);
  EXPECT_EQ(links[0]->LinkLooks(), links[1]->LinkLooks());
  EXPECT_NE(links[1]->LinkLooks(), links[2]->LinkLooks());
  EXPECT_EQ(links[3]->LinkLooks(), links[0]->LinkLooks());
  // Each run still takes its own state's look.
  links[0]->SetVisited(true);
  links[2]->SetVisited(true);
  EXPECT_EQ(links[0]->Font->Color(), 0x0000FFu);
  EXPECT_EQ(links[1]->Font->Color(), 0xFF0000u);
  EXPECT_EQ(links[2]->Font->Color(), 0x00FF00u);
  EXPECT_EQ(links[1]->LinkLooks()->Ar[TFontInfoArray::Visited]->iColor, 0x0000FFu);
}

// A hint without a link, a link, and plain text after it: each run answers
// for itself, and a copy of the section answers the same.
TEST_F(TextSections, RunsReportHintsAndLinksOnlyWhereTheyWereGiven) {
  TUrlTarget link;
  link.Url = "x.html";
  link.LinkId = 9;
  const TUrlTarget none;
  auto section = Make();
  props.PropTitle = "tip";
  section->ChangeFont(props);
  Append(*section, u"hint ");
  props.PropTitle.clear();
  section->ChangeFontForLink('>', props, link);
  Append(*section, u"link ");
  section->ChangeFontForLink('<', props, none);
  Append(*section, u"plain");
  section->FinishForCell(15);
  Layout(*section, 400);
  auto copy = TSectionList::CreateCopy(doc);
  auto copied = section->CreateCopy(copy.get());
  auto* copiedText = static_cast<TSection*>(copied.get());
  Layout(*copiedText, 400);
  const int y = section->Lines[0].LineHt / 2;
  struct Expected {
    int x;
    std::uint8_t flags;
    const char* url;
    const char* title;
  };
  const Expected points[] = {{Width(u"hi"), kLinkFlagTitle, "", "tip"},
                             {Width(u"hint li"), kLinkFlagTarget, "x.html", ""},
                             {Width(u"hint link pl"), 0, "", ""}};
  for (TSection* text : {section.get(), copiedText}) {
    for (const Expected& point : points) {
      std::unique_ptr<TUrlTarget> target;
      TFormControlObj* control = nullptr;
      std::string title;
      EXPECT_EQ(text->LinkAtPoint(&canvas(), point.x, y, target, control, title), point.flags) << point.x;
      EXPECT_EQ(target ? target->Url : "", point.url);
      EXPECT_EQ(title, point.title);
    }
  }
  EXPECT_EQ(doc.Links.LiveCount(), 1);
}

TEST_F(TextSections, LinesBreakAtTheLastSpaceThatFits) {
  auto section = Finished(u"aaa bbb ccc ddd");
  const int width = Width(u"aaa bbb") + 2;
  const int height = Layout(*section, width);
  ASSERT_EQ(section->Lines.size(), 2u);
  const LineRec& first = section->Lines[0];
  EXPECT_EQ(first.Ln, 8);
  EXPECT_EQ(section->Lines[1].Start, 8);
  EXPECT_EQ(section->Lines[1].Ln, 8);
  int descent = 0;
  const int fontHeight = section->Fonts.Items(0)->LineHeight(descent);
  EXPECT_EQ(first.LineHt, fontHeight);
  EXPECT_EQ(first.Descent, descent);
  EXPECT_EQ(height, 2 * fontHeight);
  EXPECT_EQ(section->SectionHeight, 2 * fontHeight);
  EXPECT_EQ(maxWidth, width);
  EXPECT_EQ(DumpTextLines(*section).substr(0, 17), "line start=0 len=");
  // One pixel less and "bbb" no longer fits beside "aaa".
  Layout(*section, Width(u"aaa bbb") - 1);
  EXPECT_EQ(section->Lines[0].Ln, 4);
}

// Lines are gathered aside and stored at the end of a layout: laying a
// section out again, wider or narrower, makes what a fresh section's layout
// makes, and a fresh section holds room for exactly its lines.
TEST_F(TextSections, RelayoutAtAnyWidthMakesTheLinesOfAFreshLayout) {
  const std::u16string text = u"one two three four five six seven eight nine ten eleven twelve";
  auto reused = Finished(text);
  for (const int width : {40, 400, 25, 90, 1000, 60}) {
    Layout(*reused, width);
    auto fresh = Finished(text);
    Layout(*fresh, width);
    EXPECT_EQ(DumpTextLines(*reused), DumpTextLines(*fresh)) << "width " << width;
    EXPECT_EQ(fresh->Lines.capacity(), fresh->Lines.size()) << "width " << width;
  }
}

TEST_F(TextSections, AlignmentAndJustification) {
  const int width = 300;
  props.Value(Prop::TextAlign) = std::string("center");
  auto centred = Finished(u"one two");
  Layout(*centred, width);
  EXPECT_EQ(centred->Lines[0].LineIndent, (width - Width(u"one two")) / 2);
  props.Value(Prop::TextAlign) = std::string("right");
  auto right = Finished(u"one two");
  Layout(*right, width);
  EXPECT_EQ(right->Lines[0].LineIndent, width - Width(u"one two"));

  props.Value(Prop::TextAlign) = std::string("justify");
  auto justified = Finished(u"aa bb cc\u00A0dd ee ff gg hh");
  const int lineWidth = Width(u"aa bb cc\u00A0dd ee") + 3;
  Layout(*justified, lineWidth);
  ASSERT_EQ(justified->Lines.size(), 2u);
  const LineRec& first = justified->Lines[0];
  EXPECT_EQ(first.Ln, 15);
  EXPECT_EQ(first.Extra, lineWidth - Width(u"aa bb cc\u00A0dd ee"));
  EXPECT_EQ(first.Spaces, 3);  // the no-break space is not stretched, so not counted
  EXPECT_EQ(justified->Lines[1].Spaces, 0);  // the last line stays ragged

  // The alignment's case does not matter; a longer word is no alignment.
  props.Value(Prop::TextAlign) = std::string("RIGHT");
  EXPECT_EQ(Finished(u"x")->Justify, 3);
  props.Value(Prop::TextAlign) = std::string("Centered");
  EXPECT_EQ(Finished(u"x")->Justify, 1);
  props.Value(Prop::TextAlign) = std::string("cent");
  EXPECT_EQ(Finished(u"x")->Justify, 1);
}

// Centring uses the room of the section's own block at the line's Y: (right + left - width) / 2 - X.
TEST_F(TextSections, CentredLinesCentreOnTheirBlockBesideFloats) {
  props.Value(Prop::TextAlign) = std::string("center");
  auto centred = Finished(u"one two");
  const int text = Width(u"one two");
  // A block indented 150 pixels and 300 wide.
  imgr.Clear();
  imgr.Init(150, 450);
  imgr.Width = 300;
  int curs = 0;
  centred->LayoutSection(&canvas(), 150, 0, 0, 0, 300, 600, 0, imgr, maxWidth, curs);
  EXPECT_EQ(centred->Lines[0].LineIndent, (300 - text) / 2);
  // The same block beside a 100 pixel left float.
  FloatPlacement floating;
  floating.ImageWidth = 100;
  floating.ImageHeight = 30;
  floating.Align = kAlignFloatLeft;
  imgr.Clear();
  imgr.Init(150, 450);
  imgr.Width = 300;
  imgr.AddFloatingObject(0, &floating);
  const int left = imgr.LeftIndent(0);
  ASSERT_EQ(left, 250);
  curs = 0;
  centred->LayoutSection(&canvas(), 150, 0, 0, 0, 300, 600, 0, imgr, maxWidth, curs);
  EXPECT_EQ(centred->Lines[0].LineIndent, (450 + left - text) / 2 - 150);
}

TEST_F(TextSections, TextIndentNarrowsTheFirstLine) {
  props.Value(Prop::TextIndent) = std::string("100px");
  const std::u16string text = u"aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz";
  auto indented = Finished(text);
  Layout(*indented, 300);
  ASSERT_GE(indented->Lines.size(), 2u);
  const LineRec& first = indented->Lines[0];
  EXPECT_EQ(first.LineIndent, 100);
  EXPECT_LE(first.LineIndent + Width(text.substr(0, static_cast<std::size_t>(first.Ln) - 1)), 300);
  // The first line takes all that fits: one more word would pass the edge.
  EXPECT_GT(first.LineIndent + Width(text.substr(0, static_cast<std::size_t>(first.Ln) + 2)), 300);
  EXPECT_EQ(indented->Lines[1].LineIndent, 0);
}

TEST_F(TextSections, OverlongWordsOverflowOrMoveBelowFloats) {
  auto section = Finished(u"abcdefghijklmnop qr");
  const int wordWidth = Width(u"abcdefghijklmnop");
  Layout(*section, wordWidth / 2);
  ASSERT_GE(section->Lines.size(), 2u);
  EXPECT_EQ(section->Lines[0].Ln, 17);
  EXPECT_EQ(maxWidth, wordWidth);

  // Beside a float the word waits below it instead.
  imgr.Clear();
  imgr.Init(0, wordWidth + 10);
  imgr.Width = wordWidth + 10;
  FloatPlacement floating;
  floating.ImageWidth = 40;
  floating.ImageHeight = 30;
  floating.Align = kAlignFloatLeft;
  imgr.AddFloatingObject(0, &floating);
  int curs = 0;
  section->LayoutSection(&canvas(), 0, 0, 0, 0, wordWidth + 10, 600, 0, imgr, maxWidth, curs);
  ASSERT_GE(section->Lines.size(), 2u);
  EXPECT_EQ(section->Lines[0].Ln, 0);  // a spacer down to the float's end
  EXPECT_EQ(section->Lines[0].LineHt, imgr.NextFloatEndY(0));
  EXPECT_EQ(section->Lines[1].Ln, 17);
  EXPECT_EQ(section->Lines[1].LineIndent, 0);
  EXPECT_EQ(curs, section->Len);

  // A leading hyphen is no place to break: the whole word moves below the float.
  auto hyphened = Finished(u"-bbbbbbbbbbbbbbbbbbbb ");
  const int hyphenedWidth = Width(u"-bbbbbbbbbbbbbbbbbbbb");
  imgr.Clear();
  imgr.Init(0, hyphenedWidth + 10);
  imgr.Width = hyphenedWidth + 10;
  imgr.AddFloatingObject(0, &floating);
  curs = 0;
  hyphened->LayoutSection(&canvas(), 0, 0, 0, 0, hyphenedWidth + 10, 600, 0, imgr, maxWidth, curs);
  ASSERT_EQ(hyphened->Lines.size(), 2u);
  EXPECT_EQ(hyphened->Lines[0].Ln, 0);
  EXPECT_EQ(hyphened->Lines[1].Ln, 22);
  EXPECT_EQ(hyphened->Lines[1].LineIndent, 0);
}

TEST_F(TextSections, LinesBesideAFloatStartAfterIt) {
  auto section = Finished(u"aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz "
                          u"aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz");
  imgr.Clear();
  imgr.Init(0, 300);
  imgr.Width = 300;
  FloatPlacement floating;
  floating.ImageWidth = 100;
  floating.ImageHeight = 25;
  floating.Align = kAlignFloatLeft;
  imgr.AddFloatingObject(0, &floating);
  int curs = 0;
  section->LayoutSection(&canvas(), 0, 0, 0, 0, 300, 600, 0, imgr, maxWidth, curs);
  const int beside = imgr.LeftIndent(0);
  EXPECT_GE(beside, 100);
  EXPECT_EQ(section->Lines[0].LineIndent, beside);
  const auto below = std::find_if(section->Lines.begin(), section->Lines.end(),
                                  [](const auto& line) { return line.Y >= 25; });
  ASSERT_NE(below, section->Lines.end());
  EXPECT_EQ(below->LineIndent, 0);
  EXPECT_EQ((below - 1)->LineIndent, beside);
}

TEST_F(TextSections, SoftHyphensForcedBreaksIndentsAndLineHeight) {
  auto shy = Finished(u"abc\u00ADdef ghi");
  Layout(*shy, Width(u"abc-") + 1);
  EXPECT_EQ(shy->Lines[0].Ln, 3);
  EXPECT_TRUE(shy->Lines[0].Shy);
  // Without room for the hyphen fitting steps back one character; no earlier
  // break exists, so the word is cut at its hyphenation point all the same.
  Layout(*shy, Width(u"abc") + 1);
  EXPECT_EQ(shy->Lines[0].Ln, 3);
  EXPECT_TRUE(shy->Lines[0].Shy);

  auto broken = Finished(u"\bxyz");
  Layout(*broken, 300);
  ASSERT_EQ(broken->Lines.size(), 2u);
  EXPECT_EQ(broken->Lines[0].Ln, 1);
  int descent = 0;
  EXPECT_EQ(broken->Lines[0].LineHt, broken->Fonts.Items(0)->LineHeight(descent));

  props.Value(Prop::TextIndent) = std::string("50%");
  auto indented = Finished(u"word");
  Layout(*indented, 400);
  EXPECT_EQ(indented->FirstLineIndent, 200);
  EXPECT_EQ(indented->Lines[0].LineIndent, 200);
  props.Value(Prop::TextIndent) = std::string("95%");
  EXPECT_EQ(Finished(u"word")->IndentPercent, 90);
  props.Value(Prop::TextIndent) = std::monostate();

  props.Value(Prop::LineHeight) = std::string("40px");
  auto tall = Finished(u"x");
  Layout(*tall, 300);
  const LineRec& line = tall->Lines[0];
  EXPECT_EQ(line.SpaceBefore, (40 - line.LineHt) / 2);
  EXPECT_EQ(line.SpaceBefore + line.SpaceAfter + line.LineHt, 40);
}

TEST_F(TextSections, PreformattedLinesNeverWrapAndBlankLinesKeepTheirHeight) {
  auto pre = Finished<TPreFormated>(u"a long preformatted line that would wrap anywhere else");
  Layout(*pre, 100);
  ASSERT_EQ(pre->Lines.size(), 1u);
  EXPECT_EQ(maxWidth, pre->PreMaxWidthCache);
  int minWidth = 0;
  int maxW = 0;
  pre->MeasureWidthRange(&canvas(), minWidth, maxW);
  EXPECT_EQ(minWidth, maxW);
  EXPECT_GT(maxW, 100);

  auto blank = Make<TPreFormated>();
  blank->ChangeFont(props);  // a run that starts at the end must not move the only run
  EXPECT_TRUE(blank->FinishForCell(57));
  EXPECT_EQ(blank->Fonts.Items(0)->Pos, 0);
  EXPECT_EQ(blank->DocPosToSourcePos(0), 57);
  int descent = 0;
  EXPECT_EQ(Layout(*blank, 100), blank->Fonts.Items(0)->LineHeight(descent));
}

TEST_F(TextSections, CaretPositionsAndPointsRoundTrip) {
  auto section = Finished(u"Wave AV fi");
  Layout(*section, 400, /*x=*/20, /*y=*/0, /*curs=*/50);
  const LineRec& line = section->Lines[0];
  int x = 0, y = 0, caretHeight = 0;
  bool inText = true;
  EXPECT_EQ(section->CursorAtPoint(&canvas(), line.DrawX - 5, 3, x, y, caretHeight, inText), 50);
  EXPECT_FALSE(inText);
  EXPECT_EQ(section->CursorAtPoint(&canvas(), line.DrawX - 11, 3, x, y, caretHeight, inText), -1);
  for (int pos = 50; pos < 50 + section->Len - 1; ++pos) {
    ASSERT_TRUE(section->CursorToXY(&canvas(), pos, x, y));
    EXPECT_EQ(y, 0);
    int caretX = 0;
    EXPECT_EQ(section->CursorAtPoint(&canvas(), x + 1, 3, caretX, y, caretHeight, inText), pos);
    EXPECT_EQ(caretX, x);
  }
  // Past the middle of a character the caret goes after it.
  const int w = Width(u"W");
  EXPECT_EQ(section->CursorAtPoint(&canvas(), line.DrawX + w / 2 + 1, 3, x, y, caretHeight, inText), 51);
  char16_t ch = 0;
  TIDObject* object = nullptr;
  EXPECT_TRUE(section->CharAtPosition(51, ch, object));
  EXPECT_EQ(ch, u'a');
  EXPECT_FALSE(section->CharAtPosition(50 + section->Len, ch, object));
}

TEST_F(TextSections, SearchAndSourcePositionMapping) {
  auto section = Finished(u"Foo bar");
  Layout(*section, 400, 0, 0, /*curs=*/10);
  EXPECT_EQ(section->SearchForward(10, u"bar", false), 14);
  EXPECT_EQ(section->SearchForward(15, u"bar", false), -1);
  EXPECT_EQ(section->SearchBackward(18, u"foo", false), 10);
  EXPECT_EQ(section->SearchBackward(12, u"foo", false), -1);
  EXPECT_EQ(section->SearchForward(10, u"foo", true), -1);

  // Source positions 100-104, then 110-112.
  auto mapped = Make();
  Append(*mapped, u"abcde", 100);
  Append(*mapped, u"fgh", 110);
  mapped->FinishForCell(113);
  Layout(*mapped, 400, 0, 0, /*curs=*/20);
  EXPECT_EQ(mapped->SourcePosToDocPos(106, false), 25);
  EXPECT_EQ(mapped->SourcePosToDocPos(106, true), 24);
  EXPECT_EQ(mapped->DocPosToSourcePos(26), 111);
  EXPECT_EQ(mapped->DocPosToSourcePos(19), -1);  // before the section
  EXPECT_EQ(mapped->SourcePosToDocPos(90, false), 20);
  EXPECT_EQ(mapped->SourcePosToDocPos(90, true), -1);
  for (int pos = 20; pos < 28; ++pos) EXPECT_EQ(mapped->SourcePosToDocPos(mapped->DocPosToSourcePos(pos), false), pos);
}

TEST_F(TextSections, SelectionCopyTakesForcedBreaksAsLineEnds) {
  auto section = Finished(u"Hello world");
  Layout(*section, 400);
  doc.SelB = 0;
  doc.SelE = 40;
  char16_t buffer[32] = {};
  SelTextBuf copy(buffer, 32);
  section->CopyToSelectionBuffer(copy);
  EXPECT_EQ(copy.Finish(), 14);
  EXPECT_EQ(std::u16string(buffer), u"Hello world\r\n");

  auto broken = Finished(u"ab\bcd");
  Layout(*broken, 400);
  doc.SelB = 1;
  doc.SelE = 4;
  SelTextCount count;
  broken->CopyToSelectionBuffer(count);
  char16_t text[16] = {};
  SelTextBuf buf(text, 16);
  broken->CopyToSelectionBuffer(buf);
  EXPECT_EQ(count.Finish() + 1, buf.Finish());
  EXPECT_EQ(std::u16string(text), u"b\r\nc");
}

TEST_F(TextSections, SelectedTextIsDrawnInverted) {
  auto section = Finished(u"MMMM MMMM");
  Layout(*section, 400, 0, 0);
  doc.SelB = 0;
  doc.SelE = 4;
  canvas().Brush().SetColor(0xFFFFFF);
  canvas().FillRect(win::RECT{0, 0, 800, 200});
  section->PaintSection(&canvas(), win::RECT{0, 0, 800, 200}, imgr, 0, 0, 0);
  const LineRec& line = section->Lines[0];
  const auto darkShare = [&](int left, int right) {
    int dark = 0, all = 0;
    for (int y = line.DrawY; y < line.DrawY + line.LineHt; ++y)
      for (int x = left; x < right; ++x, ++all) dark += (bitmap.Canvas().Pixels(x, y) & 0xFF) < 128;
    return static_cast<double>(dark) / all;
  };
  const int selectedRight = Width(u"MMMM");
  EXPECT_GT(darkShare(1, selectedRight - 1), 0.6);
  EXPECT_LT(darkShare(Width(u"MMMM M"), Width(u"MMMM MMMM") - 1), 0.5);
  // Nothing is selected on a copied document.
  auto copy = TSectionList::CreateCopy(doc);
  auto copied = section->CreateCopy(copy.get());
  auto* copiedText = static_cast<TSection*>(copied.get());
  EXPECT_EQ(copiedText->Text, section->Text);
  EXPECT_TRUE(copiedText->Lines.empty());
}

TEST_F(TextSections, ImageLinksReportTheirTitleAndClickPoint) {
  TUrlTarget link;
  link.Url = "map.html";
  link.LinkId = 5;
  auto section = std::make_unique<TSection>(&doc, true, &link, props, nullptr);
  Append(*section, u"see ");
  auto image = std::make_unique<TInlineObject>(TInlineObject::Kind::Image);
  image->Place.ImageWidth = 40;
  image->Place.ImageHeight = 30;
  image->Title = "picture";
  image->ServerMap = true;
  TInlineObject* placed = section->AppendObject(std::move(image), 4);
  section->FinishForCell(5);
  Layout(*section, 400);
  section->PaintSection(&canvas(), win::RECT{0, 0, 800, 200}, imgr, 0, 0, 0);
  for (int click = 0; click < 2; ++click) {
    std::unique_ptr<TUrlTarget> target;
    TFormControlObj* control = nullptr;
    std::string title;
    const std::uint8_t flags =
        section->LinkAtPoint(&canvas(), placed->LeftX + 10, placed->TopY + 20, target, control, title);
    EXPECT_EQ(flags, kLinkFlagTarget | kLinkFlagTitle);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->Url, "map.html?10,20");  // the same on every move: the run's own link is untouched
    EXPECT_EQ(title, "picture");
  }
  EXPECT_EQ(doc.HoverImage, placed);
  EXPECT_EQ(section->Fonts.Items(0)->UrlTarget().Url, "map.html");
}

TEST_F(TextSections, ImagesRaiseOrLowerTheirLineByAlignment) {
  int descent = 0;
  const int fontHeight = Finished(u"x")->Fonts.Items(0)->LineHeight(descent);
  const int imageHeight = 40;
  struct Case {
    std::uint8_t align;
    int above;
    int below;
  };
  const int d = (imageHeight - fontHeight) / 2;
  for (const Case& c : {Case{kAlignTop, 0, imageHeight - fontHeight}, Case{kAlignMiddle, imageHeight - fontHeight - d, d},
                        Case{kAlignBaseline, imageHeight + descent - fontHeight, 0},
                        Case{kAlignBottom, imageHeight + descent - fontHeight, 0}}) {
    auto section = Make();
    Append(*section, u"x ");
    auto image = std::make_unique<TInlineObject>(TInlineObject::Kind::Image);
    image->Place.ImageWidth = 20;
    image->Place.ImageHeight = imageHeight;
    image->Place.Align = c.align;
    section->AppendObject(std::move(image), 2);
    section->FinishForCell(3);
    const int height = Layout(*section, 300);
    const LineRec& line = section->Lines[0];
    EXPECT_EQ(line.SpaceBefore, c.above) << int(c.align);
    EXPECT_EQ(line.SpaceAfter, c.below) << int(c.align);
    EXPECT_EQ(height, fontHeight + c.above + c.below);
  }
}

TEST_F(TextSections, RightFloatsNarrowTheLinesBesideThem) {
  auto section = Finished(u"aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv ww xx yy zz");
  imgr.Clear();
  imgr.Init(0, 300);
  imgr.Width = 300;
  FloatPlacement floating;
  floating.ImageWidth = 120;
  floating.ImageHeight = 30;
  floating.Align = kAlignFloatRight;
  imgr.AddFloatingObject(0, &floating);
  int curs = 0;
  section->LayoutSection(&canvas(), 0, 0, 0, 0, 300, 600, 0, imgr, maxWidth, curs);
  const LineRec& first = section->Lines[0];
  EXPECT_EQ(first.LineIndent, 0);
  EXPECT_EQ(first.DrawWidth, imgr.RightSide(0));
  EXPECT_LE(Width(section->Text.substr(0, static_cast<std::size_t>(first.Ln) - 1)), imgr.RightSide(0));
  const LineRec& last = section->Lines.back();
  EXPECT_EQ(last.DrawWidth, 300);
}

// The dump of a laid-out paragraph, with every number from our own measuring.
TEST_F(TextSections, LayoutDumpOfAParagraph) {
  auto section = Finished(u"Pack my box with five dozen jugs");
  Layout(*section, Width(u"Pack my box with") + 1, /*x=*/0, /*y=*/100, /*curs=*/40);
  int descent = 0;
  const int h = section->Fonts.Items(0)->LineHeight(descent);
  const int w = Width(u"Pack my box with") + 1;
  const std::string expected =
      "line start=40 len=17 x=0 y=100 w=" + std::to_string(w) + " h=" + std::to_string(h) +
      " base=" + std::to_string(100 + h - descent) + " text=|Pack my box with |\n" +
      "line start=57 len=16 x=0 y=" + std::to_string(100 + h) + " w=" + std::to_string(w) + " h=" +
      std::to_string(h) + " base=" + std::to_string(100 + 2 * h - descent) + " text=|five dozen jugs |\n";
  EXPECT_EQ(DumpTextLines(*section), expected);
}

// Measuring a justified line of several runs gives every space its share
// once, as drawing does: the caret after the last word stands at the right edge.
TEST_F(TextSections, JustifiedCaretsFollowTheDrawnShares) {
  props.Value(Prop::TextAlign) = std::string("justify");
  auto section = Make();
  Append(*section, u"aa bb ");
  props.Value(Prop::FontWeight) = std::string("bold");
  props.DropCachedFont();
  section->ChangeFont(props);
  Append(*section, u"cc dd ", 6);
  props.Value(Prop::FontWeight) = std::monostate();
  props.DropCachedFont();
  section->ChangeFont(props);
  Append(*section, u"ee ff gg hh ii jj kk ll", 12);
  section->FinishForCell(40);
  int withRemainder = 0;
  for (int extra = 3; extra < 12; ++extra) {
    Layout(*section, Width(u"aa bb ") + 60 + extra);
    const LineRec& line = section->Lines[0];
    if (line.Spaces == 0) continue;  // the line happens to fill the width exactly
    withRemainder += line.Extra % line.Spaces != 0;
    int x = 0, y = 0;
    ASSERT_TRUE(section->CursorToXY(&canvas(), line.Start + line.Ln - 1, x, y));
    EXPECT_EQ(x, line.DrawX + line.DrawWidth) << "extra " << extra;
    int caretX = 0, caretHeight = 0;
    bool inText = false;
    EXPECT_EQ(section->CursorAtPoint(&canvas(), x - 1, 3, caretX, y, caretHeight, inText), line.Start + line.Ln - 1);
  }
  EXPECT_GT(withRemainder, 2);
}

// With the caret sign on, an empty selection draws a one-pixel column as tall
// as the font where the caret stands, and nothing else changes.
TEST_F(TextSections, DummyCaretMarksAnEmptySelection) {
  auto section = Finished(u"MM MM");
  Layout(*section, 400);
  doc.SelB = doc.SelE = doc.CaretPos = 2;
  gui::TBitmap pictures[2];
  for (int i = 0; i < 2; ++i) {
    doc.ShowDummyCaret = i == 1;
    pictures[i].SetSize(200, 40);
    pictures[i].Canvas().Brush().SetColor(0xFFFFFF);
    pictures[i].Canvas().FillRect(win::RECT{0, 0, 200, 40});
    section->PaintSection(&pictures[i].Canvas(), win::RECT{0, 0, 200, 40}, imgr, 0, 0, 0);
  }
  const int caretX = Width(u"MM");
  int column = 0;
  int elsewhere = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x)
      if (pictures[0].Canvas().Pixels(x, y) != pictures[1].Canvas().Pixels(x, y)) (x == caretX ? column : elsewhere)++;
  EXPECT_EQ(elsewhere, 0);
  EXPECT_GE(column, section->Fonts.Items(0)->tmHeight - 2);
  // At the section's end the sign stands after its last character.
  doc.SelB = doc.SelE = doc.CaretPos = section->Len;
  pictures[1].Canvas().FillRect(win::RECT{0, 0, 200, 40});
  section->PaintSection(&pictures[1].Canvas(), win::RECT{0, 0, 200, 40}, imgr, 0, 0, 0);
  int atEnd = 0;
  for (int y = 0; y < 40; ++y) atEnd += (pictures[1].Canvas().Pixels(Width(u"MM MM "), y) & 0xFF) < 128;
  EXPECT_GE(atEnd, section->Fonts.Items(0)->tmHeight - 2);
  doc.ShowDummyCaret = false;
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

// A forced break ends its line wherever it stands: near the start, inside and at the
// end of the groups of characters searched at once, and after a long run without one.
TEST_F(TextSections, EveryForcedBreakEndsItsLine) {
  auto section = Make();
  std::vector<int> starts = {0};
  int source = 0;
  for (int length : {0, 1, 2, 6, 7, 8, 9, 15, 16, 17, 3, 40}) {
    Append(*section, std::u16string(static_cast<std::size_t>(length), u'x'), source);
    source += length;
    section->AppendChar(kBreakChar, source++, props, false);
    starts.push_back(source);
  }
  Append(*section, u"tail", source);
  section->FinishForCell(source + 4);
  Layout(*section, 4000);
  ASSERT_EQ(section->Lines.size(), starts.size());
  for (std::size_t i = 0; i < starts.size(); ++i) EXPECT_EQ(section->Lines[i].Start, starts[i]) << "line " << i;
}

}  // namespace
}  // namespace engine
