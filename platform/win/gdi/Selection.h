#pragma once
// Bookkeeping for objects selected into device contexts: selection counts
// (so selected objects cannot be deleted) and the bitmap a memory DC draws on.
#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"

namespace win {

void retainSelection(HGDIOBJ object);
void releaseSelection(HGDIOBJ object);

// Makes `bitmap` the memory DC's surface; FALSE when the bitmap is not live or
// is selected into another DC.
BOOL selectBitmap(DeviceContext& dc, HBITMAP bitmap);

// Takes a restored state into use: stale handles fall back to the defaults,
// selection counts follow. `previous` is the state being replaced.
void adoptState(DeviceContext& dc, DcState restored);

// Releases everything the DC holds; called when the DC dies.
void releaseAllSelections(DeviceContext& dc);

}  // namespace win
