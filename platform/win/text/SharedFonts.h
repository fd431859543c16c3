#pragma once
// Font handles shared by every font description that asks for the same
// LOGFONTW. Text layout switches a canvas between a few fonts thousands of
// times; sharing the handle makes a switch a lookup instead of making, resolving
// and deleting a font object each time.
#include "platform/win/text/FontTypes.h"

namespace win {

// A handle for the description, shared with every other holder of an equal
// one; each call must be paired with releaseSharedFont. 0 when no handle can
// be made.
HFONT acquireSharedFont(const LOGFONTW& logFont);

// Takes one more hold on a handle from acquireSharedFont, for a font that
// shares another's handle; false (and nothing done) for any other handle.
bool holdSharedFont(HGDIOBJ handle);

// Whether handle is a live handle from acquireSharedFont; nothing changes.
bool isSharedFont(HGDIOBJ handle);

// Gives back one hold on a handle from acquireSharedFont; false (and nothing
// done) for any other handle. A handle no one holds is kept for reuse among
// the most recently released few, older ones are deleted.
bool releaseSharedFont(HGDIOBJ handle);

// Deletes every handle no one holds; for tests.
void trimSharedFonts();

}  // namespace win
