#include "platform/win/text/SharedFonts.h"

#include <vector>

#include <gtest/gtest.h>

#include "platform/gui/TFont.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/text/FontObject.h"

namespace win {
namespace {

LOGFONTW Description(LONG height, const char16_t* face = u"Arial") {
  LOGFONTW logFont{};
  logFont.lfHeight = height;
  logFont.lfWeight = FW_NORMAL;
  for (int i = 0; face[i] && i + 1 < LF_FACESIZE; ++i) logFont.lfFaceName[i] = face[i];
  return logFont;
}

LONG HeightOf(HGDIOBJ handle) {
  LOGFONTW logFont{};
  return GetObjectW(handle, sizeof logFont, &logFont) == static_cast<int>(sizeof logFont) ? logFont.lfHeight : 0;
}

TEST(SharedFonts, EqualDescriptionsShareOneHandle) {
  trimSharedFonts();
  LOGFONTW a = Description(-13);
  LOGFONTW b = Description(-13);
  b.lfFaceName[LF_FACESIZE - 2] = u'x';  // beyond the name's end: not part of the description
  const HFONT first = acquireSharedFont(a);
  const HFONT second = acquireSharedFont(b);
  const HFONT other = acquireSharedFont(Description(-14));
  EXPECT_NE(first, 0u);
  EXPECT_EQ(first, second);
  EXPECT_NE(first, other);
  EXPECT_TRUE(releaseSharedFont(first));
  EXPECT_TRUE(releaseSharedFont(second));
  EXPECT_TRUE(releaseSharedFont(other));
}

TEST(SharedFonts, ReleasedHandlesAreReusedThenDeletedBeyondTheKeptFew) {
  trimSharedFonts();
  const HFONT kept = acquireSharedFont(Description(-20));
  releaseSharedFont(kept);
  EXPECT_EQ(GetObjectType(kept), OBJ_FONT);
  EXPECT_EQ(acquireSharedFont(Description(-20)), kept);  // reused while kept
  releaseSharedFont(kept);
  // Many other fonts released after it push it out: nothing piles up.
  for (LONG height = 100; height < 300; ++height) releaseSharedFont(acquireSharedFont(Description(-height)));
  EXPECT_EQ(GetObjectType(kept), 0u);
  const HFONT again = acquireSharedFont(Description(-20));
  EXPECT_EQ(HeightOf(again), -20);
  releaseSharedFont(again);
  trimSharedFonts();
}

TEST(SharedFonts, AHandleDeletedBehindTheCacheIsMadeAnew) {
  trimSharedFonts();
  const HFONT first = acquireSharedFont(Description(-15));
  releaseSharedFont(first);
  ASSERT_TRUE(DeleteObject(first));
  const HFONT second = acquireSharedFont(Description(-15));
  EXPECT_EQ(GetObjectType(second), OBJ_FONT);
  EXPECT_EQ(HeightOf(second), -15);
  releaseSharedFont(second);
}

TEST(SharedFonts, OtherHandlesAreLeftAlone) {
  const LOGFONTW description = Description(-16);
  const HFONT own = CreateFontIndirectW(&description);
  EXPECT_FALSE(holdSharedFont(own));
  EXPECT_FALSE(releaseSharedFont(own));
  EXPECT_EQ(GetObjectType(own), OBJ_FONT);
  EXPECT_TRUE(DeleteObject(own));
  EXPECT_FALSE(releaseSharedFont(0));
}

TEST(SharedFonts, FontsSharingAHandleChangeAndDieApart) {
  trimSharedFonts();
  auto source = std::make_unique<gui::TFont>();
  source->SetName("Arial");
  source->SetHeight(-17);
  const HFONT handle = source->Handle();
  gui::TFont copy;
  copy.Assign(source.get());
  EXPECT_EQ(copy.Handle(), handle);
  // The copy changing leaves the source's handle as it was.
  copy.SetHeight(-30);
  EXPECT_NE(copy.Handle(), handle);
  EXPECT_EQ(HeightOf(source->Handle()), -17);
  copy.Assign(source.get());
  source.reset();  // the copy still holds the handle
  EXPECT_EQ(GetObjectType(copy.Handle()), OBJ_FONT);
  EXPECT_EQ(HeightOf(copy.Handle()), -17);
}

}  // namespace
}  // namespace win
