// Preformatted text, scripts, SELECT options, TEXTAREA content, image maps and
// OBJECT elements, with recording stand-ins for the hooks later areas fill.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/BuilderSeams.h"
#include "engine/html/HeadElements.h"
#include "engine/html/TParseViewer.h"
#include "platform/gui/TStringList.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using testing::FontRuns;
using testing::Parse;
using testing::TextSections;

struct RecordingControl : TParsedControl {
  void AddOption(const std::u16string& text, bool selected, int, const std::string&) override {
    options.push_back(std::string(text.begin(), text.end()) + (selected ? "*" : ""));
  }
  void SetInitialText(const std::string& text) override { initialText = text; }
  std::vector<std::string> options;
  std::string initialText;
};

// Fills the hooks for one test and empties them after.
class SpecialReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    TBuilderSeams& seams = BuilderSeams();
    seams.AddFormControl = [this](TSection&, THtmlSymbol symbol, TProperties&) -> TParsedControl* {
      controls.push_back(std::make_unique<RecordingControl>());
      kinds += TagNameOfSymbol(symbol) + " ";
      return controls.back().get();
    };
    seams.BeginMap = [this](const std::string& name) { maps += "begin " + name + ";"; };
    seams.AddArea = [this] { maps += "area " + AttributeText(symHref) + ";"; };
    seams.EndMap = [this](bool keep) { maps += keep ? "kept;" : "dropped;"; };
    seams.CreatePanel = [this](TSection&, TProperties&) {
      ++panelsMade;
      return reinterpret_cast<TPanelObj*>(&panelsMade);
    };
    seams.AppendPanel = [this](TSection&, TPanelObj*) { ++panelsAppended; };
    seams.DropPanel = [this](TPanelObj*) { ++panelsDropped; };
  }
  void TearDown() override { BuilderSeams() = TBuilderSeams(); }

  std::vector<std::unique_ptr<RecordingControl>> controls;
  std::string kinds;
  std::string maps;
  int panelsMade = 0;
  int panelsAppended = 0;
  int panelsDropped = 0;
};

TEST_F(SpecialReaders, PreformattedLinesKeepBlanksAndLessThan) {
  EXPECT_EQ(Parse("<pre>if (a < b)\r\n\r\n  x\ty<b>z</b></pre>after").Dump(),
            "Body default.\n"
            "  Block pre.\n"
            "    Pre |if (a < b) |\n"
            "    Pre | |\n"
            "    Pre |  x yz |\n"
            "  Text |after |\n");
}

TEST_F(SpecialReaders, PreformattedFontSizesUseTheirOwnTable) {
  auto document = Parse("<pre><font size=3>x</font></pre>");
  EXPECT_EQ(FontRuns(*TextSections(*document.root)[0]).substr(0, 6), "0: 10 ");
}

TEST_F(SpecialReaders, PreWrapIsOrdinaryContentUntilItsEnd) {
  EXPECT_EQ(Parse("<pre wrap>a  b</pre>c").Dump(), "Body default.\n  Text |a b |\n  Text |c |\n");
}

TEST_F(SpecialReaders, ScriptTextGoesToTheHandlerWithCrLf) {
  std::vector<std::string> scripts;
  TParseHandlers handlers;
  handlers.OnScript = [&scripts](gui::TObject*, const std::string& name, const std::string& language,
                                 const std::string& script) { scripts.push_back(name + "|" + language + "|" + script); };
  auto document = Parse("<script language=js name=s>a<1\nb</b><!-- c --></script>after", nullptr, handlers);
  EXPECT_EQ(scripts, std::vector<std::string>{"s|js|a<1\r\nb</b><!-- c -->"});
  EXPECT_EQ(testing::JoinedText(*document.root), "after ");
  auto dropped = Parse("<script>x < y</script>z");
  EXPECT_EQ(testing::JoinedText(*dropped.root), "z ");
}

