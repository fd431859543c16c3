// Images in documents: attribute limits, sizes from attributes, percentages
// and natural sizes, the stand-in box of a missing image, fetching through
// the cache, the host's requests and files, pending and animated images,
// and where the picture and its frame are drawn.
#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>

#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/DocumentHover.h"
#include "engine/objects/DocumentImages.h"
#include "engine/objects/TImageObj.h"
#include "engine/objects/TMapItem.h"
#include "engine/html/TUrlTarget.h"
#include "engine/css/TMyFont.h"
#include "engine/text/TFontObj.h"
#include "images/TGIFImage.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TStream.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/Shapes.h"
#include "tests/engine/document/DocumentFixtures.h"

namespace engine {
namespace {

const std::string kData = PAGEWELL_TEST_DATA_DIR;
const std::string kAnimated = kData + "/objects/animated_loop.gif";            // 100 x 100, frames
const std::string kStillGif = kData + "/suites/gif/giflib/pic/x-trans.gif";    // 100 x 100, transparent
const std::string kJpeg = kData + "/suites/jpeg/testimages/testorig.jpg";      // 227 x 149

using Attr = std::tuple<THtmlSymbol, std::string, int>;

std::unique_ptr<TAttributeList> Attributes(std::initializer_list<Attr> values) {
  auto list = std::make_unique<TAttributeList>();
  for (const auto& [symbol, text, number] : values)
    list->Add(std::make_unique<TAttribute>(symbol, 1252, text, "", number));
  return list;
}

class ImageObjTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEngineUnit();
    surface.SetSize(300, 200);
    canvas = &surface.Canvas();
  }
  void TearDown() override {
    root.reset();
    cache.reset();
    FinalizeEngineUnit();
  }
  std::unique_ptr<TImageObj> Image(std::initializer_list<Attr> values) {
    auto list = Attributes(values);
    return std::make_unique<TImageObj>(root.get(), list.get(), 0);
  }
  void UseCache() {
    cache = std::make_unique<images::TStringBitmapList>();
    root->BitmapList = cache.get();
  }

  std::unique_ptr<images::TStringBitmapList> cache;
  std::unique_ptr<TSectionList> root = std::make_unique<TSectionList>(nullptr, nullptr);
  gui::TBitmap surface;
  gui::TCanvas* canvas = nullptr;
};

TEST_F(ImageObjTest, AttributeValuesAreHeldToTheirLimits) {
  auto big = Image({{symHspace, "100", 100}, {symVspace, "-2147483648", INT_MIN}, {symBorder, "50", 50},
                    {symWidth, "99999999", 99999999}, {symHeight, "-5", -5}});
  EXPECT_EQ(big->Place.HSpaceL, 40);
  EXPECT_EQ(big->Place.HSpaceR, 40);
  EXPECT_EQ(big->Place.VSpaceT, 40);
  EXPECT_EQ(big->Place.VSpaceB, 40);
  EXPECT_EQ(big->BorderWidth, 10);
  EXPECT_EQ(big->WantedWidth, TImageObj::kMaxWantedSize);
  EXPECT_EQ(big->WantedHeight, -1);  // a negative size counts as not given

  auto percent = Image({{symWidth, "150%", 150}, {symHeight, "40%", 40}});
  EXPECT_EQ(percent->WantedWidth, -1);
  EXPECT_FALSE(percent->WidthInPercent);
  EXPECT_EQ(percent->WantedHeight, 40);
  EXPECT_TRUE(percent->HeightInPercent);

  auto floating = Image({{symAlign, "left", 0}, {symUsemap, " #Map ", 0}});
  EXPECT_TRUE(floating->Floats());
  EXPECT_EQ(floating->Place.HSpaceL, 3);
  EXPECT_EQ(floating->MapName, "MAP");
  EXPECT_EQ(Image({{symUsemap, "#", 0}})->MapName, "#");
  auto alt = Image({{symAlt, "Shed\r\n", 0}, {symTitle, "", 0}});
  EXPECT_EQ(alt->Alt, "Shed");
  EXPECT_EQ(alt->Title, "Shed");
}

