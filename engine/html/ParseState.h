#pragma once
// The parser's state. It is unit-wide: one parse runs at a time, on the
// window thread. This holds what the lexer reads and writes; the parse entry
// sets it up before a parse and tears it down after.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/html/TAttributeList.h"
#include "engine/html/HtmlSymbols.h"
#include "engine/css/TPropStack.h"
#include "engine/html/TokenBuffers.h"

namespace gui {
class TObject;
class TStringList;
}

namespace engine {

enum class TInputMode : std::uint8_t { Document = 1, Include = 2 };
enum class TLineEnd : std::uint8_t { None = 0, AfterCr = 1, AfterLf = 2 };

// A server-side include: the handler sets includedText (it starts empty) to
// the markup that replaces the include; params holds "name=value" lines and
// becomes the handler's.
using TIncludeType = std::function<void(gui::TObject* sender, const std::string& command,
                                        std::unique_ptr<gui::TStringList> params, std::string& includedText)>;

// Limits on nested server-side includes.
constexpr std::size_t kMaxIncludeDepth = 16;

// One include whose text is still being read. It ends when fewer than
// restAfter bytes are left in the include buffer.
struct TOpenInclude {
  std::size_t restAfter;
  std::string key;  // command and parameters
};

// Where reading stands in the document: what SetDocumentText starts afresh.
struct TReadingState {
  // Current character after line-end and tab folding (0: end of input) and its
  // ASCII upper-case form, on which all name tests run.
  unsigned char Ch = 0;
  unsigned char UpperCh = 0;
  THtmlSymbol Symbol = symEndOfInput;
  int HeadingLevel = 0;
  int TagStartPosition = 0;
  // Document bytes read so far, less one: the position of the current byte.
  // Bytes of included text do not count.
  int SourcePosition = -1;
  bool InComment = false;
  TLineEnd LastLineEnd = TLineEnd::None;
  bool RawMode = false;       // "<" never starts a comment or a "<%" construct
  bool CountingPass = false;  // no text stored, no progress, no ids registered
  TInputMode InputMode = TInputMode::Document;

  std::string DocumentText;
  std::size_t DocumentPosition = 0;

  std::string IncludeText;
  std::size_t IncludePosition = 0;
  TInputMode IncludeReturnMode = TInputMode::Document;
  std::vector<TOpenInclude> OpenIncludes;
};

// The reading state with the token buffers, the attribute and property
// stacks, and the handlers and hooks that outlive one document. Every field's
// fresh value is its initialiser. A field added here goes into
// SwapParseStates too: that one list serves resets and nested parses alike.
struct TParseState : TReadingState {
  std::unique_ptr<TokenObj> Token = std::make_unique<TokenObj>();
  TCharCollection TextBytes;  // bytes of the text run being read
  std::string RawTokenText;   // what the raw-content reader read last
  TAttributeList Attributes;
  TPropStack PropStack;

  TIncludeType OnInclude;
  gui::TObject* Sender = nullptr;

  // Hooks to the document root, set by the parse entry while a root exists.
  // ReportProgress receives the percentage of the root's progress share.
  int ProgressShare = 0;
  std::function<void(int percent)> ReportProgress;
  std::function<void(const std::string& id, int position)> RegisterIdAnchor;
};

extern TParseState parseState;

// Code page of the innermost open element's text (0, the system's, without
// any). Inline: every text run and attribute asks it.
inline int CurrentCodePage() {
  const TProperties* top = parseState.PropStack.Last();
  return top ? top->CodePage : 0;
}

// Starts reading a document: position -1, document input, no include, the
// flags and line-end memory cleared. Handlers and hooks stay.
void SetDocumentText(std::string text);

// Gives the document's memory back at the end of a parse (assigning an empty
// string would keep the buffer).
void ReleaseDocumentText();

// Back to the state of a fresh start (tests and the end of a parse).
void ResetParseState();

// Exchanges every field of two parse states.
void SwapParseStates(TParseState& a, TParseState& b);

}  // namespace engine
