#include "platform/gui/TPrinter.h"

#include <algorithm>
#include <cstring>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/kernel/Memory.h"

namespace gui {
namespace {

// A fresh device-mode block naming `device`.
win::HGLOBAL NewDeviceMode(const std::string& device) {
  const win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE | win::GMEM_ZEROINIT, sizeof(win::DEVMODE));
  if (!block) return 0;
  auto* mode = static_cast<win::DEVMODE*>(win::GlobalLock(block));
  *mode = win::DEVMODE{};
  const std::size_t length = std::min(device.size(), sizeof mode->dmDeviceName - 1);
  std::memcpy(mode->dmDeviceName, device.data(), length);
  win::GlobalUnlock(block);
  return block;
}

win::HGLOBAL CopyBlock(win::HGLOBAL source) {
  const std::size_t size = win::GlobalSize(source);
  if (size == 0) return 0;
  const win::HGLOBAL copy = win::GlobalAlloc(win::GMEM_MOVEABLE | win::GMEM_ZEROINIT, size);
  if (!copy) return 0;
  std::memcpy(win::GlobalLock(copy), win::GlobalLock(source), size);
  win::GlobalUnlock(source);
  win::GlobalUnlock(copy);
  return copy;
}

}  // namespace

TPrinter::TPrinter() : device_(win::virtualPrinter().deviceName), deviceMode_(NewDeviceMode(device_)) {}

TPrinter::~TPrinter() {
  FreeHandle();
  if (deviceMode_) win::GlobalFree(deviceMode_);
}

void TPrinter::GetPrinter(std::string& Device, std::string& Driver, std::string& Port, win::HGLOBAL& DeviceMode) {
  Device = device_;
  Driver = driver_;
  Port = port_;
  DeviceMode = deviceMode_;
}

void TPrinter::SetPrinter(const std::string& Device, const std::string& Driver, const std::string& Port,
                          win::HGLOBAL DeviceMode) {
  FreeHandle();
  device_ = Device;
  driver_ = Driver;
  port_ = Port;
  if (deviceMode_) win::GlobalFree(deviceMode_);
  deviceMode_ = DeviceMode ? CopyBlock(DeviceMode) : NewDeviceMode(Device);
}

win::HDC TPrinter::Handle() {
  if (handle_) return handle_;
  const void* mode = deviceMode_ ? win::GlobalLock(deviceMode_) : nullptr;
  handle_ = win::CreateIC(driver_.c_str(), device_.c_str(), port_.c_str(), mode);
  if (deviceMode_) win::GlobalUnlock(deviceMode_);
  // CreateIC answers the screen for an empty name; only a printer will do here.
  if (handle_ && win::GetDeviceCaps(handle_, win::TECHNOLOGY) != win::DT_RASPRINTER) FreeHandle();
  if (!handle_) throw EPrinter(kPrinterNotValid);
  return handle_;
}

int TPrinter::PageWidth() { return win::GetDeviceCaps(Handle(), win::HORZRES); }

int TPrinter::PageHeight() { return win::GetDeviceCaps(Handle(), win::VERTRES); }

void TPrinter::FreeHandle() {
  if (handle_) win::DeleteDC(handle_);
  handle_ = 0;
}

TPrinter* Printer() {
  // Never freed: the drawing objects it holds may be gone at static destruction.
  static TPrinter* printer = new TPrinter;
  return printer;
}

}  // namespace gui
