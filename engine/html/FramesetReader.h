#pragma once
// Tells frameset documents apart and walks their FRAMESET, FRAME and NOFRAMES
// elements into a frame viewer. Text comes from source when fromString is
// set, else from the file fileName (a file that cannot be read raises
// gui::EFOpenError to the caller).
#include <string>

#include "engine/html/BuildState.h"
#include "engine/html/ParseEvents.h"

namespace engine {

class TFrameSetNode;
class TFrameViewerBase;

// FRAMESET sets nested deeper than this are not made; their frames go to the
// innermost set that was made.
constexpr int kMaxFrameSetNesting = 8;
// A set holds at most this many children (frames and nested sets).
constexpr int kMaxFrameSetChildren = 20;

// True when a FRAMESET comes before any element that starts a body.
bool IsFramesetSource(bool fromString, const std::string& fileName, const std::string& source);

// Reads the head and the first FRAMESET into frameSet through frameViewer's
// building operations. A failure while reading ends it quietly: what was
// handed over stands. Returns the head's title and base.
TDocumentHead ParseFramesetSource(TFrameViewerBase& frameViewer, TFrameSetNode* frameSet, bool fromString,
                                  const TMetaType& onMeta, const std::string& fileName, const std::string& source);

}  // namespace engine
