#pragma once
// TFrameViewerBase: the window control a frameset document is handed to. The
// frameset reader calls its four building operations for each FRAMESET and
// FRAME it meets; the frame viewer implements them with its own panels.
#include <string>

#include "engine/html/ParseEvents.h"
#include "engine/html/ParseState.h"
#include "platform/gui/TWinControl.h"

namespace engine {

class TAttributeList;

// What the reader knows of a frame set: nothing. The frame viewer's set panels
// derive from it, so the reader can pass them back without knowing them.
class TFrameSetNode {
 public:
  virtual ~TFrameSetNode() = default;
};

class TFrameViewerBase : public gui::TWinControl {
 public:
  explicit TFrameViewerBase(gui::TComponent* AOwner) : gui::TWinControl(AOwner) {}

  // The attribute list belongs to the reader and is valid only during the call.
  virtual void InsertFrame(TFrameSetNode* Set, const TAttributeList& Attributes, const std::string& Path) = 0;
  // A nested FRAMESET: the new child set, which the reader then fills.
  virtual TFrameSetNode* InsertFrameSet(TFrameSetNode* Set) = 0;
  virtual void ApplyFrameSetAttributes(TFrameSetNode* Set, const TAttributeList& Attributes) = 0;
  // Runs once for every set entered, also when reading ends early.
  virtual void FinishFrameSet(TFrameSetNode* Set) = 0;

  // Installed into the reader while it reads a frameset document.
  TIncludeType OnInclude;
  TSoundType OnSoundRequest;
  TScriptEvent OnScript;
  TLinkType OnLink;

 protected:
  // The frames cover the whole area; erasing would only flicker.
  bool EraseBackground(win::HDC) override { return true; }
};

}  // namespace engine
