#pragma once
// What one input of a viewer fuzz target leaves in the engine's unit-wide state,
// let go at the end of the input.
//
// libFuzzer counts the mallocs and frees of each input; where there are more
// mallocs it runs the input again, and scans the heap for a leak when the counts
// still disagree. The parser's buffers and what the engine remembers per thread
// of recent values (box arrays and their converted values, element and run
// fonts) are sized by the input that filled them: kept, they made about half of
// the inputs look like leaks, each costing one or two more runs. Let go, each
// input frees what it allocated, and every input starts from the same state.
#include "engine/css/TMyFont.h"
#include "engine/css/TSharedMarginArray.h"
#include "engine/document/BoxValuesMemo.h"
#include "engine/html/ParseState.h"
#include "engine/text/TFontObj.h"

inline void ForgetWhatTheInputLeft() {
  engine::ResetParseState();
  engine::TSharedMarginArray::ForgetRecentArrays();
  engine::ForgetBoxValues();
  engine::ForgetRecentElementFonts();
  engine::ForgetRecentRunFonts();
}
