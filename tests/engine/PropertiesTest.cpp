#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/css/CssColors.h"
#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TPropStack.h"
#include "engine/css/TProperties.h"

namespace engine {
namespace {

const std::string* Text(const TProperties& properties, Prop p) { return TextOf(properties.Value(p)); }
const int* Number(const TProperties& properties, Prop p) { return std::get_if<int>(&properties.Value(p)); }

TEST(Properties, NameTableIsCaseSensitiveAndInOrder) {
  int index = -1;
  EXPECT_TRUE(PropertyIndexFromName("font-family", index));
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(PropertyIndexFromName("display", index));
  EXPECT_EQ(index, 59);
  EXPECT_TRUE(PropertyIndexFromName("z-index", index));
  EXPECT_EQ(index, PropIdx(Prop::ZIndex));
  EXPECT_FALSE(PropertyIndexFromName("Color", index));
  EXPECT_FALSE(PropertyIndexFromName("margin", index));
}

TEST(Properties, SameValueAnswersAsTheVariantsEquality) {
  const std::vector<TPropValue> values = {std::monostate{}, std::string(), std::string("12px"), std::string("12pt"),
                                          0, 12, kUnsetValue, 0.0, -0.0, 12.0, std::nan("")};
  for (const TPropValue& a : values)
    for (const TPropValue& b : values) EXPECT_EQ(SameValue(a, b), a == b) << a.index() << " " << b.index();
}

// SameText compares short texts a word at a time: a difference at any byte of any length
// must be seen.
TEST(Properties, SameTextSeesADifferenceAtEveryByte) {
  for (std::size_t size = 0; size <= 40; ++size) {
    const std::string text(size, 'x');
    EXPECT_TRUE(SameText(text, std::string(size, 'x'))) << size;
    EXPECT_FALSE(SameText(text, text + "x")) << size;
    for (std::size_t at = 0; at < size; ++at) {
      std::string other = text;
      other[at] = 'y';
      EXPECT_FALSE(SameText(text, other)) << size << " at " << at;
    }
  }
}

TEST(Properties, NewPropertiesAreUnsetBoxesAndNoColours) {
  TProperties properties;
  for (int index = PropIdx(Prop::MarginTop); index <= PropIdx(Prop::Left); ++index) {
    ASSERT_TRUE(std::holds_alternative<int>(properties.Props[static_cast<std::size_t>(index)]));
    EXPECT_EQ(std::get<int>(properties.Props[static_cast<std::size_t>(index)]), kUnsetValue);
  }
  EXPECT_EQ(properties.GetColor(), kNoColor);
  EXPECT_EQ(properties.GetBackgroundColor(), kNoColor);
  EXPECT_EQ(properties.GetZIndex(), 0);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(properties.Value(Prop::ZIndex)));
  EXPECT_FALSE(properties.HasLinkFonts);
  TProperties second;
  EXPECT_GT(second.Serial, properties.Serial);
}

// Entries of closed elements are reused; the next element must not see
// anything of the one before.
TEST(Properties, StackEntriesComeBackNewAfterDeletion) {
  TPropStack stack;
  stack.Add(std::make_unique<TProperties>());
  TProperties* used = stack.Add(stack.NewEntry());
  used->PropTag = "td";
  used->SetPropertyByName("color", "red");
  used->SetPropertyByName("margin-top", "4px");
  ASSERT_NE(used->GetFont(), nullptr);
  ASSERT_NE(used->CachedFont, nullptr);
  stack.Delete(1);
  ASSERT_EQ(stack.Count(), 1);

  std::unique_ptr<TProperties> next = stack.NewEntry();
  EXPECT_EQ(next.get(), used);  // the storage was reused
  EXPECT_TRUE(next->PropTag.empty());
  EXPECT_EQ(next->GetColor(), kNoColor);
  EXPECT_EQ(std::get<int>(next->Value(Prop::MarginTop)), kUnsetValue);
  EXPECT_FALSE(next->IsAssigned(PropIdx(Prop::Color)));
  EXPECT_EQ(next->CachedFont, nullptr);
}

// A value of kind (0 unassigned, 1 short text, 2 number, 3 size, 4 long text) for filling
// entries so that every slot changes kind between uses.
TPropValue ValueOfKind(int kind, int number) {
  switch (kind % 5) {
    case 1: return std::string("v") + std::to_string(number);
    case 2: return number;
    case 3: return number + 0.5;
    case 4: return std::string(100, static_cast<char>('a' + number % 26));
    default: return std::monostate();
  }
}

void Fill(TProperties& entry, int offset) {
  for (int index = 0; index < kPropCount; ++index)
    entry.Props[static_cast<std::size_t>(index)] = ValueOfKind(index + offset, index * 7 + offset);
  for (int index = 0; index < kPropCount; ++index) entry.Assigned[static_cast<std::size_t>(index)] = (index + offset) % 3 == 0;
  entry.DefFontName = "Face" + std::to_string(offset);
  entry.PropTitle = std::string(80, 't');
  entry.PropClass = "c" + std::to_string(offset);
  entry.PropID = "i";
  entry.PropPseudo = "link";
  entry.BackgroundColor = static_cast<TColor>(offset * 5);
  entry.Charset = static_cast<std::uint8_t>(offset + 2);
  entry.CodePage = 1250 + offset;
  entry.EmSize = 10 + offset;
  entry.ExSize = 3;
}

void ExpectSameEntry(const TProperties& actual, const TProperties& expected, const std::string& where) {
  SCOPED_TRACE(where);
  for (int index = 0; index < kPropCount; ++index) {
    std::size_t at = static_cast<std::size_t>(index);
    EXPECT_EQ(actual.Props[at], expected.Props[at]) << PropertyName(index);
    EXPECT_EQ(actual.Assigned[at], expected.Assigned[at]) << PropertyName(index);
  }
  EXPECT_EQ(actual.DefFontName, expected.DefFontName);
  EXPECT_EQ(actual.PropTag, expected.PropTag);
  EXPECT_EQ(actual.PropClass, expected.PropClass);
  EXPECT_EQ(actual.PropID, expected.PropID);
  EXPECT_EQ(actual.PropPseudo, expected.PropPseudo);
  EXPECT_EQ(actual.PropTitle, expected.PropTitle);
  EXPECT_EQ(actual.PropStyle, expected.PropStyle);
  EXPECT_EQ(actual.BackgroundColor, expected.BackgroundColor);
  EXPECT_EQ(actual.Charset, expected.Charset);
  EXPECT_EQ(actual.CodePage, expected.CodePage);
  EXPECT_EQ(actual.EmSize, expected.EmSize);
  EXPECT_EQ(actual.ExSize, expected.ExSize);
  EXPECT_EQ(actual.CachedFont, nullptr);
  EXPECT_EQ(actual.HasLinkFonts, expected.HasLinkFonts);
  ASSERT_EQ(actual.LinkFonts == nullptr, expected.LinkFonts == nullptr);
  if (!expected.LinkFonts) return;
  for (std::size_t look = 0; look < expected.LinkFonts->Ar.size(); ++look) {
    const ThtFontInfo& got = *actual.LinkFonts->Ar[look];
    const ThtFontInfo& want = *expected.LinkFonts->Ar[look];
    EXPECT_EQ(got.iName, want.iName);
    EXPECT_EQ(got.iColor, want.iColor);
    EXPECT_EQ(got.iSize, want.iSize);
  }
}

// A reused entry is overwritten in place; it must come out exactly as a newly constructed
// one, inherited or not, whatever kinds of values it and the parent held.
TEST(Properties, ReusedStackEntriesEqualNewOnes) {
  TProperties linkParent;
  linkParent.HasLinkFonts = true;
  linkParent.LinkFonts = std::make_unique<TFontInfoArray>();
  linkParent.LinkFonts->Ar[TFontInfoArray::Hover]->iName = "Hover face";
  linkParent.LinkFonts->Ar[TFontInfoArray::Visited]->iColor = 0x123456;
  for (const char* parentTag : {"div", "span", "tbody", "thead", "tfoot", "p"}) {
    for (const char* childTag : {"table", "b"}) {
      for (int round = 0; round < 5; ++round) {
        for (bool parentHasLooks : {false, true}) {
          const std::string where = std::string(parentTag) + ">" + childTag + " round " + std::to_string(round) +
                                    (parentHasLooks ? " with link looks" : "");
          TProperties parent;
          Fill(parent, round + 1);
          parent.PropTag = parentTag;
          if (parentHasLooks) {
            parent.HasLinkFonts = true;
            parent.LinkFonts = std::make_unique<TFontInfoArray>();
            parent.LinkFonts->Assign(*linkParent.LinkFonts);
          }

          TPropStack stack;
          stack.Add(std::make_unique<TProperties>());
          TProperties* used = stack.Add(stack.NewEntry());
          Fill(*used, round);
          used->PropTag = "td";
          used->HasLinkFonts = !parentHasLooks;
          used->LinkFonts = std::make_unique<TFontInfoArray>();
          ASSERT_NE(used->GetFont(), nullptr);
          const std::uint32_t usedSerial = used->Serial;
          stack.Delete(1);

          std::unique_ptr<TProperties> child = stack.NewEntry(childTag, parent);
          ASSERT_EQ(child.get(), used);  // the storage was reused
          TProperties expected;
          expected.Inherit(childTag, parent);
          ExpectSameEntry(*child, expected, where);
          EXPECT_GT(child->Serial, usedSerial);

          Fill(*child, round + 2);
          stack.Add(std::move(child));
          stack.Delete(1);
          ExpectSameEntry(*stack.NewEntry(), TProperties(), where + ", renewed without a parent");
        }
      }
    }
  }
}

TEST(Properties, SettingFollowsEachPropertysRule) {
  TProperties p;
  p.SetPropertyByName("border-style", "dotted");
  for (Prop side : {Prop::BorderStyle, Prop::BorderTopStyle, Prop::BorderRightStyle, Prop::BorderBottomStyle,
                    Prop::BorderLeftStyle})
    EXPECT_EQ(*Text(p, side), "dotted");
  p.SetPropertyByName("border-left-style", "none");
  EXPECT_EQ(*Text(p, Prop::BorderStyle), "dotted");
  p.SetPropertyByName("border-top-style", "solid");
  EXPECT_EQ(*Text(p, Prop::BorderStyle), "solid");

  p.SetPropertyByName("color", "nonsense");
  EXPECT_EQ(*Number(p, Prop::Color), 0);
  p.SetPropertyByName("background-color", "nonsense");
  EXPECT_EQ(static_cast<TColor>(*Number(p, Prop::BackgroundColor)), kNoColor);
  p.SetPropertyByName("border-color", "nonsense");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(p.Value(Prop::BorderColor)));
  p.SetPropertyByName("border-color", "#00f");
  EXPECT_EQ(static_cast<TColor>(*Number(p, Prop::BorderLeftColor)), 0xFF0000u);

