#pragma once
// The Windows face names that pages ask for, and the names Windows substitutes
// for others (its FontSubstitutes table), each with the installed face that
// draws it here. A face name is one Windows enumerates; a substitute name is
// only an alias of one.
#include <string>
#include <string_view>
#include <vector>

namespace win {

struct WindowsFace {
  const char* name;
  const char* face;     // the Windows face the name stands for (itself for a face name)
  const char* drawnBy;  // the family that draws it here
};

// The entry for a name (compared without regard to case), or null.
const WindowsFace* windowsFaceNamed(std::string_view name);

// Whether the entry is a face of its own rather than a substitute.
inline bool isFaceName(const WindowsFace& entry) { return std::string_view(entry.name) == entry.face; }

// Every face name (no substitutes), in table order.
std::vector<const WindowsFace*> windowsFaceNames();

}  // namespace win
