#include "engine/html/FramesetReader.h"

#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/css/TProperties.h"
#include "engine/html/Charsets.h"
#include "engine/html/HeadElements.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/InputPreparation.h"
#include "engine/html/SpecialReaders.h"
#include "engine/html/TFrameViewerBase.h"
#include "engine/html/TNestedParseGuard.h"
#include "engine/html/TSymbolSet.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TStringList.h"
#include "platform/gui/WholeFile.h"

namespace engine {
namespace {

// Elements that only a body holds: a document meeting one first is no frameset.
const TSymbolSet kBodyStarts{symBody, symP,          symH,          symHr,  symOl,  symUl,    symDir, symMenu,
                             symDl,   symAddress,    symBlockquote, symPre, symImg, symTable, symForm};

std::string DocumentText(bool fromString, const std::string& fileName, const std::string& source) {
  if (fromString) return source;
  gui::TStringList lines;
  lines.LoadFromFile(fileName, gui::TFileKind::Page);
  return lines.Text();
}

// Hands the frame viewer to the handlers as their sender.
class TFrameParseViewer : public TParseViewer {
 public:
  explicit TFrameParseViewer(gui::TObject* sender) : sender_(sender) {}
  gui::TObject* Sender() override { return sender_; }
  bool CanFetchFiles() const override { return false; }

 private:
  gui::TObject* sender_;
};

// Set-up and cleanup of one frameset read; the cleanup also runs when the
// read ends by an exception.
class TFramesetSession {
 public:
  TFramesetSession(std::string text, TParseViewer& viewer) {
    if (TNestedParseGuard::Depth() <= 1) ResetParseState();
    buildState = TBuildState();
    buildState.Viewer = &viewer;
    auto bottom = std::make_unique<TProperties>();
    ReplaceZeroBytes(text);
    if (HasIso2022JpEscapes(text)) {
      text = ConvertIso2022JpToShiftJis(text);
      buildState.JapaneseConverted = true;
      bottom->SetCharset(kCharsetShiftJis);
    }
    parseState.PropStack.Clear();
    parseState.PropStack.Add(std::move(bottom));
    SetDocumentText(std::move(text));
    parseState.Sender = viewer.Sender();
  }
  ~TFramesetSession() {
    parseState.Attributes.Clear();
    parseState.PropStack.Clear();
    ReleaseDocumentText();
    parseState.OnInclude = nullptr;
    parseState.Sender = nullptr;
    buildState = TBuildState();
  }
  TFramesetSession(const TFramesetSession&) = delete;
  TFramesetSession& operator=(const TFramesetSession&) = delete;
};

// Skips NOFRAMES content: leaves with its end tag (or the end) current.
void SkipNoFrames() {
  NextSymbol();
  while (parseState.Symbol != symNoframesEnd && parseState.Symbol != symEndOfInput) NextSymbol();
}

class TFramesetWalker {
 public:
  TFramesetWalker(TFrameViewerBase& frameViewer, const std::string& fileName)
      : frameViewer_(frameViewer), fileName_(fileName) {}

  // Entered at the FRAMESET start; leaves at its end tag or the end of input.
  void Walk(TFrameSetNode* set, int depth);

 private:
  // Finishes the set also when reading leaves it by an exception.
  class TFinishGuard {
   public:
    TFinishGuard(TFrameViewerBase& frameViewer, TFrameSetNode* set) : frameViewer_(frameViewer), set_(set) {}
    ~TFinishGuard() {
      if (done_) return;
      try {
        frameViewer_.FinishFrameSet(set_);
      } catch (const std::exception&) {
        // Already unwinding from the reader's own failure.
      }
    }
    TFinishGuard(const TFinishGuard&) = delete;
    TFinishGuard& operator=(const TFinishGuard&) = delete;
    void Finish() {
      done_ = true;
      frameViewer_.FinishFrameSet(set_);
    }

   private:
    TFrameViewerBase& frameViewer_;
    TFrameSetNode* set_;
    bool done_ = false;
  };

  void ReadChild(TFrameSetNode* set, int depth, int& children, int& refused);

