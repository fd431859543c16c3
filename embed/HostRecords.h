#pragma once
// The records posted to the host with link clicks and hovering. Each kind
// has a ring of records, so a message still queued keeps its own record
// until PAGEWELL_RECORD_RING more of its kind have been posted.
#include <cstddef>
#include <string>

#include "embed/include/pagewell.h"

namespace embed {

HotSpotClickRecord& NextClickRecord();
HotSpotNotifyRecord& NextNotifyRecord();

// Copies at most PAGEWELL_MAX_TEXT characters of Text into Field, padded with NULs.
template <std::size_t N>
void CopyRecordText(char (&Field)[N], const std::string& Text) {
  static_assert(N > PAGEWELL_MAX_TEXT);
  const std::size_t count = Text.size() < PAGEWELL_MAX_TEXT ? Text.size() : PAGEWELL_MAX_TEXT;
  std::size_t i = 0;
  for (; i < count; ++i) Field[i] = Text[i];
  for (; i < N; ++i) Field[i] = '\0';
}

}  // namespace embed
