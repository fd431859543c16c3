#include "engine/common/EngineStartup.h"

#include "engine/common/Cursors.h"
#include "engine/html/Entities.h"
#include "engine/objects/BlockImageHooks.h"
#include "engine/objects/TPanelObjHooks.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "engine/text/TInlineList.h"
#include "engine/common/Resources.h"
#include "platform/win/Gdi.h"
#include "platform/win/kernel/Files.h"
#include "platform/win/kernel/PlatformFlags.h"
#include "platform/win/user/Painting.h"

namespace engine {

std::uint32_t PaletteRGBFlag = 0;
bool IsWin9x = false;
bool IsWin95 = false;
gui::TBitmap* WaitingPicture = nullptr;
gui::TBitmap* ErrorPicture = nullptr;
gui::TBitmap* ErrorPictureMask = nullptr;
gui::TMemoryStream* PendingImageStream = nullptr;

std::function<win::HPALETTE(win::HDC)> BuildDefaultPalette8 = images::BuildDefaultPalette8;

namespace {

int startupCount = 0;
// What start-up made. Held through a plain pointer so that no static
// destructor frees it behind the shutdown's back at process exit.
struct StartupObjects {
  std::unique_ptr<gui::TMemoryStream> pendingImageStream = std::make_unique<gui::TMemoryStream>();
  std::unique_ptr<gui::TBitmap> waitingPicture;
  std::unique_ptr<gui::TBitmap> errorPicture;
  std::unique_ptr<gui::TBitmap> errorPictureMask;
};
StartupObjects* startupObjects = nullptr;

// The screen DC lives for this scope only, also when a step fails.
class ScreenDc {
 public:
  ScreenDc() : dc_(win::GetDC(0)) {}
  ~ScreenDc() { win::ReleaseDC(0, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  win::HDC get() const { return dc_; }

 private:
  win::HDC dc_;
};

void ReadDisplayValues() {
  ScreenDc screen;
  const auto depth = static_cast<std::uint8_t>(win::GetDeviceCaps(screen.get(), win::BITSPIXEL) *
                                               win::GetDeviceCaps(screen.get(), win::PLANES));
  ScreenColorDepth = depth <= 4 ? 4 : depth <= 8 ? 8 : 24;
  DisplayPalette = 0;
  // The seam may still be unconstructed when start-up runs from another
  // unit's load-time constructor: then the image code's builder serves.
  if (ScreenColorDepth == 8)
    DisplayPalette = BuildDefaultPalette8 ? BuildDefaultPalette8(screen.get())
                                          : images::BuildDefaultPalette8(screen.get());
  PaletteRGBFlag = ScreenColorDepth <= 8 ? kPaletteRgbFlag : 0;
}

// A picture whose handle is the resource's bitmap (empty when it is missing).
gui::TBitmap* LoadPicture(std::unique_ptr<gui::TBitmap>& owner, int resourceId) {
  owner = std::make_unique<gui::TBitmap>();
  const win::HBITMAP bitmap = LoadEngineBitmap(resourceId);
  if (bitmap != 0) owner->SetHandle(bitmap);
  return owner.get();
}


}  // namespace

void InitializeEngineUnit() {
  if (startupCount++ != 0) return;
  ReadDisplayValues();
  IsWin95 = win::IsWin95();
  IsWin9x = win::IsWin9x();
  startupObjects = new StartupObjects;
  WaitingPicture = LoadPicture(startupObjects->waitingPicture, kWaitingPictureResource);
  ErrorPicture = LoadPicture(startupObjects->errorPicture, kErrorPictureResource);
  ErrorPictureMask = LoadPicture(startupObjects->errorPictureMask, kErrorMaskResource);
  const win::HMODULE module = win::moduleHandleFor(reinterpret_cast<const void*>(&InitializeEngineUnit));
  RegisterCursorResources(module);
  LoadEngineCursors(module);
  PendingImageStream = startupObjects->pendingImageStream.get();
  BuildEntityList();
  InstallFormHooks();
  InstallPanelHooks();
  InstallBlockImageHooks();
  InstallInlineBoxHooks();
}

void FinalizeEngineUnit() {
  if (startupCount == 0 || --startupCount != 0) return;
  WaitingPicture = nullptr;
  ErrorPicture = nullptr;
  ErrorPictureMask = nullptr;
  if (DisplayPalette != 0) win::DeleteObject(DisplayPalette);
  DisplayPalette = 0;
  ClearEngineCursors();
  RemoveFormHooks();
  RemovePanelHooks();
  RemoveBlockImageHooks();
  RemoveInlineBoxHooks();
  PendingImageStream = nullptr;
  delete startupObjects;
  startupObjects = nullptr;
}

}  // namespace engine
