// The open elements' style properties: misnested end tags, attribute values
// kept through rebuilds, the cap on open entries.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/css/TStyleList.h"
#include "engine/html/BuildState.h"
#include "engine/html/ElementProperties.h"
#include "engine/html/ParseState.h"

namespace engine {
namespace {

class ElementStackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetParseState();
    styles.BuildDefaultStyleSheet("Arial", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF, true, 1, 5, 10);
    auto bottom = std::make_unique<TProperties>();
    bottom->CopyDefault(*styles.DefProp);
    parseState.PropStack.Add(std::move(bottom));
    stack.Reset(&styles);
  }
  void TearDown() override { ResetParseState(); }

  void Push(const std::string& tag) { stack.Push(tag, "", "", nullptr, "", ""); }
  std::string Text(Prop prop) const {
    const auto* text = TextOf(parseState.PropStack.Last()->Value(prop));
    return text ? *text : std::string();
  }

  TStyleList styles;
  TElementStack stack;
};

TEST_F(ElementStackTest, MisnestedEndKeepsWhatTheInnerEntriesSetThemselves) {
  // <i><font color=red><b>x</i>y: "y" is bold and red but no longer italic.
  Push("i");
  Push("font");
  stack.ApplyToTop([](TProperties& top) { top.Value(Prop::Color) = 0x0000FF; });
  Push("b");
  ASSERT_EQ(Text(Prop::FontStyle), "italic");
  stack.PopTo("i");
  EXPECT_EQ(parseState.PropStack.Count(), 3);
  EXPECT_EQ(Text(Prop::FontWeight), "bold");
  EXPECT_NE(Text(Prop::FontStyle), "italic");
  EXPECT_EQ(std::get<int>(parseState.PropStack.Last()->Value(Prop::Color)), 0x0000FF);
}

// Closed elements hand the room of their changes on: the next element's
// rebuild applies only its own changes, not those of the elements before it.
TEST_F(ElementStackTest, ARebuiltEntryTakesOnlyItsOwnChanges) {
  Push("font");
  stack.ApplyToTop([](TProperties& top) { top.Value(Prop::Color) = 0x0000FF; });
  stack.ApplyToTop([](TProperties& top) { top.Value(Prop::BackgroundColor) = 0x00FF00; });
  stack.PopTo("font");
  const TPropValue background = parseState.PropStack.Last()->Value(Prop::BackgroundColor);
  Push("i");
  Push("span");
  stack.PopTo("i");  // span is rebuilt: it set nothing, so the color is inherited again
  EXPECT_EQ(parseState.PropStack.Last()->Value(Prop::Color), parseState.PropStack.Items(0)->Value(Prop::Color));
  stack.Pop();
  Push("i");
  Push("font");
  stack.ApplyToTop([](TProperties& top) { top.Value(Prop::Color) = 0x123456; });
  stack.PopTo("i");
  EXPECT_EQ(std::get<int>(parseState.PropStack.Last()->Value(Prop::Color)), 0x123456);
  EXPECT_EQ(parseState.PropStack.Last()->Value(Prop::BackgroundColor), background);
  EXPECT_NE(Text(Prop::FontStyle), "italic");
}

TEST_F(ElementStackTest, InlineStyleOutlivesTheLexersCopy) {
  auto style = std::make_unique<TProperties>();
  style->SetPropertyByName("text-decoration", "underline");
  stack.Push("span", "", "", style.get(), "", "");
  style.reset();
  Push("b");
  Push("i");
  stack.PopTo("b");
  EXPECT_EQ(Text(Prop::TextDecoration), "underline");
}

TEST_F(ElementStackTest, StrayEndTagsChangeNothing) {
  Push("b");
  stack.PopTo("i");
  stack.PopTo("p");
  EXPECT_EQ(parseState.PropStack.Count(), 2);
  EXPECT_EQ(Text(Prop::FontWeight), "bold");
}

// More tag names than the count table first holds: the counts of elements opened
// before it grew still close them, and a name closed already stays stray.
TEST_F(ElementStackTest, CountsOutliveTheGrowthOfTheirTable) {
  Push("b");
  for (int name = 0; name < 100; ++name) Push("x" + std::to_string(name));
  for (int name = 99; name >= 50; --name) stack.PopTo("x" + std::to_string(name));
  EXPECT_EQ(stack.OpenCount(), 51);
  stack.PopTo("x10");  // not innermost: found by its count; the elements inside it stay open
  EXPECT_EQ(stack.OpenCount(), 50);
  stack.PopTo("x10");
  stack.PopTo("x60");
  EXPECT_EQ(stack.OpenCount(), 50);
  while (stack.OpenCount() > 1) stack.Pop();
  stack.PopTo("b");
  EXPECT_EQ(stack.OpenCount(), 0);
  EXPECT_EQ(parseState.PropStack.Count(), 1);
}

TEST_F(ElementStackTest, EntriesBeyondTheCapAreCountedAndMatchedFirst) {
  for (int i = 0; i < TElementStack::kMaxOpenEntries + 50; ++i) Push("b");
  EXPECT_EQ(stack.OpenCount(), TElementStack::kMaxOpenEntries);
  EXPECT_TRUE(stack.LastPushRefused());
  stack.ApplyToTop([](TProperties& top) { top.Value(Prop::Color) = 1; });
  EXPECT_NE(parseState.PropStack.Last()->Value(Prop::Color), TPropValue(1));
  for (int i = 0; i < 50; ++i) stack.PopTo("b");
  EXPECT_EQ(stack.OpenCount(), TElementStack::kMaxOpenEntries);
  stack.PopTo("b");
  EXPECT_EQ(stack.OpenCount(), TElementStack::kMaxOpenEntries - 1);
}

}  // namespace
}  // namespace engine
