#include "platform/win/text/WindowsFaces.h"

#include <array>
#include <strings.h>

namespace win {
namespace {

constexpr const char* kSerif = "Liberation Serif";
constexpr const char* kSans = "Liberation Sans";
constexpr const char* kNarrow = "Liberation Sans Narrow";
constexpr const char* kMono = "Liberation Mono";

// Times New Roman, Arial, Arial Narrow and Courier New have metric-compatible
// Liberation faces; the others are drawn by the Liberation face of their kind.
constexpr std::array<WindowsFace, 42> kWindowsFaces = {{
    {"Times New Roman", "Times New Roman", kSerif},
    {"Arial", "Arial", kSans},
    {"Courier New", "Courier New", kMono},
    {"Arial Narrow", "Arial Narrow", kNarrow},
    {"Courier", "Courier", kMono},
    {"MS Serif", "MS Serif", kSerif},
    {"MS Sans Serif", "MS Sans Serif", kSans},
    {"Microsoft Sans Serif", "Microsoft Sans Serif", kSans},
    {"Tahoma", "Tahoma", kSans},
    {"Verdana", "Verdana", kSans},
    {"Trebuchet MS", "Trebuchet MS", kSans},
    {"Lucida Sans Unicode", "Lucida Sans Unicode", kSans},
    {"Segoe UI", "Segoe UI", kSans},
    {"Calibri", "Calibri", kSans},
    {"Georgia", "Georgia", kSerif},
    {"Palatino Linotype", "Palatino Linotype", kSerif},
    {"Book Antiqua", "Book Antiqua", kSerif},
    {"Cambria", "Cambria", kSerif},
    {"Lucida Console", "Lucida Console", kMono},
    {"Consolas", "Consolas", kMono},
    // Substitutes.
    {"Helvetica", "Arial", kSans},
    {"Helv", "MS Sans Serif", kSans},
    {"MS Shell Dlg", "Microsoft Sans Serif", kSans},
    {"MS Shell Dlg 2", "Tahoma", kSans},
    {"Times", "Times New Roman", kSerif},
    {"Tms Rmn", "MS Serif", kSerif},
    {"Arabic Transparent", "Arial", kSans},
    {"Arial Baltic", "Arial", kSans},
    {"Arial CE", "Arial", kSans},
    {"Arial CYR", "Arial", kSans},
    {"Arial Greek", "Arial", kSans},
    {"Arial TUR", "Arial", kSans},
    {"Courier New Baltic", "Courier New", kMono},
    {"Courier New CE", "Courier New", kMono},
    {"Courier New CYR", "Courier New", kMono},
    {"Courier New Greek", "Courier New", kMono},
    {"Courier New TUR", "Courier New", kMono},
    {"Times New Roman Baltic", "Times New Roman", kSerif},
    {"Times New Roman CE", "Times New Roman", kSerif},
    {"Times New Roman CYR", "Times New Roman", kSerif},
    {"Times New Roman Greek", "Times New Roman", kSerif},
    {"Times New Roman TUR", "Times New Roman", kSerif},
}};

bool sameName(std::string_view a, const char* b) {
  const std::string_view other(b);
  return a.size() == other.size() && strncasecmp(a.data(), b, a.size()) == 0;
}

}  // namespace

const WindowsFace* windowsFaceNamed(std::string_view name) {
  for (const WindowsFace& entry : kWindowsFaces)
    if (sameName(name, entry.name)) return &entry;
  return nullptr;
}

std::vector<const WindowsFace*> windowsFaceNames() {
  std::vector<const WindowsFace*> names;
  for (const WindowsFace& entry : kWindowsFaces)
    if (isFaceName(entry)) names.push_back(&entry);
  return names;
}

}  // namespace win
