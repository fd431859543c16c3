// A viewer used alone: its history of documents with places, titles and
// form values, visited links, the META refresh it reports, and form
// submissions handed over from the message loop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ViewerTestSupport.h"
#include "engine/objects/ThtmlForm.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "engine/text/TFontObj.h"

namespace viewer {
namespace {

class HTMLViewerHistory : public viewertest::ViewerTest {
 protected:
  void SetUp() override {
    viewertest::ViewerTest::SetUp();
    engine::InstallFormHooks();
    // Worktrees share the temporary folder: the process id keeps runs apart.
    folder_ = std::filesystem::path(testing::TempDir()) /
              ("vhist_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    viewertest::ViewerTest::TearDown();
    engine::RemoveFormHooks();
    std::filesystem::remove_all(folder_);
  }
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::filesystem::path folder_;
};

TEST_F(HTMLViewerHistory, LoadsAreRecordedWithPlacesTitlesAndFormValues) {
  int changes = 0;
  view().OnHistoryChange = [&](gui::TObject*) { ++changes; };
  view().SetHistoryMaxCount(3);
  const std::string a = write("a.htm", "<title>A</title><form><input name=q value=orig></form>" + tallDocument(80));
  view().OpenHtmlFile(a);
  view().SetVerticalPosition(200);
  view().SetFormData(nullptr);
  TFormData typed{{"q=typed"}};
  view().SetFormData(&typed);
  const std::int64_t place = view().GetSavedPosition();
  std::vector<std::string> names{a};
  for (const char* name : {"b.htm", "c.htm", "d.htm", "e.htm"}) {
    names.push_back(write(name, std::string("<title>") + name + "</title><p>" + name));
    view().OpenHtmlFile(names.back());
    if (std::string(name) == "b.htm") {
      ASSERT_EQ(view().HistoryCount(), 2);
      EXPECT_EQ(view().HistoryName(1), a);
      EXPECT_EQ(view().HistoryTitle(1), u"A");
      EXPECT_EQ(view().HistoryPosition(1).SavedPosition, place);
      ASSERT_NE(view().HistoryPosition(1).SavedFormData, nullptr);
      EXPECT_EQ(*view().HistoryPosition(1).SavedFormData, typed);
    }
  }
  EXPECT_EQ(changes, 5);
  ASSERT_EQ(view().HistoryCount(), 3);
  EXPECT_EQ(view().HistoryName(0), names[4]);
  EXPECT_EQ(view().HistoryName(1), names[3]);
  EXPECT_EQ(view().HistoryName(2), names[2]);
  EXPECT_EQ(view().HistoryTitle(0), u"e.htm");
  EXPECT_EQ(view().HistoryIndex(), 0);

  // The same file at the same place again adds nothing.
  view().OpenHtmlFile(names[4]);
  EXPECT_EQ(view().HistoryCount(), 3);
  EXPECT_EQ(changes, 5);
  // A smaller maximum starts over.
  view().SetHistoryMaxCount(2);
  EXPECT_EQ(view().HistoryCount(), 0);
  EXPECT_EQ(changes, 6);
}

TEST_F(HTMLViewerHistory, NoHistoryWithoutAMaximum) {
  int changes = 0;
  view().OnHistoryChange = [&](gui::TObject*) { ++changes; };
  view().OpenHtmlFile(write("a.htm", "<p>a"));
  view().OpenHtmlFile(write("b.htm", "<p>b"));
  EXPECT_EQ(view().HistoryCount(), 0);
  EXPECT_EQ(changes, 0);
  // A missing file: the error passes on and the values taken are freed.
  EXPECT_THROW(view().OpenHtmlFile((folder_ / "missing.htm").string()), EInOutError);
}

TEST_F(HTMLViewerHistory, AnchorJumpsAreStepsAndColourTheirLinks) {
  view().SetHistoryMaxCount(5);
  const std::string page =
      write("p.htm", "<p><a href=\"#end\">ToEnd</a> <a href=\"other.htm\">Other</a>" + tallDocument(80) +
                         "<p><a name=end>End</a>");
  view().OpenHtmlFile(page);
  ASSERT_EQ(view().HistoryCount(), 1);
  int x = 0, y = 0;
  ASSERT_TRUE(view().Document().FindCaretXY(&view().PaintPanel().Canvas(), 1, x, y));
  mouse(win::WM_LBUTTONDOWN, x + 2, y + 4);
  mouse(win::WM_LBUTTONUP, x + 2, y + 4);
  EXPECT_GT(view().VerticalPosition(), 0);
  EXPECT_EQ(view().HistoryCount(), 2);
  EXPECT_EQ(view().VisitedList().Strings(0), page + "#end");
  engine::TLinkList& links = view().Document().Links;
  EXPECT_TRUE(links.Items(0)->Visited);
  EXPECT_FALSE(links.Items(1)->Visited);

  // Loaded again, the visited link is flagged after the parse.
  view().OpenHtmlFile(write("q.htm", "<p>q"));
  view().OpenHtmlFile(page);
  EXPECT_TRUE(view().Document().Links.Items(0)->Visited);
  view().SetVisitedMaxCount(0);
  EXPECT_FALSE(view().Document().Links.Items(0)->Visited);
  EXPECT_EQ(view().VisitedList().Count(), 0);
}

TEST_F(HTMLViewerHistory, VisitedListKeepsTheNewestNames) {
  view().SetVisitedMaxCount(2);
  view().AddVisited("a");
  view().AddVisited("b");
  view().AddVisited("c");
  view().AddVisited("C");
  ASSERT_EQ(view().VisitedList().Count(), 2);
  EXPECT_EQ(view().VisitedList().Strings(0), "c");
  EXPECT_EQ(view().VisitedList().Strings(1), "b");
  view().SetInFrame(true);
  view().AddVisited("d");
  EXPECT_EQ(view().VisitedList().Strings(0), "c");
}

TEST_F(HTMLViewerHistory, MetaRefreshIsReportedAfterTheLoad) {
  std::vector<std::string> seen;
  view().OnMetaRefresh = [&](gui::TObject*, int Delay, const std::string& URL) {
    seen.push_back(std::to_string(Delay) + "|" + URL);
  };
  load("<meta http-equiv=\"Refresh\" content=\"0\"><p>x");
  load("<meta http-equiv=refresh content=\"5; URL=Next.htm\"><p>x");
  load("<meta http-equiv=refresh content=\"abc;url=x\"><p>x");
  load("<meta http-equiv=refresh content=\"99999999999\"><p>x");
  load("<p>no refresh");
  EXPECT_EQ(seen, (std::vector<std::string>{"1|", "5|Next.htm"}));
}

TEST_F(HTMLViewerHistory, SubmissionsArriveOneEachFromTheMessageLoop) {
  load("<form action=go.cgi method=post target=out><input name=q value=v></form>");
  std::vector<std::string> seen;
  view().OnFormSubmit = [&](gui::TObject* Sender, const std::string& Action, const std::string& Target,
                            const std::string& EncType, const std::string& Method,
                            std::unique_ptr<gui::TStringList> Results) {
    EXPECT_EQ(Sender, &view());
    seen.push_back(Action + "|" + Target + "|" + EncType + "|" + Method + "|" + Results->Text());
  };
  auto* form = dynamic_cast<engine::ThtmlForm*>(view().Document().htmlFormList.at(0).get());
  ASSERT_NE(form, nullptr);
  form->SubmitTheForm("");
  form->SubmitTheForm("extra=1");
  EXPECT_TRUE(seen.empty());  // not inside the click or key that submitted
  EXPECT_EQ(view().PendingSubmissions(), 2);
  pump();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], "go.cgi|out||post|q=v\r\n");
  EXPECT_EQ(seen[1], "go.cgi|out||post|q=v\r\nextra=1\r\n");
  EXPECT_EQ(view().PendingSubmissions(), 0);

  // Without a handler nothing waits.
  view().OnFormSubmit = nullptr;
  form->SubmitTheForm("");
  EXPECT_EQ(view().PendingSubmissions(), 0);
}

TEST_F(HTMLViewerHistory, FormValuesComeBackFormByForm) {
  load("<form><input name=a value=1></form><form><input name=b value=2></form>");
  std::unique_ptr<TFormData> data = view().GetFormData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(*data, (TFormData{{"a=1"}, {"b=2"}}));
  TFormData changed{{"a=x"}, {"b=y"}};
  view().SetFormData(&changed);
  EXPECT_EQ(*view().GetFormData(), changed);
  load("<p>no forms");
  EXPECT_EQ(view().GetFormData(), nullptr);
}

}  // namespace
}  // namespace viewer
