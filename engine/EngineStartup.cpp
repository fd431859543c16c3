#include "engine/EngineStartup.h"

#include "engine/Entities.h"
#include "engine/Resources.h"
#include "platform/win/Gdi.h"
#include "platform/win/kernel/PlatformFlags.h"

namespace engine {

std::uint8_t ScreenColorDepth = 24;
win::HPALETTE DisplayPalette = 0;
std::uint32_t PaletteRGBFlag = 0;
bool IsWin9x = false;
bool IsWin95 = false;
win::HBITMAP WaitingPicture = 0;
win::HBITMAP ErrorPicture = 0;
win::HBITMAP ErrorPictureMask = 0;
gui::TMemoryStream* PendingImageStream = nullptr;

std::function<win::HPALETTE(win::HDC)> BuildDefaultPalette8 = [](win::HDC) { return win::HPALETTE(0); };

namespace {

int startupCount = 0;
std::unique_ptr<gui::TMemoryStream> pendingImageStream;

// The screen DC lives for this scope only, also when a step fails.
class ScreenDc {
 public:
  ScreenDc() : dc_(win::CreateIC("DISPLAY", nullptr, nullptr, nullptr)) {}
  ~ScreenDc() { win::DeleteDC(dc_); }
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
  if (ScreenColorDepth == 8 && BuildDefaultPalette8) DisplayPalette = BuildDefaultPalette8(screen.get());
  PaletteRGBFlag = ScreenColorDepth <= 8 ? kPaletteRgbFlag : 0;
}

void DeleteBitmap(win::HBITMAP& bitmap) {
  if (bitmap != 0) win::DeleteObject(bitmap);
  bitmap = 0;
}

}  // namespace

void InitializeEngineUnit() {
  if (startupCount++ != 0) return;
  ReadDisplayValues();
  IsWin95 = win::IsWin95();
  IsWin9x = win::IsWin9x();
  WaitingPicture = LoadEngineBitmap(kWaitingPictureResource);
  ErrorPicture = LoadEngineBitmap(kErrorPictureResource);
  ErrorPictureMask = LoadEngineBitmap(kErrorMaskResource);
  pendingImageStream = std::make_unique<gui::TMemoryStream>();
  PendingImageStream = pendingImageStream.get();
  BuildEntityList();
}

void FinalizeEngineUnit() {
  if (startupCount == 0 || --startupCount != 0) return;
  DeleteBitmap(WaitingPicture);
  DeleteBitmap(ErrorPicture);
  DeleteBitmap(ErrorPictureMask);
  if (DisplayPalette != 0) win::DeleteObject(DisplayPalette);
  DisplayPalette = 0;
  PendingImageStream = nullptr;
  pendingImageStream.reset();
}

}  // namespace engine