TEST_F(SpecialReaders, SelectOptionsAreTrimmedAndTextOutsideIgnored) {
  Parse("<select>x<option> a <option selected>b </select><input>");
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_EQ(controls[0]->options, (std::vector<std::string>{"a", "b*"}));
  EXPECT_EQ(kinds, "select input ");
}

TEST_F(SpecialReaders, UnclosedSelectDoesNotEatTheInputAfterIt) {
  Parse("<select><option>a<input name=x>");
  EXPECT_EQ(kinds, "select input ");
}

TEST_F(SpecialReaders, TextAreaContentIsRaw) {
  Parse("<textarea>x<b>y\nz &eacute;</textarea>after");
  ASSERT_EQ(controls.size(), 1u);
  EXPECT_EQ(controls[0]->initialText, "x<b>y\r\nz \xE9");
  Parse("\xEF\xBB\xBF<textarea>&eacute;</textarea>");
  EXPECT_EQ(controls[1]->initialText, "\xC3\xA9");
}

TEST_F(SpecialReaders, MapsKeptOnlyWhenEnded) {
  Parse("<map name=m><area shape=rect coords=0,0,5,5 href=a></map>");
  EXPECT_EQ(maps, "begin M;area a;kept;");
  maps.clear();
  Parse("<map name=n><b><i><u><area href=b></map>");
  EXPECT_EQ(maps, "begin N;dropped;");
}

// Whether a map ends is found by reading ahead: what is read there is read
// once more for real, but the include handler is asked only once.
TEST_F(SpecialReaders, AnUnclosedMapIsDroppedAndWhatFollowsItsAreasStays) {
  int includes = 0;
  TParseHandlers handlers;
  handlers.OnInclude = [&includes](gui::TObject*, const std::string&, std::unique_ptr<gui::TStringList>,
                                   std::string& text) {
    ++includes;
    text = "<b>inc</b>";
  };
  auto document = Parse("<p>x<map name=m><area href=a>\n<area href=b> <!--#echo var=v-->tail<p>more", nullptr, handlers);
  EXPECT_EQ(includes, 1);
  EXPECT_EQ(maps, "begin M;dropped;");
  EXPECT_EQ(testing::JoinedText(*document.root), "xinctail |more ");
}

class ObjectViewer : public TParseViewer {
 public:
  bool HasObjectTag() const override { return true; }
  void ObjectTag(TPanelObj*, const gui::TStringList&, const gui::TStringList& params, bool& wantPanel) override {
    seenParams = params.Text();
    wantPanel = wants;
  }
  bool wants = false;
  std::string seenParams;
};

TEST_F(SpecialReaders, ObjectContentShowsUnlessTheHandlerTakesThePanel) {
  EXPECT_EQ(testing::JoinedText(*Parse("<object><param name=a value=1>fallback</object>").root), "fallback ");
  EXPECT_EQ(panelsMade, 0);

  ObjectViewer viewer;
  auto declined = Parse("<object><param name=a value=1> <param name=b>fallback</object>", &viewer);
  EXPECT_EQ(viewer.seenParams, "a=1\r\nb\r\n");
  EXPECT_EQ(testing::JoinedText(*declined.root), "fallback ");
  EXPECT_EQ(panelsDropped, 1);

  viewer.wants = true;
  auto taken = Parse("<object><param name=a value=1>fallback</object>after", &viewer);
  EXPECT_EQ(testing::JoinedText(*taken.root), "after ");
  EXPECT_EQ(panelsAppended, 1);
  EXPECT_EQ(panelsDropped, 1);
}

TEST_F(SpecialReaders, ObjectInsidePreLosesNoTag) {
  ObjectViewer viewer;
  auto document = Parse("<pre>a<object><param name=p><b>bold</b>\r\nnext</object></pre>", &viewer);
  EXPECT_NE(FontRuns(*TextSections(*document.root)[0]).find("1:b "), std::string::npos);
  EXPECT_EQ(testing::JoinedText(*document.root), "abold |next ");
}

}  // namespace
}  // namespace engine