TEST_F(ImageObjTest, SizesFollowAttributesAndTheNaturalSize) {
  auto natural = Image({{symSrc, kJpeg, 0}});
  natural->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(natural->Place.ImageWidth, 227);
  EXPECT_EQ(natural->Place.ImageHeight, 149);

  auto widthOnly = Image({{symSrc, kJpeg, 0}, {symWidth, "454", 454}, {symBorder, "2", 2}});
  widthOnly->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(widthOnly->PictureHeight, 298);
  EXPECT_EQ(widthOnly->Place.ImageWidth, 458);  // the border on both sides
  EXPECT_EQ(widthOnly->Place.ImageHeight, 302);

  auto percent = Image({{symSrc, kJpeg, 0}, {symWidth, "50%", 50}});
  percent->ComputeSize(canvas, nullptr, 400, 400);
  EXPECT_EQ(percent->Place.ImageWidth, 200);
  EXPECT_EQ(percent->Place.ImageHeight, 131);
  percent->ComputeSize(canvas, nullptr, 100, 400);
  EXPECT_EQ(percent->Place.ImageWidth, 50);
  // No room at all (the measuring pass) gives an empty box, never a negative one.
  auto framed = Image({{symSrc, kJpeg, 0}, {symWidth, "50%", 50}, {symBorder, "4", 4}});
  framed->ComputeSize(canvas, nullptr, 0, 0);
  EXPECT_EQ(framed->PictureWidth, 0);
  EXPECT_EQ(framed->PictureHeight, 0);
}

TEST_F(ImageObjTest, MissingImagesGetAStandInBox) {
  auto noAlt = Image({{symSrc, kData + "/objects/none.png", 0}});
  noAlt->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(noAlt->Image, ErrorPicture);
  EXPECT_GE(noAlt->Place.ImageWidth, 24);
  EXPECT_GE(noAlt->Place.ImageHeight, 24);

  const std::string fontBefore = canvas->Font().Name();
  auto withAlt = Image({{symSrc, "none.png", 0}, {symAlt, "Shed in March", 0}});
  withAlt->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_GT(withAlt->Place.ImageWidth, 26 + 40);
  EXPECT_EQ(withAlt->Place.ImageHeight, 24);
  EXPECT_EQ(canvas->Font().Name(), fontBefore);  // measuring the ALT text leaves the canvas font

  // Images switched off after layout: an image with neither size nor ALT keeps
  // the size it was shown at as its stand-in box.
  auto shown = Image({{symSrc, kJpeg, 0}});
  shown->ComputeSize(canvas, nullptr, 600, 400);
  ASSERT_EQ(shown->Place.ImageWidth, 227);
  root->ShowImages = false;
  shown->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(shown->Place.ImageWidth, 227);
  EXPECT_EQ(shown->Place.ImageHeight, 149);
  root->ShowImages = true;

  // Inside a link an image without BORDER gets a one-pixel frame; BORDER=0 none.
  TFontObj link(nullptr, 0, std::make_unique<TMyFont>());
  link.MutableUrlTarget().Url = "x.html";
  auto linked = Image({{symSrc, "none.png", 0}, {symWidth, "30", 30}, {symHeight, "30", 30}});
  linked->ComputeSize(canvas, &link, 600, 400);
  EXPECT_EQ(linked->Place.ImageWidth, 32);
  auto unframed = Image({{symSrc, "none.png", 0}, {symWidth, "30", 30}, {symHeight, "30", 30}, {symBorder, "0", 0}});
  unframed->ComputeSize(canvas, &link, 600, 400);
  EXPECT_EQ(unframed->Place.ImageWidth, 30);
}