  TFrameViewerBase& frameViewer_;
  const std::string& fileName_;
};

void TFramesetWalker::Walk(TFrameSetNode* set, int depth) {
  TFinishGuard guard(frameViewer_, set);
  frameViewer_.ApplyFrameSetAttributes(set, parseState.Attributes);
  NextSymbol();
  int children = 0;
  int refused = 0;  // FRAMESET starts too deep to make: their end tags are not ours
  while (parseState.Symbol != symEndOfInput) {
    if (parseState.Symbol == symFramesetEnd) {
      if (refused == 0) break;
      --refused;
    } else {
      ReadChild(set, depth, children, refused);
    }
    NextSymbol();
  }
  guard.Finish();
}

void TFramesetWalker::ReadChild(TFrameSetNode* set, int depth, int& children, int& refused) {
  switch (parseState.Symbol) {
    case symFrameset:
      if (depth + 1 >= kMaxFrameSetNesting || children >= kMaxFrameSetChildren) {
        ++refused;
      } else {
        ++children;
        Walk(frameViewer_.InsertFrameSet(set), depth + 1);
      }
      break;
    case symFrame:
      if (children < kMaxFrameSetChildren) {
        ++children;
        frameViewer_.InsertFrame(set, parseState.Attributes, fileName_);
      }
      break;
    case symNoframes:
      SkipNoFrames();
      break;
    case symScript:
      ParseScript(frameViewer_.OnScript);
      break;
    default:
      break;
  }
}

}  // namespace

namespace {

// The first bytes of a file read for the frameset check; most heads end well
// within them. A larger head is read again with four times the limit.
constexpr std::size_t kFileHeadBytes = 64 * 1024;

// The verdict on text: true or false when reached, nothing when the check
// ran into the end of text that is not the whole document.
std::optional<bool> FramesetVerdict(std::string text, bool whole) {
  TNestedParseGuard nested;
  TNoViewer viewer;
  const std::size_t size = text.size();
  TFramesetSession session(std::move(text), viewer);
  // The lexer reads forward only, so a verdict reached before the end of a
  // head is the one the whole document gives.
  const auto reached = [&](bool verdict) -> std::optional<bool> {
    if (whole || parseState.DocumentPosition < size) return verdict;
    return std::nullopt;
  };
  try {
    NextCharSkippingMarkup();
    NextSymbol();
    while (parseState.Symbol != symEndOfInput) {
      if (parseState.Symbol == symFrameset) return reached(true);
      if (kBodyStarts.Has(parseState.Symbol)) return reached(false);
      if (parseState.Symbol == symScript) ParseScript(TScriptEvent());
      NextSymbol();
    }
  } catch (const std::exception&) {
    // Unreadable markup is no frameset.
    return reached(false);
  }
  return reached(false);
}

// The head of a file as the whole file's text starts: the complete lines
// among its first limit bytes, with line breaks as a string list writes them.
// whole tells whether that is the entire file.
std::string FileHeadText(const std::string& fileName, std::size_t limit, bool& whole) {
  std::vector<std::uint8_t> bytes;
  if (!gui::ReadFileHead(fileName, limit, bytes, whole, gui::TFileKind::Page)) {
    throw gui::EFOpenError("Cannot open file \"" + fileName + "\"");
  }
  std::string_view head(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!whole) head = head.substr(0, head.rfind('\n') + 1);  // npos + 1 is 0: no complete line
  gui::TStringList lines;
  lines.SetText(head);
  return lines.Text();
}

}  // namespace

bool IsFramesetSource(bool fromString, const std::string& fileName, const std::string& source) {
  if (fromString) return !source.empty() && FramesetVerdict(source, true).value_or(false);
  for (std::size_t limit = kFileHeadBytes;; limit *= 4) {
    bool whole = false;
    std::string text = FileHeadText(fileName, limit, whole);
    if (const std::optional<bool> verdict = FramesetVerdict(std::move(text), whole)) return *verdict;
  }
}

TDocumentHead ParseFramesetSource(TFrameViewerBase& frameViewer, TFrameSetNode* frameSet, bool fromString,
                                  const TMetaType& onMeta, const std::string& fileName, const std::string& source) {
  TDocumentHead head;
  if (fromString && source.empty()) return head;
  std::string text = DocumentText(fromString, fileName, source);
  TNestedParseGuard nested;
  TFrameParseViewer viewer(&frameViewer);
  TFramesetSession session(std::move(text), viewer);
  parseState.OnInclude = frameViewer.OnInclude;
  buildState.OnLink = frameViewer.OnLink;
  buildState.OnSoundRequest = frameViewer.OnSoundRequest;
  buildState.OnScript = frameViewer.OnScript;
  buildState.OnMeta = onMeta;
  TFramesetWalker walker(frameViewer, fileName);
  bool walked = false;  // a second top-level FRAMESET would refill the same set
  try {
    NextCharSkippingMarkup();
    NextSymbol();
    while (parseState.Symbol != symEndOfInput && !kBodyStarts.Has(parseState.Symbol)) {
      switch (parseState.Symbol) {
        case symTitle: ReadTitle(); break;
        case symBase: ReadBase(); break;
        case symFrameset:
          if (!walked) {
            walked = true;
            walker.Walk(frameSet, 0);
          }
          NextSymbol();
          break;
        case symNoframes:
          SkipNoFrames();
          NextSymbol();
          break;
        case symScript:
          ParseScript(frameViewer.OnScript);
          NextSymbol();
          break;
        case symBgsound: ReadBgSound(); break;
        case symMeta: ParseMetaElement(); break;
        default: NextSymbol(); break;
      }
    }
  } catch (const std::exception&) {
    // Frames handed over so far stand.
  }
  head = buildState.Head;
  return head;
}

}  // namespace engine
