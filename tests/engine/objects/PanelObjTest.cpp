// Panels in documents: sizes from attributes and from the window the host
// shaped, the host's create / destroy / print events (never a destroy for a
// print copy), PANEL and OBJECT through the parser, and where a panel goes
// when the document is painted or printed.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"
#include "engine/html/TAttributeList.h"
#include "engine/html/TParseViewer.h"
#include "engine/html/TUrlTarget.h"
#include "engine/objects/DocumentHover.h"
#include "engine/objects/TPanelObj.h"
#include "engine/objects/ThvPanel.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TStringList.h"
#include "platform/win/gdi/Shapes.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using Attr = std::tuple<THtmlSymbol, std::string, int>;

std::unique_ptr<TAttributeList> Attributes(std::initializer_list<Attr> values) {
  auto list = std::make_unique<TAttributeList>();
  for (const auto& [symbol, text, number] : values)
    list->Add(std::make_unique<TAttribute>(symbol, 1252, text, "", number));
  return list;
}

struct HostLog {
  std::vector<std::string> created;  // "name/type/src"
  std::vector<ThvPanel*> destroyed;
};

class PanelObjTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEngineUnit();
    viewer.Show();
    root = std::make_unique<TSectionList>(&viewer, &paintPanel);
    root->OnPanelCreate = [this](gui::TObject* sender, const std::string& name, const std::string& type,
                                 const std::string& src, ThvPanel* panel) {
      EXPECT_EQ(sender, &viewer);
      log.created.push_back(name + "/" + type + "/" + src);
      if (shape) shape(*panel);
    };
    root->OnPanelDestroy = [this](gui::TObject*, ThvPanel* panel) { log.destroyed.push_back(panel); };
  }
  void TearDown() override {
    root.reset();
    FinalizeEngineUnit();
  }
  std::unique_ptr<TPanelObj> Panel(std::initializer_list<Attr> values, bool objectTag = false) {
    auto list = Attributes(values);
    return std::make_unique<TPanelObj>(root.get(), objectTag, *list);
  }

  gui::TWinControl viewer{nullptr};
  gui::TWinControl paintPanel{nullptr};
  std::unique_ptr<TSectionList> root;
  HostLog log;
  std::function<void(ThvPanel&)> shape;
};

TEST_F(PanelObjTest, APlainPanelIsAParkedWhiteBoxOfThirtyByTwenty) {
  auto panel = Panel({});
  ThvPanel* window = panel->Window();
  EXPECT_EQ(window->Left(), -4000);
  EXPECT_EQ(window->Top(), -4000);
  EXPECT_EQ(window->Color(), gui::clWhite);
  EXPECT_EQ(window->Parent(), &paintPanel);
  EXPECT_TRUE(window->Displayed);
  panel->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(panel->Place.ImageWidth, 30);
  EXPECT_EQ(panel->Place.ImageHeight, 20);
  ASSERT_EQ(root->PanelList.size(), 1u);
  EXPECT_EQ(root->PanelList[0], panel.get());
}

TEST_F(PanelObjTest, SizesComeFromAttributesAndTheShapeTheHostGaveTheWindow) {
  shape = [](ThvPanel& window) { window.SetHeight(50); };
  auto widthOnly = Panel({{symWidth, "200", 200}});
  widthOnly->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(widthOnly->Place.ImageWidth, 200);
  EXPECT_EQ(widthOnly->Place.ImageHeight, 50);  // the height the host left

  shape = [](ThvPanel& window) { window.SetBounds(0, 0, 100, 40); };
  auto heightOnly = Panel({{symHeight, "80", 80}});
  heightOnly->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(heightOnly->Place.ImageWidth, 200);  // 80 * 100 / 40
  EXPECT_EQ(heightOnly->Place.ImageHeight, 80);
  EXPECT_EQ(heightOnly->Window()->Width(), 200);  // the window follows its box

  shape = nullptr;
  auto percent = Panel({{symWidth, "150%", 150}, {symHeight, "50%", 50}});
  EXPECT_EQ(percent->WantedWidth, 100);  // held to 100 %
  percent->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(percent->Place.ImageWidth, 400);
  EXPECT_EQ(percent->Place.ImageHeight, 150);
  percent->ComputeSize(nullptr, nullptr, 200, 100);  // recomputed at every layout
  EXPECT_EQ(percent->Place.ImageWidth, 200);
  EXPECT_EQ(percent->Place.ImageHeight, 50);
}

TEST_F(PanelObjTest, HostileSizesStayInRangeAndAZeroWindowGivesZeroNotMinusOne) {
  auto huge = Panel({{symWidth, "9999999999", INT_MAX}, {symHeight, "-5", -5}, {symHspace, "x", INT_MIN}});
  EXPECT_EQ(huge->WantedWidth, 32767);
  EXPECT_EQ(huge->WantedHeight, 1);
  EXPECT_EQ(huge->Place.HSpaceL, 40);
  huge->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(huge->Place.ImageWidth, 32767);

  shape = [](ThvPanel& window) { window.SetBounds(0, 0, 0, 0); };
  auto flat = Panel({{symHeight, "50", 50}});
  flat->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(flat->Place.ImageWidth, 0);
  auto narrow = Panel({{symWidth, "50", 50}});
  narrow->ComputeSize(nullptr, nullptr, 400, 300);
  EXPECT_EQ(narrow->Place.ImageHeight, 0);
}

