#include "engine/common/Cursors.h"

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/TScreen.h"
#include "platform/win/user/Cursors.h"

namespace engine {
namespace {

constexpr int kCursorSize = 32;
constexpr std::size_t kDesignRows = 16;

// The upper-left 16 x 16 pixels of a 32 x 32 cursor; the rest is transparent.
// "." transparent, "X" black, "o" white.
struct CursorDesign {
  int hotX;
  int hotY;
  std::array<std::string_view, kDesignRows> rows;
};

constexpr CursorDesign kHand = {5, 0, {{
    ".....XX.........", "....XooX........", "....XooX........", "....XooX........",
    "....XooXXX......", "....XooXooXXX...", "....XooXooXooXX.", ".XX.XooXooXooXoX",
    "XooXXooooooooXoX", "XoooXooooooooooX", ".XooXooooooooooX", "..XoXooooooooooX",
    "..XooooooooooooX", "...XooooooooooX.", "....XooooooooX..", "....XXXXXXXXXX..",
}}};

constexpr CursorDesign kUpDown = {7, 7, {{
    ".......X........", "......XoX.......", ".....XoooX......", "....XoooooX.....",
    "...XXXXoXXXX....", "......XoX.......", "......XoX.......", "......XoX.......",
    "......XoX.......", "......XoX.......", "...XXXXoXXXX....", "....XoooooX.....",
    ".....XoooX......", "......XoX.......", ".......X........", "................",
}}};

constexpr CursorDesign kUpOnly = {7, 7, {{
    ".......X........", "......XoX.......", ".....XoooX......", "....XoooooX.....",
    "...XoooooooX....", "..XXXXXoXXXXX...", "......XoX.......", "......XoX.......",
    "......XoX.......", "......XoX.......", "......XoX.......", "......XoX.......",
    "......XXX.......", "................", "................", "................",
}}};

constexpr CursorDesign kDownOnly = {7, 7, {{
    "................", "................", "................", "......XXX.......",
    "......XoX.......", "......XoX.......", "......XoX.......", "......XoX.......",
    "......XoX.......", "......XoX.......", "..XXXXXoXXXXX...", "...XoooooooX....",
    "....XoooooX.....", ".....XoooX......", "......XoX.......", ".......X........",
}}};

std::map<int, win::HCURSOR>& CursorTable() {
  static std::map<int, win::HCURSOR> table;
  return table;
}

// AND and XOR planes with rows padded to 16 bits (4 bytes for 32 pixels).
win::HCURSOR MakeCursor(win::HINSTANCE module, const CursorDesign& design) {
  constexpr std::size_t rowBytes = kCursorSize / 8;
  std::vector<win::BYTE> andPlane(rowBytes * kCursorSize, 0xFF);
  std::vector<win::BYTE> xorPlane(rowBytes * kCursorSize, 0x00);
  for (std::size_t y = 0; y < design.rows.size(); ++y) {
    for (std::size_t x = 0; x < design.rows[y].size(); ++x) {
      const char pixel = design.rows[y][x];
      if (pixel == '.') continue;
      const auto bit = static_cast<win::BYTE>(0x80 >> (x % 8));
      andPlane[y * rowBytes + x / 8] &= static_cast<win::BYTE>(~bit);
      if (pixel == 'o') xorPlane[y * rowBytes + x / 8] |= bit;
    }
  }
  return win::CreateCursor(module, design.hotX, design.hotY, kCursorSize, kCursorSize, andPlane.data(),
                           xorPlane.data());
}

}  // namespace

void RegisterCursorResources(win::HINSTANCE module) {
  win::registerCursorResource(module, "#" + std::to_string(kLinkCursorResource), MakeCursor(module, kHand));
  win::registerCursorResource(module, kUpDownCursorName, MakeCursor(module, kUpDown));
  win::registerCursorResource(module, kUpOnlyCursorName, MakeCursor(module, kUpOnly));
  win::registerCursorResource(module, kDownOnlyCursorName, MakeCursor(module, kDownOnly));
}

void LoadEngineCursors(win::HINSTANCE module) {
  std::map<int, win::HCURSOR>& table = CursorTable();
  table[kLinkCursor] = win::LoadCursorA(module, kLinkCursorResource);
  table[kUpDownCursor] = win::LoadCursorA(module, kUpDownCursorName);
  table[kUpOnlyCursor] = win::LoadCursorA(module, kUpOnlyCursorName);
  table[kDownOnlyCursor] = win::LoadCursorA(module, kDownOnlyCursorName);
  // The viewer sets its cursors by number through the screen's table.
  // NOTE: shutdown leaves them there: it may run after the screen object is
  // gone, and the cursors themselves stay valid.
  for (const auto& [number, cursor] : table) gui::Screen->SetCursors(number, cursor);
}

win::HCURSOR EngineCursor(int cursorNumber) {
  const auto found = CursorTable().find(cursorNumber);
  return found == CursorTable().end() ? 0 : found->second;
}

void ClearEngineCursors() { CursorTable().clear(); }

}  // namespace engine