TEST_F(ImageObjTest, TheCacheServesOneKeyAndIsReleasedByIt) {
  UseCache();
  {
    auto first = Image({{symSrc, kJpeg, 0}});
    first->ComputeSize(canvas, nullptr, 600, 400);
    const int index = cache->IndexOf(kJpeg);
    ASSERT_GE(index, 0);
    // Only case and blanks differ: the same entry.
    std::string other = "  " + kJpeg + " ";
    for (char& c : other) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    images::TMaskKind kind = images::mkNone;
    TLoadedImage again = LoadCachedImage(*root, other, kind);
    EXPECT_TRUE(again.FromCache);
    EXPECT_EQ(again.Image, first->Image);
    cache->ReleaseImage(other);
    EXPECT_EQ(cache->Item(index)->UsageCount, 1);
  }
  EXPECT_EQ(cache->Item(cache->IndexOf(kJpeg))->UsageCount, 0);
}

TEST_F(ImageObjTest, HostRequestsComeInOrderAndHandOverOwnership) {
  UseCache();
  std::string log;
  root->ExpandDocumentName = [&](const std::string& name) {
    log += "expand;";
    return name == "rose" ? kJpeg : name;
  };
  root->OnBitmapRequest = [&](const std::string&, std::unique_ptr<gui::TBitmap>& bitmap, gui::TColor&) {
    log += "bitmap;";
    bitmap = std::make_unique<gui::TBitmap>();
    bitmap->SetSize(7, 5);
  };
  gui::TMemoryStream tiny;
  tiny.Write("GIF", 3);
  gui::TMemoryStream* answer = nullptr;
  root->OnImageRequest = [&](const std::string&, gui::TMemoryStream*& stream) {
    log += "stream;";
    stream = answer;
  };
  images::TMaskKind kind = images::mkNone;
  // No stream: the file under the expanded name replaces the host's bitmap (freed once).
  TLoadedImage fromFile = LoadCachedImage(*root, "rose", kind);
  EXPECT_EQ(log, "bitmap;stream;expand;");
  ASSERT_NE(fromFile.Image, nullptr);
  EXPECT_EQ(dynamic_cast<gui::TBitmap*>(fromFile.Image)->Width(), 227);
  // A three-byte stream is not an image: the host's bitmap stands.
  answer = &tiny;
  TLoadedImage short3 = LoadCachedImage(*root, "tiny", kind);
  ASSERT_NE(short3.Image, nullptr);
  EXPECT_EQ(dynamic_cast<gui::TBitmap*>(short3.Image)->Width(), 7);
  // Asked again: the cache, no events.
  log.clear();
  TLoadedImage cached = LoadCachedImage(*root, " TINY", kind);
  EXPECT_TRUE(cached.FromCache);
  EXPECT_EQ(log, "");
}

TEST_F(ImageObjTest, WithoutACacheTheImageOwnsWhatItLoaded) {
  auto image = Image({{symSrc, kStillGif, 0}, {symTransp, "", 0}});
  image->ComputeSize(canvas, nullptr, 600, 400);
  ASSERT_NE(dynamic_cast<gui::TBitmap*>(image->Image), nullptr);
  EXPECT_EQ(image->Place.ImageWidth, 100);
  EXPECT_NE(image->Mask, nullptr);
}

TEST_F(ImageObjTest, PendingImagesWaitUnderTheirKey) {
  root->OnImageRequest = [](const std::string&, gui::TMemoryStream*& stream) { stream = PendingImageStream; };
  auto first = Image({{symSrc, " later.png", 0}});
  first->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_TRUE(first->Pending);
  EXPECT_EQ(first->Image, WaitingPicture);
  int asked = 0;
  root->OnImageRequest = [&](const std::string&, gui::TMemoryStream*& stream) {
    ++asked;
    stream = PendingImageStream;
  };
  auto second = Image({{symSrc, "LATER.PNG ", 0}});
  second->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(asked, 0);  // already asked for under the same key
  EXPECT_TRUE(second->Pending);
  ASSERT_EQ(root->MissingImages.size(), 2u);
  EXPECT_EQ(root->MissingImages[0].first, "LATER.PNG");
  first.reset();
  EXPECT_TRUE(root->IsMissingImage("LATER.PNG"));  // the second still waits under it
  second.reset();
  EXPECT_TRUE(root->MissingImages.empty());
  EXPECT_FALSE(root->IsMissingImage("LATER.PNG"));
}

