#pragma once
// Coalesced repaints. A control's Repaint invalidates its window and paints
// it at once; a load that repaints the viewer, its frame, the frame set and
// the frame viewer in turn would paint the same pixels several times. While
// an UpdateBatch is open, Update only notes the window; Flush then paints
// the noted windows once, after every invalidation made in between, as a
// message loop would.
#include <vector>

#include "platform/win/Types.h"

namespace gui {

class UpdateBatch {
 public:
  UpdateBatch();
  // A batch closed without Flush (an error left it) paints nothing: the
  // invalidated windows wait for the message loop.
  ~UpdateBatch();
  UpdateBatch(const UpdateBatch&) = delete;
  UpdateBatch& operator=(const UpdateBatch&) = delete;

  // Paints the windows noted so far, each window with its descendants once;
  // a batch inside another leaves that to the outermost one.
  void Flush();

  // True, with the window noted, when a batch is open and not painting.
  static bool Defer(win::HWND Window);
};

}  // namespace gui
