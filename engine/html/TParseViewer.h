#pragma once
// What the parser reads from the viewer that owns the document being parsed:
// its code-page field, its margins, its stream request, its document-name
// expansion and its object-tag handler. The HTML viewer implements it; a
// parse without a viewer uses TParseViewer's own defaults.
#include <memory>
#include <string>

namespace gui {
class TObject;
class TStream;
class TStringList;
}  // namespace gui

namespace engine {

class TPanelObj;

class TParseViewer {
 public:
  virtual ~TParseViewer() = default;

  // The control handed to the parse's handlers as their sender.
  virtual gui::TObject* Sender() { return nullptr; }
  // The viewer's code-page field, written when the document's code page is known.
  virtual void SetCodePage(int /*codePage*/) {}
  virtual int MarginWidth() const { return 10; }
  virtual int MarginHeight() const { return 5; }

  // OnhtStreamRequest: whether one is assigned, and the stream it answers for
  // a URL (nullptr: none; the viewer keeps ownership).
  virtual bool HasStreamRequest() const { return false; }
  virtual gui::TStream* StreamRequest(const std::string& /*url*/) { return nullptr; }
  // A linked name made into a file name against the current document.
  virtual std::string ExpandDocumentName(const std::string& name) { return name; }
  // False for the stand-in without a viewer: linked sheets are then not fetched.
  virtual bool CanFetchFiles() const { return true; }

  // OnObjectTag: whether one is assigned, and the call. The attribute and
  // parameter lists belong to the parser and live only during the call.
  virtual bool HasObjectTag() const { return false; }
  virtual void ObjectTag(TPanelObj* /*panel*/, const gui::TStringList& /*attributes*/,
                         const gui::TStringList& /*params*/, bool& /*wantPanel*/) {}
};

// The defaults of a parse with no viewer: margins 10 and 5, no fetching.
class TNoViewer : public TParseViewer {
 public:
  bool CanFetchFiles() const override { return false; }
};

}  // namespace engine