TEST_F(ImageObjTest, AnimatedGifsAnimateAndSharedOnesAreCopied) {
  UseCache();
  auto first = Image({{symSrc, kAnimated, 0}});
  auto second = Image({{symSrc, kAnimated, 0}});
  first->ComputeSize(canvas, nullptr, 600, 400);
  second->ComputeSize(canvas, nullptr, 600, 400);
  auto* gif1 = dynamic_cast<images::TGIFImage*>(first->Image);
  auto* gif2 = dynamic_cast<images::TGIFImage*>(second->Image);
  ASSERT_NE(gif1, nullptr);
  ASSERT_NE(gif2, nullptr);
  EXPECT_NE(gif1, gif2);  // each frame clock is the image's own
  EXPECT_TRUE(gif2->IsCopy());
  EXPECT_EQ(root->AGifList.size(), 2u);
  second.reset();
  EXPECT_EQ(root->AGifList.size(), 1u);
}

TEST_F(ImageObjTest, TheFrameGoesAroundThePicture) {
  gui::TCanvas& c = *canvas;
  c.Brush().SetColor(gui::clWhite);
  c.FillRect(win::RECT{0, 0, 300, 200});
  auto image = Image({{symSrc, kJpeg, 0}, {symWidth, "20", 20}, {symHeight, "10", 10}, {symBorder, "3", 3},
                      {symAlign, "top", 0}});
  image->ComputeSize(canvas, nullptr, 300, 200);
  ASSERT_EQ(image->Place.ImageWidth, 26);
  c.Font().SetName("Courier New");
  c.Font().SetSize(20);
  image->Draw(canvas, 10, nullptr, 50, 20);
  // Text drawn next uses the DC's font directly: it is the line's font again.
  EXPECT_EQ(c.Font().Name(), "Courier New");
  EXPECT_EQ(c.Font().Size(), 20);
  EXPECT_EQ(win::GetCurrentObject(c.Handle(), win::OBJ_FONT), c.Font().Handle());
  EXPECT_EQ(image->LeftX, 10);
  EXPECT_EQ(image->TopY, 20);
  // The frame's outer pixels are the box's corners; the picture starts inside it.
  EXPECT_EQ(c.Pixels(10, 20), 0x000000u);
  EXPECT_EQ(c.Pixels(35, 35), 0x000000u);
  EXPECT_EQ(c.Pixels(9, 19), 0xFFFFFFu);
  EXPECT_EQ(c.Pixels(36, 36), 0xFFFFFFu);
  EXPECT_NE(c.Pixels(13, 23), 0x000000u);
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST_F(ImageObjTest, ActiveGifsShowHoverAndPressedFramesUntilTheMouseLeaves) {
  auto image = Image({{symSrc, kAnimated, 0}, {symActive, "", 0}});
  image->ComputeSize(canvas, nullptr, 600, 400);
  auto* gif = dynamic_cast<images::TGIFImage*>(image->Image);
  ASSERT_NE(gif, nullptr);
  EXPECT_TRUE(root->AGifList.empty());  // ACTIVE images animate only under the mouse
  root->HoverImage = image.get();
  SetHoverImagePressed(*root, true);
  EXPECT_EQ(image->HoverState, 2);
  if (gif->NumFrames() > 3) {
    EXPECT_TRUE(gif->Animating());
    EXPECT_EQ(root->AGifList.size(), 1u);
  }
  ClearHover(*root);
  EXPECT_EQ(image->HoverState, 0);
  EXPECT_EQ(root->HoverImage, nullptr);
  EXPECT_FALSE(gif->Animating());
  EXPECT_TRUE(root->AGifList.empty());
  ClearHover(*root);  // nothing under the mouse: nothing to do
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST_F(ImageObjTest, BackgroundImagesAreAskedForOnce) {
  UseCache();
  int asked = 0;
  root->OnImageRequest = [&](const std::string&, gui::TMemoryStream*& stream) {
    ++asked;
    stream = PendingImageStream;
  };
  root->BackgroundImageName = "paper.gif";
  GetBackgroundImage(*root);
  GetBackgroundImage(*root);
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(root->BackgroundImageLoaded);
  ASSERT_EQ(root->MissingImages.size(), 1u);
  EXPECT_EQ(root->MissingImages[0].first, "PAPER.GIF");

  // A loaded background stays in the cache under its name without a user.
  root->OnImageRequest = nullptr;
  root->BackgroundImageLoaded = false;
  root->BackgroundImageName = kAnimated;
  GetBackgroundImage(*root);
  const int index = cache->IndexOf(kAnimated);
  ASSERT_GE(index, 0);
  EXPECT_EQ(cache->Item(index)->UsageCount, 0);
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST_F(ImageObjTest, ClientMapsAnswerInsideTheBorder) {
  auto map = std::make_unique<TMapItem>();
  map->MapName = "PLOTS";
  auto area = Attributes({{symShape, "rect", 0}, {symCoords, "0,0,9,9", 0}, {symHref, "plot1.html", 0},
                          {symTitle, "Plot 1", 0}});
  map->DefineArea(*area);
  root->MapList.push_back(std::move(map));
  auto image = Image({{symSrc, kJpeg, 0}, {symUsemap, "#plots", 0}, {symBorder, "2", 2}});
  std::unique_ptr<TUrlTarget> target;
  std::string title;
  EXPECT_TRUE(image->MapLinkAt(11, 11, target, title));  // 9,9 inside the picture
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->Url, "plot1.html");
  EXPECT_EQ(title, "Plot 1");
  EXPECT_FALSE(image->MapLinkAt(12, 12, target, title));
  auto unmapped = Image({{symSrc, kJpeg, 0}, {symUsemap, "#other", 0}});
  EXPECT_FALSE(unmapped->MapLinkAt(1, 1, target, title));
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST_F(ImageObjTest, ADelayedImageIsDecodedOnceAndGivenToEveryImageWaitingForIt) {
  UseCache();
  root->OnImageRequest = [](const std::string&, gui::TMemoryStream*& stream) { stream = PendingImageStream; };
  root->BackgroundImageName = kStillGif;
  GetBackgroundImage(*root);
  auto first = Image({{symSrc, kStillGif, 0}});
  auto second = Image({{symSrc, " " + kStillGif, 0}, {symWidth, "50", 50}});
  auto other = Image({{symSrc, "other.png", 0}});
  for (auto* image : {first.get(), second.get(), other.get()}) image->ComputeSize(canvas, nullptr, 600, 400);
  ASSERT_EQ(root->MissingImages.size(), 4u);
  EXPECT_EQ(first->Place.ImageWidth, 24);  // the waiting picture's stand-in box

  gui::TMemoryStream data;
  data.LoadFromFile(kStillGif, gui::TFileKind::Image);
  EXPECT_FALSE(InsertImage(*root, "nothing.gif", data));
  EXPECT_TRUE(InsertImage(*root, kStillGif, data));
  ASSERT_EQ(root->MissingImages.size(), 1u);  // only other.png still waits
  EXPECT_FALSE(first->Pending);
  EXPECT_EQ(first->Image, second->Image);  // one decoded picture, from the cache
  ASSERT_NE(dynamic_cast<gui::TBitmap*>(first->Image), nullptr);
  const int index = cache->IndexOf(kStillGif);
  ASSERT_GE(index, 0);
  EXPECT_EQ(cache->Item(index)->UsageCount, 2);  // the two images; the background holds no use
  first->ComputeSize(canvas, nullptr, 600, 400);
  second->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(first->Place.ImageWidth, 100);  // the next layout takes the real size
  EXPECT_EQ(second->Place.ImageHeight, 50);

  // Data that cannot be decoded ends the wait with the error picture.
  gui::TMemoryStream junk;
  junk.Write("xy", 2);
  EXPECT_TRUE(InsertImage(*root, "OTHER.PNG", junk));
  EXPECT_EQ(other->Image, ErrorPicture);
  EXPECT_TRUE(root->MissingImages.empty());
  first.reset();
  second.reset();
  EXPECT_EQ(cache->Item(index)->UsageCount, 0);
}

TEST_F(ImageObjTest, WithoutACacheEachWaitingImageOwnsItsOwnDecodedPicture) {
  root->OnImageRequest = [](const std::string&, gui::TMemoryStream*& stream) { stream = PendingImageStream; };
  auto first = Image({{symSrc, kJpeg, 0}});
  auto second = Image({{symSrc, kJpeg, 0}});
  first->ComputeSize(canvas, nullptr, 600, 400);
  second->ComputeSize(canvas, nullptr, 600, 400);
  gui::TMemoryStream data;
  data.LoadFromFile(kJpeg, gui::TFileKind::Image);
  EXPECT_TRUE(InsertImage(*root, kJpeg, data));
  ASSERT_NE(first->Image, nullptr);
  EXPECT_NE(first->Image, second->Image);
  first->ComputeSize(canvas, nullptr, 600, 400);
  EXPECT_EQ(first->Place.ImageWidth, 227);
}

TEST_F(ImageObjTest, AFocusedLinkFramesItsImage) {
  gui::TCanvas& c = *canvas;
  auto image = Image({{symSrc, kJpeg, 0}, {symWidth, "20", 20}, {symHeight, "10", 10}, {symBorder, "0", 0},
                      {symAlign, "top", 0}});
  TFontObj run(nullptr, 0, std::make_unique<TMyFont>());
  image->ComputeSize(canvas, &run, 600, 400);
  image->Draw(canvas, 30, &run, 60, 40);
  const win::COLORREF plain[2] = {win::GetPixel(c.Handle(), 30, 40), win::GetPixel(c.Handle(), 31, 40)};
  run.Active = true;
  image->Draw(canvas, 30, &run, 60, 40);
  // The dotted frame inverts every other pixel round the box.
  const bool firstChanged = win::GetPixel(c.Handle(), 30, 40) != plain[0];
  const bool secondChanged = win::GetPixel(c.Handle(), 31, 40) != plain[1];
  EXPECT_NE(firstChanged, secondChanged);
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST_F(ImageObjTest, StyleSizesAndMarginsReplaceWhatTheAttributesGave) {
  auto pixels = testing::MakeStyle("img", {{"width", "120px"}, {"height", "auto"}, {"margin-left", "7px"}});
  auto image = Image({{symWidth, "50", 50}, {symHeight, "40", 40}, {symHspace, "5", 5}});
  image->ApplyStyle(*pixels);
  EXPECT_EQ(image->WantedWidth, 120);
  EXPECT_FALSE(image->WidthInPercent);
  EXPECT_EQ(image->WantedHeight, -1);
  EXPECT_EQ(image->Place.HSpaceL, 7);
  EXPECT_EQ(image->Place.HSpaceR, 5);  // the style leaves the right margin alone

  auto percent = testing::MakeStyle(
      "img", {{"width", "50%"}, {"border-style", "solid"}, {"border-left-width", "3px"}, {"margin-top", "-4px"}});
  auto framed = Image({{symBorder, "2", 2}, {symSrc, kJpeg, 0}});
  framed->ApplyStyle(*percent);
  EXPECT_EQ(framed->WantedWidth, 50);
  EXPECT_TRUE(framed->WidthInPercent);
  EXPECT_TRUE(framed->BorderOff);  // the style's border replaces the attribute's
  EXPECT_EQ(framed->BorderWidth, 0);
  EXPECT_EQ(framed->Place.HSpaceL, 3);  // room for the style's border
  EXPECT_EQ(framed->Place.VSpaceT, 4);  // the default border width; the negative margin gives 0
  framed->ComputeSize(canvas, nullptr, 400, 300);
  EXPECT_EQ(framed->Place.ImageWidth, 200);
}

}  // namespace
}  // namespace engine