  p.SetPropertyByName("visibility", "hidden");
  EXPECT_EQ(p.GetVisibility(), kVisibilityHidden);
  p.SetPropertyByName("visibility", "collapse");
  EXPECT_EQ(p.GetVisibility(), kVisibilityHidden);
  p.SetPropertyByName("text-transform", "uppercase");
  EXPECT_EQ(p.GetTextTransform(), 1);
  p.SetPropertyByName("text-transform", "capitalize");
  EXPECT_EQ(p.GetTextTransform(), 0);
  p.SetPropertyByName("word-wrap", "anywhere");
  EXPECT_EQ(*Text(p, Prop::WordWrap), "normal");
  p.SetPropertyByName("font-variant", "small-caps");
  p.SetPropertyByName("font-variant", "titling");
  EXPECT_EQ(p.GetFontVariant(), "small-caps");
  p.SetPropertyByName("no-such-property", "1px");  // ignored
}

TEST(Properties, InheritanceKeepsBoxesToSpans) {
  TProperties parent;
  parent.PropTag = "div";
  parent.SetPropertyByName("margin-left", "5px");
  parent.SetPropertyByName("background-color", "red");
  parent.SetPropertyByName("font-weight", "bold");
  parent.SetPropertyByName("border-style", "solid");
  parent.SetPropertyByName("word-wrap", "break-word");
  parent.EmSize = 17;

  TProperties child;
  child.Inherit("p", parent);
  EXPECT_EQ(*Number(child, Prop::MarginLeft), kUnsetValue);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(child.Value(Prop::BackgroundColor)));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(child.Value(Prop::BorderStyle)));
  EXPECT_EQ(*Text(child, Prop::FontWeight), "bold");
  EXPECT_EQ(*Text(child, Prop::WordWrap), "break-word");
  EXPECT_EQ(child.EmSize, 17);
  EXPECT_EQ(child.ExSize, 8);

  TProperties table;
  table.Inherit("table", parent);
  EXPECT_EQ(*Text(table, Prop::WordWrap), "normal");

  parent.PropTag = "span";
  TProperties inSpan;
  inSpan.Inherit("b", parent);
  EXPECT_EQ(*Text(inSpan, Prop::MarginLeft), "5px");
  EXPECT_EQ(inSpan.GetBackgroundColor(), 0x0000FFu);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(inSpan.Value(Prop::BorderStyle)));
}

