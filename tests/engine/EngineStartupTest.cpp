#include "engine/common/EngineStartup.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "engine/common/Cursors.h"
#include "platform/gui/TScreen.h"
#include "platform/win/Gdi.h"
#include "platform/win/user/Cursors.h"
#include "platform/win/kernel/PlatformFlags.h"

namespace engine {
namespace {

class EngineStartupTest : public ::testing::Test {
 protected:
  void TearDown() override {
    FinalizeEngineUnit();
    win::resetScreen();
    win::resetPlatformFlags();
    BuildDefaultPalette8 = [](win::HDC) { return win::HPALETTE(0); };
  }
};

win::BITMAP BitmapInfo(win::HBITMAP bitmap) {
  win::BITMAP info{};
  win::GetObjectW(bitmap, sizeof(info), &info);
  return info;
}

TEST_F(EngineStartupTest, DisplayDepthClasses) {
  int palettesBuilt = 0;
  BuildDefaultPalette8 = [&](win::HDC) {
    ++palettesBuilt;
    return win::HPALETTE(0);
  };
  struct Case {
    int bitsPerPixel;
    int depthClass;
    std::uint32_t flag;
    int palettes;
  };
  for (const Case& c : {Case{16, 24, 0, 0}, Case{8, 8, kPaletteRgbFlag, 1}, Case{4, 4, kPaletteRgbFlag, 1},
                        Case{32, 24, 0, 1}}) {
    SCOPED_TRACE(c.bitsPerPixel);
    win::setScreenDepth(c.bitsPerPixel);
    InitializeEngineUnit();
    EXPECT_EQ(ScreenColorDepth, c.depthClass);
    EXPECT_EQ(PaletteRGBFlag, c.flag);
    EXPECT_EQ(palettesBuilt, c.palettes);
    FinalizeEngineUnit();
  }
}

TEST_F(EngineStartupTest, PlatformFlagsPicturesAndStream) {
  win::setPlatformFlags(true, false);
  InitializeEngineUnit();
  EXPECT_TRUE(IsWin9x);
  EXPECT_FALSE(IsWin95);
  for (gui::TBitmap* picture : {WaitingPicture, ErrorPicture, ErrorPictureMask}) {
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 16);
    EXPECT_EQ(picture->Height(), 16);
  }
  EXPECT_EQ(BitmapInfo(WaitingPicture->Handle()).bmBitsPixel, 4);
  EXPECT_EQ(BitmapInfo(ErrorPicture->Handle()).bmBitsPixel, 4);
  EXPECT_EQ(BitmapInfo(ErrorPictureMask->Handle()).bmBitsPixel, 1);
  ASSERT_NE(PendingImageStream, nullptr);
  EXPECT_EQ(PendingImageStream->Size(), 0);
}

TEST_F(EngineStartupTest, CursorsAreRegisteredAndLoaded) {
  InitializeEngineUnit();
  for (int number : {kLinkCursor, kUpDownCursor, kUpOnlyCursor, kDownOnlyCursor}) {
    SCOPED_TRACE(number);
    const win::CursorObject* cursor = win::cursorFromHandle(EngineCursor(number));
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->width, 32);
    EXPECT_EQ(cursor->height, 32);
    // Something is drawn: some AND bit is clear.
    bool drawn = false;
    for (win::BYTE byte : cursor->andMask) drawn = drawn || byte != 0xFF;
    EXPECT_TRUE(drawn);
    // The viewer asks the screen for them by number.
    EXPECT_EQ(gui::Screen->Cursors(number), EngineCursor(number));
  }
  const win::CursorObject* hand = win::cursorFromHandle(EngineCursor(kLinkCursor));
  EXPECT_EQ(hand->hotSpot, (win::POINT{5, 0}));
  EXPECT_EQ(EngineCursor(10102), 0u);
  FinalizeEngineUnit();
  EXPECT_EQ(EngineCursor(kLinkCursor), 0u);
  InitializeEngineUnit();
}

TEST_F(EngineStartupTest, OnlyTheFirstStartAndTheLastStopCount) {
  InitializeEngineUnit();
  gui::TMemoryStream* first = PendingImageStream;
  gui::TBitmap* picture = WaitingPicture;
  InitializeEngineUnit();
  EXPECT_EQ(PendingImageStream, first);
  EXPECT_EQ(WaitingPicture, picture);
  FinalizeEngineUnit();
  EXPECT_EQ(PendingImageStream, first);
  FinalizeEngineUnit();
  EXPECT_EQ(PendingImageStream, nullptr);
  EXPECT_EQ(WaitingPicture, nullptr);
  FinalizeEngineUnit();  // unpaired: nothing happens
  InitializeEngineUnit();
  EXPECT_NE(PendingImageStream, nullptr);
}

// Loading the library runs the engine's start-up; the process then exits
// through its shutdown. That shutdown used to free the pictures a second time,
// after their owners' static destructors had run, and crashed at exit.
TEST(LibraryStartup, LoadAndExitRunCleanly) {
  const std::string library = std::string(PAGEWELL_BIN_DIR) + "/libpagewell.so";
  if (access(library.c_str(), R_OK) != 0) GTEST_SKIP() << "library not built";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    std::exit(handle != nullptr ? 0 : 3);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace engine