TEST_F(PanelObjTest, AttributesAlignSpaceAndNameThePanel) {
  auto panel = Panel({{symName, "movie", 0}, {symType, "video/x", 0}, {symSrc, "a.avi", 0}, {symAlign, "right", 0},
                      {symAlt, "Film\r\n", 0}, {symVspace, "-7", -7}});
  EXPECT_EQ(panel->Window()->Name(), "movie");
  EXPECT_EQ(panel->Place.Align, kAlignFloatRight);
  EXPECT_EQ(panel->Place.HSpaceL, 3);
  EXPECT_EQ(panel->Place.VSpaceT, 7);
  EXPECT_EQ(panel->Place.VSpaceB, 7);
  EXPECT_EQ(panel->Alt, "Film");
  ASSERT_EQ(log.created.size(), 1u);
  EXPECT_EQ(log.created[0], "movie/video/x/a.avi");
  // A name the window cannot take is left off it; the host still hears it.
  auto odd = Panel({{symName, "2 bad", 0}});
  EXPECT_EQ(odd->Window()->Name(), "");
  EXPECT_EQ(log.created.back(), "2 bad//");
}

TEST_F(PanelObjTest, TheHostHearsOfScreenPanelsGoingButNeverOfPrintCopies) {
  auto panel = Panel({{symName, "p1", 0}});
  ThvPanel* window = panel->Window();
  auto copyRoot = TSectionList::CreateCopy(*root);
  copyRoot->OnPanelDestroy = root->OnPanelDestroy;  // a copy carries the screen document's handlers
  {
    std::unique_ptr<TInlineObject> copy = panel->CreateCopy(copyRoot.get());
    auto* printCopy = static_cast<TPanelObj*>(copy.get());
    EXPECT_TRUE(printCopy->IsCopy);
    EXPECT_EQ(printCopy->ScreenPanel, window);
    EXPECT_EQ(printCopy->ScreenViewer, &viewer);
    EXPECT_TRUE(copyRoot->PanelList.empty());
  }
  EXPECT_TRUE(log.destroyed.empty());
  panel.reset();
  ASSERT_EQ(log.destroyed.size(), 1u);
  EXPECT_EQ(log.destroyed[0], window);
  EXPECT_TRUE(root->PanelList.empty());
  // An OBJECT panel is offered by the parser, not through the create event.
  auto object = Panel({{symName, "o", 0}}, true);
  EXPECT_EQ(log.created.size(), 1u);
  root->OnPanelDestroy = [](gui::TObject*, ThvPanel*) { throw std::runtime_error("host failed"); };
  EXPECT_NO_THROW(object.reset());
}

TEST_F(PanelObjTest, DrawingMovesTheWindowIntoViewOrHidesIt) {
  auto panel = Panel({{symWidth, "40", 40}, {symHeight, "30", 30}});
  panel->ComputeSize(nullptr, nullptr, 400, 300);
  root->YOffset = 100;
  panel->Draw(nullptr, 15, nullptr, 200, 170);  // bottom-aligned against baseline 200
  EXPECT_EQ(panel->Window()->BoundsRect(), (win::RECT{15, 70, 55, 100}));
  EXPECT_TRUE(panel->Window()->Visible());
  EXPECT_TRUE(panel->ShownFlag);
  EXPECT_EQ(panel->TopY, 170);
  panel->Window()->Displayed = false;
  panel->Draw(nullptr, 15, nullptr, 200, 170);
  EXPECT_FALSE(panel->Window()->Visible());
}