// The remembered link looks compare only the values ValuesInherited names: a child must
// take each of those from its parent and nothing else of the parent's values.
TEST(Properties, ValuesInheritedAreTheValuesAChildTakes) {
  for (const char* parentTag : {"div", "span", "tbody", "thead", "tfoot", "a"}) {
    for (const char* childTag : {"table", "b"}) {
      TProperties parent;
      Fill(parent, 1);
      parent.PropTag = parentTag;
      const std::uint64_t inherited = parent.ValuesInherited();
      TProperties child;
      child.Inherit(childTag, parent);
      for (int index = 0; index < kPropCount; ++index) {
        const std::size_t at = static_cast<std::size_t>(index);
        TProperties changedParent;
        Fill(changedParent, 1);
        changedParent.PropTag = parentTag;
        changedParent.Props[at] = ValueOfKind(index + 2, index * 7 + 2);
        TProperties other;
        other.Inherit(childTag, changedParent);
        const bool taken = (inherited >> index & 1) != 0;
        const bool differs = other.Props[at] != child.Props[at];
        // A table may set its own word-wrap whatever its parent's is.
        const bool tableOwn = std::string(childTag) == "table" && index == PropIdx(Prop::WordWrap);
        EXPECT_TRUE(taken || !differs) << parentTag << ">" << childTag << " " << PropertyName(index);
        if (!tableOwn) EXPECT_EQ(differs, taken) << parentTag << ">" << childTag << " " << PropertyName(index);
        for (int rest = 0; rest < kPropCount; ++rest) {
          if (rest != index) EXPECT_EQ(other.Props[static_cast<std::size_t>(rest)], child.Props[static_cast<std::size_t>(rest)]);
        }
      }
    }
  }
}

