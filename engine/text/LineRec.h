#pragma once
// LineRec: one laid-out line of a text section. Start is an index into the
// section's Text (not a pointer), so lines survive changes of the string's storage.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "engine/text/BorderRec.h"

namespace engine {

class LineRec {
 public:
  int Start = 0;        // index of the line's first character in the section text
  int SpaceBefore = 0;  // extra space above the text
  int SpaceAfter = 0;   // extra space below the text
  int LineHt = 0;       // tallest font of the line (spacer lines: the spacer height)
  int DrawHeight = 0;   // what drawing must cover, floats that start on the line included
  int Ln = 0;           // characters in the line (0 for a spacer line)
  int Descent = 0;
  int LineIndent = 0;   // X of the first character relative to the section's X
  int DrawX = 0;        // set by drawing
  int DrawWidth = 0;    // from the left indent to the right edge at the line's Y
  int DrawY = 0;        // top of the line as last drawn
  int Spaces = 0;       // spaces to stretch for full justification (0: none)
  int Extra = 0;        // pixels spread over Spaces
  bool Shy = false;     // the line ends at a soft hyphen: a "-" is drawn after it
  // Set at layout while the document has inline boxes: the next drawing
  // finds and measures the boxes that meet the line (BorderList), at FirstX.
  bool FirstDraw = false;
  int FirstX = 0;
  // Top of the line's band in the document (kept by layout, so that lookups
  // need no drawing first) and its full height.
  int Y = 0;
  // Last, after the flags and ints that share its alignment: 72 bytes a line.
  std::unique_ptr<std::vector<BorderRec>> BorderList;
  // Saturated: hostile line heights must not wrap the sum.
  int Height() const {
    const std::int64_t sum = std::int64_t{LineHt} + SpaceBefore + SpaceAfter;
    return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  }
};

}  // namespace engine
