#include <gtest/gtest.h>

#include "platform/gui/AnsiText.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TStringList.h"

namespace gui {
namespace {

std::string joined(const TStrings& list) {
  std::string out;
  for (int i = 0; i < list.Count(); ++i) out += (i ? "," : "") + list[i];
  return out;
}

class Marker : public TObject {
 public:
  explicit Marker(int* deaths) : deaths_(deaths) {}
  ~Marker() override { ++*deaths_; }

 private:
  int* deaths_;
};

TEST(GuiStringList, SortedAddsKeepOrderAndFindIgnoresCase) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "banana", "apple2"}) list.Add(s);
  EXPECT_EQ(joined(list), "Apple,apple2,banana,pear");
  int index = -1;
  EXPECT_TRUE(list.Find("BANANA", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find("cherry", index));
  EXPECT_EQ(index, 3);  // where it would go
  EXPECT_EQ(list.IndexOf("PEAR"), 3);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);
  EXPECT_THROW(list.Put(0, "x"), EStringListError);
}

TEST(GuiStringList, DuplicatesIgnoredAcceptedOrRefused) {
  TStringList list;
  list.SetSorted(true);
  list.Add("a");
  EXPECT_EQ(list.Add("A"), 0);  // dupIgnore by default: the existing index
  EXPECT_EQ(list.Count(), 1);

  list.SetDuplicates(dupAccept);
  list.Add("A");
  EXPECT_EQ(list.Count(), 2);

  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("a"), EStringListError);
  EXPECT_EQ(list.Count(), 2);
}

TEST(GuiStringList, CaseSensitiveListsSortByteWiseAndResort) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (const char* s : {"b", "B", "a", "A"}) list.Add(s);
  list.SetCaseSensitive(true);
  EXPECT_EQ(joined(list), "A,B,a,b");
  int index = -1;
  EXPECT_TRUE(list.Find("a", index));
  EXPECT_EQ(index, 2);
}

TEST(GuiStringList, AccentedLettersCompareWithoutCase) {
  TStringList list;
  list.Add("\xE9t\xE9");  // été in code page 1252
  EXPECT_EQ(list.IndexOf("\xC9T\xC9"), 0);
}

TEST(GuiStringList, ObjectsFollowTheirStringsAndAreOwnedOnlyWhenAsked) {
  int deaths = 0;
  {
    TStringList list;
    Marker marker(&deaths);
    list.SetSorted(true);
    list.AddObject("z", nullptr);
    list.AddObject("m", &marker);
    EXPECT_EQ(list.Objects(0), &marker);
    EXPECT_EQ(list.IndexOfObject(&marker), 0);
    EXPECT_NE(dynamic_cast<Marker*>(list.Objects(0)), nullptr);
    list.Clear();
    EXPECT_EQ(deaths, 0);
  }
  EXPECT_EQ(deaths, 1);  // the stack marker only
  deaths = 0;
  {
    TStringList owning(true);
    owning.AddObject("a", new Marker(&deaths));
    owning.AddObject("b", new Marker(&deaths));
    owning.Delete(0);
    EXPECT_EQ(deaths, 1);
  }
  EXPECT_EQ(deaths, 2);
}

TEST(GuiStringList, NamesAndValues) {
  TStringList list;
  list.Add("Name=Alice");
  list.Add("plain");
  list.Add("eq==x");
  EXPECT_EQ(list.Values("NAME"), "Alice");
  EXPECT_EQ(list.Values("eq"), "=x");
  EXPECT_EQ(list.Values("plain"), "");
  EXPECT_EQ(list.Names(1), "");
  list.SetValue("name", "Bob");
  EXPECT_EQ(list[0], "name=Bob");
  list.SetValue("new", "1");
  EXPECT_EQ(list[3], "new=1");
  list.SetValue("new", "");
  EXPECT_EQ(list.Count(), 3);
}

TEST(GuiStringList, TextJoinsWithCrLfAndSplitsAnyBreak) {
  TStringList list;
  list.SetText("a\r\nb\rc\nd\n\ne");
  EXPECT_EQ(joined(list), "a,b,c,d,,e");
  EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n\r\ne\r\n");
  list.SetText("x\r\n");
  EXPECT_EQ(list.Count(), 1);
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("\r\n\r\n");
  EXPECT_EQ(list.Count(), 2);
}

TEST(GuiStringList, IndexErrorsRaise) {
  TStringList list;
  list.Add("a");
  EXPECT_THROW(list.Strings(1), EStringListError);
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(2, "x"), EStringListError);
  try {
    list.Objects(5);
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (5)");
  }
}

TEST(GuiStringList, InsertAtEitherEndIncludingTheCount) {
  TStringList list;
  list.Insert(0, "b");  // the only place in an empty list
  EXPECT_EQ(joined(list), "b");
  list.Insert(list.Count(), "c");
  list.Insert(0, "a");
  list.Insert(list.Count(), "d");
  EXPECT_EQ(joined(list), "a,b,c,d");
  list.InsertObject(list.Count(), "e", nullptr);
  EXPECT_EQ(list[4], "e");
  EXPECT_THROW(list.Insert(-1, "x"), EStringListError);
  EXPECT_THROW(list.Insert(list.Count() + 1, "x"), EStringListError);
  EXPECT_EQ(list.Count(), 5);
}

TEST(GuiStringList, SortsAndExchanges) {
  TStringList list;
  for (const char* s : {"c", "a", "b"}) list.Add(s);
  list.Exchange(0, 2);
  EXPECT_EQ(joined(list), "b,a,c");
  list.CustomSort([](TStringList& l, int i, int j) { return AnsiCompareStr(l[j], l[i]); });
  EXPECT_EQ(joined(list), "c,b,a");
  list.Sort();
  EXPECT_EQ(joined(list), "a,b,c");
}

TEST(GuiStringList, AssignCopiesStringsAndObjectLinks) {
  TStringList source;
  source.AddObject("k", &source);
  TStringList copy;
  copy.Add("old");
  copy.Assign(&source);
  EXPECT_EQ(joined(copy), "k");
  EXPECT_EQ(copy.Objects(0), &source);
}

// Counts how often the list is told that updates start and end.
class UpdateCounting : public TStringList {
 public:
  std::string log;

 protected:
  void SetUpdateState(bool updating) override { log += updating ? "[" : "]"; }
};

TEST(GuiStringList, NestedUpdatesReportOnlyTheOutermostPair) {
  UpdateCounting list;
  list.BeginUpdate();
  list.BeginUpdate();
  list.SetText("a\nb");  // brackets itself
  list.EndUpdate();
  EXPECT_EQ(list.log, "[");
  list.EndUpdate();
  list.EndUpdate();  // one too many is ignored
  EXPECT_EQ(list.log, "[]");
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(GuiStringList, StreamsAndFilesRoundTrip) {
  TStringList list;
  list.SetText("one\ntwo");
  TMemoryStream stream;
  list.SaveToStream(stream);
  stream.SetPosition(0);
  TStringList back;
  back.LoadFromStream(stream);
  EXPECT_EQ(joined(back), "one,two");

  const std::string path = testing::TempDir() + "/gui_strings.txt";
  list.SaveToFile(path);
  back.Clear();
  back.LoadFromFile(path, TFileKind::Page);
  EXPECT_EQ(joined(back), "one,two");
  EXPECT_THROW(back.LoadFromFile(path + ".missing", TFileKind::Page), EFOpenError);
}

}  // namespace
}  // namespace gui