TEST(Properties, InheritanceFromTableSectionsCopiesAssignedFlags) {
  TProperties rule;
  rule.SetPropertyByName("color", "red");
  TProperties section;
  section.PropTag = "tbody";
  section.Merge(rule);
  ASSERT_TRUE(section.IsAssigned(PropIdx(Prop::Color)));
  TProperties row;
  row.Inherit("tr", section);
  EXPECT_TRUE(row.IsAssigned(PropIdx(Prop::Color)));
  section.PropTag = "table";
  TProperties other;
  other.Inherit("tr", section);
  EXPECT_FALSE(other.IsAssigned(PropIdx(Prop::Color)));
}

TEST(Properties, MergeSkipsUnsetBoxesAndKeepsEarlierZIndex) {
  TProperties first;
  first.SetPropertyByName("z-index", "5");
  first.SetPropertyByName("margin-top", "3px");
  TProperties second;
  second.SetPropertyByName("color", "blue");
  TProperties element;
  element.Merge(first);
  element.Merge(second);
  EXPECT_EQ(element.GetZIndex(), 5);
  EXPECT_EQ(*Text(element, Prop::MarginTop), "3px");
  EXPECT_EQ(element.GetColor(), 0xFF0000u);
  EXPECT_TRUE(element.IsAssigned(PropIdx(Prop::Color)));
  EXPECT_FALSE(element.IsAssigned(PropIdx(Prop::MarginTop)));
}

TEST(Properties, SetIfUnassignedAndFillUnassigned) {
  TProperties p;
  p.SetIfUnassigned(PropIdx(Prop::TextAlign), std::string("center"));
  p.SetIfUnassigned(PropIdx(Prop::TextAlign), std::string("right"));
  EXPECT_EQ(*Text(p, Prop::TextAlign), "center");

  TProperties other;
  other.SetPropertyByName("text-align", "left");
  other.SetPropertyByName("float", "left");
  p.FillUnassigned(other);
  EXPECT_EQ(*Text(p, Prop::TextAlign), "center");
  EXPECT_EQ(*Text(p, Prop::Float), "left");
}

