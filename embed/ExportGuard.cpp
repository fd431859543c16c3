#include "embed/ExportGuard.h"

#include "platform/gui/Exception.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/user/MessageBoxes.h"

namespace embed {
namespace {

int exportDepth = 0;

std::string MessageOf(std::exception_ptr Error) {
  try {
    std::rethrow_exception(Error);
  } catch (const gui::Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown error";
  }
}

}  // namespace

void ShowWarningBox(const std::string& Caption, const std::string& Text) {
  const std::u16string text = win::multiByteToWide(win::CP_ACP, Text);
  const std::u16string caption = win::multiByteToWide(win::CP_ACP, Caption);
  win::MessageBoxW(0, text.c_str(), caption.c_str(), win::MB_ICONWARNING);
}

void ReportError(const std::string& Name, std::exception_ptr Error) {
  ShowWarningBox("Error in " + Name, MessageOf(Error));
}

TExportScope::TExportScope() { ++exportDepth; }
TExportScope::~TExportScope() { --exportDepth; }
int TExportScope::Depth() { return exportDepth; }

}  // namespace embed