TEST_F(PanelObjTest, PrintCopiesAskTheHostForAPictureOrDrawABoxWithTheAlt) {
  auto panel = Panel({{symWidth, "40", 40}, {symHeight, "30", 30}, {symAlt, "Hi", 0}});
  panel->ComputeSize(nullptr, nullptr, 400, 300);
  panel->Window()->SetBounds(5, 6, 40, 30);
  win::RECT duringCall{};
  root->OnPanelPrint = [&](gui::TObject* sender, ThvPanel* screen, gui::TBitmap& bitmap) {
    EXPECT_EQ(sender, &viewer);
    duringCall = screen->BoundsRect();
    bitmap.Canvas().Brush().SetColor(0x0000FF);
    bitmap.Canvas().FillRect(win::RECT{0, 0, bitmap.Width(), bitmap.Height()});
  };
  gui::TBitmap page;
  page.SetSize(100, 100);
  page.Canvas().Brush().SetColor(gui::clWhite);
  page.Canvas().FillRect(win::RECT{0, 0, 100, 100});
  auto copyRoot = TSectionList::CreateCopy(*root);
  std::unique_ptr<TInlineObject> copy = panel->CreateCopy(copyRoot.get());
  copy->ComputeSize(nullptr, nullptr, 400, 300);
  copy->Draw(&page.Canvas(), 10, nullptr, 50, 20);
  EXPECT_EQ(duringCall, (win::RECT{5, 6, 45, 36}));
  EXPECT_EQ(panel->Window()->BoundsRect(), (win::RECT{5, 6, 45, 36}));  // put back
  EXPECT_EQ(win::GetPixel(page.Canvas().Handle(), 12, 22), 0x0000FFu);
  EXPECT_EQ(win::GetPixel(page.Canvas().Handle(), 9, 22), 0xFFFFFFu);

  root->OnPanelPrint = nullptr;
  auto plainCopyRoot = TSectionList::CreateCopy(*root);
  std::unique_ptr<TInlineObject> plain = panel->CreateCopy(plainCopyRoot.get());
  plain->ComputeSize(nullptr, nullptr, 400, 300);
  page.Canvas().FillRect(win::RECT{0, 0, 100, 100});
  const gui::TColor penBefore = page.Canvas().Pen().Color();
  plain->Draw(&page.Canvas(), 10, nullptr, 50, 20);
  EXPECT_EQ(win::GetPixel(page.Canvas().Handle(), 10, 20), 0u);          // black frame
  EXPECT_EQ(win::GetPixel(page.Canvas().Handle(), 45, 45), 0xFFFFFFu);  // the panel's colour inside
  EXPECT_EQ(page.Canvas().Pen().Color(), penBefore);
  // A hidden panel prints nothing.
  panel->Window()->Displayed = false;
  std::unique_ptr<TInlineObject> hidden = panel->CreateCopy(plainCopyRoot.get());
  hidden->ComputeSize(nullptr, nullptr, 400, 300);
  page.Canvas().FillRect(win::RECT{0, 0, 100, 100});
  hidden->Draw(&page.Canvas(), 10, nullptr, 50, 20);
  EXPECT_EQ(win::GetPixel(page.Canvas().Handle(), 10, 20), 0xFFFFFFu);
}

// The viewer side of OBJECT: keeps the panel or not, and records the parameters.
class ObjectViewer : public TParseViewer {
 public:
  bool HasObjectTag() const override { return true; }
  void ObjectTag(TPanelObj* panel, const gui::TStringList&, const gui::TStringList& params, bool& wantPanel) override {
    offered.push_back(panel);
    paramCount = params.Count();
    wantPanel = want;
  }
  bool want = true;
  std::vector<TPanelObj*> offered;
  int paramCount = 0;
};

TEST_F(PanelObjTest, ParsedPanelsAndObjectsStandInTheTextAndLeaveWithTheDocument) {
  ObjectViewer host;
  ParseHtmlSource("<p>a<panel name=one width=50>b<object><param name=x value=1></object>c</p>", *root, &host);
  const auto sections = testing::TextSections(*root);
  ASSERT_EQ(sections.size(), 1u);
  const TSection& text = *sections[0];
  ASSERT_EQ(text.ImageObjs().size(), 2u);
  EXPECT_EQ(text.ImageObjs()[0]->ObjectKind, TInlineObject::Kind::Panel);
  EXPECT_EQ(text.ImageObjs()[1].get(), host.offered.at(0));
  EXPECT_EQ(host.paramCount, 1);
  EXPECT_EQ(root->PanelList.size(), 2u);
  EXPECT_EQ(log.created, std::vector<std::string>{"one//"});
  root->Clear();
  EXPECT_EQ(log.destroyed.size(), 2u);
  EXPECT_TRUE(root->PanelList.empty());

  host.want = false;
  log.destroyed.clear();
  ParseHtmlSource("<p>a<object>inside</object></p>", *root, &host);
  EXPECT_EQ(log.destroyed.size(), 1u);  // the declined panel is freed at once
  EXPECT_TRUE(root->PanelList.empty());
  EXPECT_EQ(testing::JoinedText(*root), "ainside ");  // the content is read as text
}

// Only images have hover states: the mouse over a panel leaves the document
// without a hover image (a panel taken for one would be treated as an image).
TEST_F(PanelObjTest, APanelNeverBecomesTheHoverImage) {
  ParseHtmlSource("<p>a<panel name=one width=50 height=40>b</p>", *root, nullptr);
  gui::TBitmap surface;
  surface.SetSize(300, 200);
  int maxWidth = 0;
  int curs = 0;
  root->LayoutContent(&surface.Canvas(), 0, 300, 200, 0, maxWidth, curs);
  // A point on the panel, found by asking the document.
  win::POINT onPanel{-1, -1};
  for (int y = 0; y < 100 && onPanel.x < 0; ++y)
    for (int x = 0; x < 200 && onPanel.x < 0; ++x) {
      TIDObject* hit = nullptr;
      int innerX = 0, innerY = 0;
      if (root->ObjectAtPoint(x, y, hit, innerX, innerY)) onPanel = {x, y};
    }
  ASSERT_GE(onPanel.x, 0);
  std::unique_ptr<TUrlTarget> target;
  TFormControlObj* control = nullptr;
  std::string title;
  LinkAtPointWithHover(*root, &surface.Canvas(), onPanel.x, onPanel.y, target, control, title, false);
  EXPECT_EQ(root->HoverImage, nullptr);
}

}  // namespace
}  // namespace engine