TEST(Properties, Getters) {
  TProperties p;
  std::string url;
  EXPECT_FALSE(p.GetBackgroundImage(url));
  p.SetPropertyByName("background-image", "url('Images/Back.GIF')");
  EXPECT_TRUE(p.GetBackgroundImage(url));
  EXPECT_EQ(url, "Images/Back.GIF");
  p.SetPropertyByName("background-image", "none");
  EXPECT_TRUE(p.GetBackgroundImage(url));
  EXPECT_EQ(url, "");
  p.SetPropertyByName("list-style-image", "url()");
  EXPECT_FALSE(p.GetListStyleImage(url));

  int align = -1;
  EXPECT_FALSE(p.GetVertAlign(align));
  p.SetPropertyByName("vertical-align", "super");
  EXPECT_TRUE(p.GetVertAlign(align));
  EXPECT_EQ(align, 9);
  p.SetPropertyByName("float", "right");
  EXPECT_TRUE(p.GetFloat(align));
  EXPECT_EQ(align, 6);

  int clear = -1;
  p.SetPropertyByName("clear", "both");
  EXPECT_TRUE(p.GetClear(clear));
  EXPECT_EQ(clear, 3);
  EXPECT_FALSE(p.GetClear(clear));  // reported once

  p.SetPropertyByName("list-style-type", "square");
  EXPECT_EQ(p.GetListStyleType(), 7);
  p.SetPropertyByName("position", "relative");
  EXPECT_EQ(p.GetPosition(), 2);
  p.SetPropertyByName("z-index", "abc");
  EXPECT_EQ(p.GetZIndex(), 0);
  p.SetPropertyByName("z-index", "99999999999");
  EXPECT_EQ(p.GetZIndex(), 2147483647);
  p.SetPropertyByName("display", "none");
  EXPECT_TRUE(p.IsDisplayNone());
  p.SetPropertyByName("overflow", "hidden");
  EXPECT_TRUE(p.IsOverflowHidden());
  p.SetPropertyByName("border-collapse", "collapse");
  EXPECT_TRUE(p.IsBorderCollapse());

  bool before = false, after = false, inside = false;
  p.SetPropertyByName("page-break-before", "always");
  p.SetPropertyByName("page-break-inside", "avoid");
  p.GetPageBreaks(before, after, inside);
  EXPECT_TRUE(before);
  EXPECT_FALSE(after);
  EXPECT_TRUE(inside);

  p.SetPropertyByName("border-style", "groove");
  EXPECT_EQ(p.GetBorderStyle(), 4);
  p.SetPropertyByName("background-color", "lime");
  EXPECT_EQ(p.UpdateBackgroundColor(), 0x00FF00u);
  EXPECT_EQ(p.BackgroundColor, 0x00FF00u);
}

TEST(Properties, LineHeightAndTextIndent) {
  TProperties p;
  p.EmSize = 10;
  p.ExSize = 5;
  EXPECT_EQ(p.GetLineHeight(20), -1);
  p.SetPropertyByName("line-height", "1.5");
  EXPECT_EQ(p.GetLineHeight(20), 30);
  p.SetPropertyByName("line-height", "2em");
  EXPECT_EQ(p.GetLineHeight(20), 20);
  p.SetPropertyByName("line-height", "150%");
  EXPECT_EQ(p.GetLineHeight(20), 30);
  p.SetPropertyByName("line-height", "normal");
  EXPECT_EQ(p.GetLineHeight(20), -1);

  bool percent = true;
  EXPECT_EQ(p.GetTextIndent(percent), 0);
  EXPECT_FALSE(percent);
  p.SetPropertyByName("text-indent", "3em");
  EXPECT_EQ(p.GetTextIndent(percent), 30);
  EXPECT_FALSE(percent);
  p.SetPropertyByName("text-indent", "25%");
  EXPECT_EQ(p.GetTextIndent(percent), 25);
  EXPECT_TRUE(percent);
}

TEST(Properties, CharsetRule) {
  TProperties p;
  p.SetCharset(31);
  EXPECT_EQ(p.Charset, 238);
  EXPECT_EQ(p.CodePage, 28592);
  p.SetCharset(128);
  EXPECT_EQ(p.Charset, 128);
  EXPECT_EQ(p.CodePage, 932);
  p.SetCharset(99);  // not in the table: the code page stays
  EXPECT_EQ(p.CodePage, 932);
  p.SetUtf8();
  EXPECT_EQ(p.CodePage, 65001);
  EXPECT_EQ(p.Charset, 0);

  SetFontDeviceHooks({nullptr, [](int) { return 0; }, nullptr});
  p.SetCharset(1);  // the default charset is kept as it is
  EXPECT_EQ(p.Charset, 1);
  p.SetCharset(161);
  EXPECT_EQ(p.Charset, 0);  // what the device reports
  EXPECT_EQ(p.CodePage, 1252);
  SetFontDeviceHooks({});
}

}  // namespace
}  // namespace engine
