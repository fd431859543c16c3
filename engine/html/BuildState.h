#pragma once
// The document builder's unit-wide state beside the lexer's parse state:
// where finished sections go, the open section, the link being read, the
// current form, the head's title and base, the handlers and the counters that
// keep hostile nesting bounded. One parse runs at a time; a parse started
// from inside a handler parks this state (see TNestedParseGuard).
#include <array>
#include <memory>
#include <string>

#include "engine/html/ElementProperties.h"
#include "engine/html/ParseEvents.h"
#include "engine/html/TParseViewer.h"
#include "engine/html/TUrlTarget.h"

namespace gui {
class TObject;
}

namespace engine {

class TStyleList;
class TSectionList;
class TCellBasic;
class TSection;
class TBlock;

// What the head of a document gave; the viewer reads it after the parse.
struct TDocumentHead {
  std::u16string Title;
  std::string Base;
  std::string BaseTarget;
};

struct TBuildState {
  TBuildState();
  ~TBuildState();
  TBuildState(TBuildState&&) noexcept;
  TBuildState& operator=(TBuildState&&) noexcept;

  TParseViewer* Viewer = nullptr;  // never null during a parse
  TStyleList* Styles = nullptr;    // the root's style sheet
  TSectionList* Root = nullptr;
  TCellBasic* CurrentCell = nullptr;         // receives finished sections
  std::unique_ptr<TSection> CurrentSection;  // the open section, not yet in a cell
  TBlock* BodyBlock = nullptr;
  void* CurrentForm = nullptr;  // the form being filled (forms area), or none
  int ListLevel = 0;
  bool BodySeen = false;  // a second BODY is ignored
  bool DocumentParse = false;      // a document root is being filled (not a frameset)
  TElementStack Elements;

  TUrlTarget LinkTarget;
  bool InLink = false;
  TDocumentHead Head;
  int BaseFontSize = 3;
  int TableNesting = 0;
  int BlockNesting = 0;  // recursing block readers now open
  // Block starts beyond the nesting cap, per end symbol: their end tags are skipped too.
  std::array<int, 256> RefusedBlockEnds{};
  bool NoWrap = false;
  bool Utf8 = false;               // found by the byte-order mark
  bool JapaneseConverted = false;  // ISO-2022-JP or EUC-JP turned into Shift_JIS already

  // Font sizes in points for FONT SIZE 1..7, scaled for this parse from the
  // root's default size.
  std::array<double, 7> FontSizes{};
  std::array<double, 7> PreFontSizes{};

  TLinkType OnLink;
  TMetaType OnMeta;
  TSoundType OnSoundRequest;
  TScriptEvent OnScript;
};

extern TBuildState buildState;

// Recursing block readers beyond this depth are read as unknown tags.
constexpr int kMaxBlockNesting = 200;

// Stands in for the viewer of a root that has none.
TParseViewer& NoViewer();
// The sender handed to the parse's handlers.
gui::TObject* ParseSender();

}  // namespace engine
