#include "engine/html/TAttributeList.h"

#include <gtest/gtest.h>

#include "engine/html/TUrlTarget.h"

namespace engine {
namespace {

void AddAttribute(TAttributeList& list, THtmlSymbol symbol, const std::string& name, const std::string& value,
                  int number = 0) {
  list.Add(std::make_unique<TAttribute>(symbol, 1252, value, name, number));
}

TEST(FreeList, FreesItemsInIndexOrder) {
  static std::vector<int> freed;
  struct Item {
    explicit Item(int n) : number(n) {}
    ~Item() { freed.push_back(number); }
    int number;
  };
  freed.clear();
  {
    TFreeList<Item> list;
    for (int n = 0; n < 3; ++n) list.Add(std::make_unique<Item>(n));
    list.Delete(1);
    EXPECT_EQ(freed, std::vector<int>({1}));
    EXPECT_EQ(list.Items(1)->number, 2);
    EXPECT_EQ(list.Items(2), nullptr);
    list.Add(std::make_unique<Item>(3));
  }
  EXPECT_EQ(freed, std::vector<int>({1, 0, 2, 3}));
}

TEST(AttributeList, FindAnswersTheFirstOccurrence) {
  TAttributeList list;
  const TAttribute* found = nullptr;
  EXPECT_FALSE(list.Find(symHref, found));
  EXPECT_EQ(found, nullptr);
  AddAttribute(list, symHref, "HREF", "first");
  AddAttribute(list, symHref, "HREF", "second");
  ASSERT_TRUE(list.Find(symHref, found));
  EXPECT_EQ(found->ValueText, "first");
  EXPECT_EQ(list.ToNameValueList()->Text(), "HREF=first\r\nHREF=second\r\n");
  EXPECT_EQ(list.NameValueText(), list.ToNameValueList()->Text());
  EXPECT_EQ(TAttributeList().NameValueText(), "");
}

TEST(AttributeList, ClassKeyFoldsCaseAndBlanks) {
  TAttributeList list;
  EXPECT_EQ(list.ClassKey(), "");
  AddAttribute(list, symClass, "CLASS", "   ");
  EXPECT_EQ(list.ClassKey(), "");
  list.Clear();
  AddAttribute(list, symClass, "CLASS", " Big ");
  EXPECT_EQ(list.ClassKey(), "big");
  list.Clear();
  AddAttribute(list, symClass, "CLASS", "A  b");
  EXPECT_EQ(list.ClassKey(), "a.b");
  list.Clear();
  AddAttribute(list, symClass, "CLASS", "z y  x");
  EXPECT_EQ(list.ClassKey(), "x.y.z");
}

TEST(AttributeList, IdValueIsCachedUntilClear) {
  TAttributeList list;
  AddAttribute(list, symId, "ID", "First");
  AddAttribute(list, symId, "ID", "Second");
  EXPECT_EQ(list.IdValue(), "first");
  // Refilled without Clear: the cached value stays.
  while (list.Count() > 0) list.Delete(0);
  AddAttribute(list, symId, "ID", "Other");
  EXPECT_EQ(list.IdValue(), "first");
  list.Clear();
  AddAttribute(list, symId, "ID", "Other");
  EXPECT_EQ(list.IdValue(), "other");
}

// PushTag derives nothing from a list that NamesElement denies.
TEST(AttributeList, NamesElementWithTheAttributesTheCascadeReads) {
  TAttributeList list;
  EXPECT_FALSE(list.NamesElement());
  AddAttribute(list, symHref, "HREF", "a.htm");
  AddAttribute(list, symBorder, "BORDER", "1", 1);
  EXPECT_FALSE(list.NamesElement());
  for (const THtmlSymbol symbol : {symClass, symId, symStyle, symTitle}) {
    TAttributeList named;
    AddAttribute(named, symHref, "HREF", "a.htm");
    AddAttribute(named, symbol, "NAME", "x");
    EXPECT_TRUE(named.NamesElement()) << symbol;
  }
  // A cached id outlives the attributes deleted one by one.
  list.Clear();
  AddAttribute(list, symId, "ID", "Kept");
  EXPECT_EQ(list.IdValue(), "kept");
  list.Delete(0);
  EXPECT_TRUE(list.NamesElement());
}

// A list that held an element's attributes hands them to the lexer's list,
// whose next tags take them emptied.
TEST(AttributeList, GiveItemsToEmptiesTheListIntoTheOthersSpares) {
  TAttributeList held;
  TAttributeList lexer;
  AddAttribute(held, symId, "ID", "Some");
  EXPECT_EQ(held.IdValue(), "some");
  held.GiveItemsTo(lexer);
  EXPECT_TRUE(held.Empty());
  EXPECT_EQ(held.IdValue(), "");
  EXPECT_TRUE(lexer.Empty());
  std::unique_ptr<TAttribute> spare = lexer.TakeSpare();
  ASSERT_NE(spare, nullptr);
  EXPECT_TRUE(spare->Name.empty());
  EXPECT_TRUE(spare->ValueText.empty());
}

TEST(AttributeList, TitleAndInlineStyle) {
  TAttributeList list;
  EXPECT_EQ(list.TitleValue(), "");
  EXPECT_EQ(list.ParseInlineStyle(), nullptr);
  AddAttribute(list, symTitle, "TITLE", "Two\r\nLines");
  AddAttribute(list, symStyle, "STYLE", "color: red");
  EXPECT_EQ(list.TitleValue(), "Two\r\nLines");
  TProperties* first = list.ParseInlineStyle();
  ASSERT_NE(first, nullptr);
  TProperties* second = list.ParseInlineStyle();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(list.InlineStyle(), second);
  // Clear keeps the inline style until the next parse.
  list.Clear();
  EXPECT_EQ(list.InlineStyle(), second);
  EXPECT_EQ(list.ParseInlineStyle(), nullptr);
  EXPECT_EQ(list.InlineStyle(), second);
}

TEST(UrlTarget, DefineTakesIdsFromTen) {
  ResetLinkIdCounter();
  TAttributeList attributes;
  AddAttribute(attributes, symHref, "HREF", "a.htm");
  AddAttribute(attributes, symTarget, "TARGET", "main");
  TUrlTarget target;
  EXPECT_EQ(target.Start(), -1);
  target.TabIndex = 4;
  target.Range.Last = 77;
  target.Define("a.htm", "main", 12, attributes);
  EXPECT_EQ(target.LinkId, 10);
  EXPECT_EQ(target.Start(), 12);
  EXPECT_EQ(target.Last(), 77);  // left as it was
  EXPECT_EQ(target.TabIndex, 4);
  EXPECT_EQ(target.AttributeText, "HREF=a.htm\r\nTARGET=main\r\n");
  TUrlTarget second;
  second.Define("b.htm", "", 20, attributes);
  EXPECT_EQ(second.LinkId, 11);
  target.Clear();
  EXPECT_EQ(target.LinkId, 0);
  EXPECT_EQ(target.Start(), -1);
  EXPECT_EQ(target.Last(), -1);
  EXPECT_EQ(target.Url, "");
}

TEST(UrlTarget, SetRangeEndWalksBackOverRunsOfTheSameLink) {
  TAttributeList attributes;
  TUrlTarget current;
  current.Define("x", "", 0, attributes);
  std::vector<TUrlTarget> runs(4);
  runs[0].Define("other", "", 0, attributes);
  runs[1].Assign(current);
  runs[2].Assign(runs[0]);
  runs[3].Assign(current);
  TUrlTarget notInList;
  notInList.Assign(current);
  current.SetRangeEnd(4, [&](int index) -> TUrlTarget& { return runs[static_cast<std::size_t>(index)]; }, 50);
  EXPECT_EQ(current.Last(), 50);
  EXPECT_EQ(runs[3].Last(), 50);
  EXPECT_EQ(runs[1].Last(), -1);  // behind a run of another link
  EXPECT_EQ(notInList.Last(), -1);
  current.SetRangeEnd(0, nullptr, 60);
  EXPECT_EQ(current.Last(), 60);
}

}  // namespace
}  // namespace engine
