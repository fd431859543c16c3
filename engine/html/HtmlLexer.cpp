#include "engine/html/HtmlLexer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <string_view>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/common/CodePageText.h"
#include "engine/html/CharacterReferences.h"
#include "engine/html/EParseError.h"
#include "engine/common/TextHelpers.h"
#include "platform/gui/TStringList.h"
#include "platform/win/kernel/Windows1252Codec.h"

namespace engine {
namespace {

constexpr std::size_t kProgressStepBytes = 4096;
constexpr std::size_t kMaxRawTextPiece = 100;

TParseState& state = parseState;

constexpr bool IsDigit(unsigned char ch) { return ch >= '0' && ch <= '9'; }
constexpr bool IsUpperLetter(unsigned char ch) { return ch >= 'A' && ch <= 'Z'; }
// ASCII upper case by table: every character read goes through it.
constexpr std::array<unsigned char, 256> kAsciiUpper = [] {
  std::array<unsigned char, 256> upper{};
  for (int ch = 0; ch < 256; ++ch) upper[static_cast<std::size_t>(ch)] = static_cast<unsigned char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
  return upper;
}();
unsigned char AsciiUpper(unsigned char ch) { return kAsciiUpper[ch]; }

void ReportProgressStep() {
  if (state.CountingPass || !state.ReportProgress || state.DocumentText.empty()) return;
  // 64-bit: share times bytes overflows 32 bits in documents of some megabytes.
  const std::int64_t percent = static_cast<std::int64_t>(state.ProgressShare) *
                               static_cast<std::int64_t>(state.DocumentPosition) /
                               static_cast<std::int64_t>(state.DocumentText.size());
  state.ReportProgress(static_cast<int>(percent));
}

unsigned char ReadIncludeByte() {
  while (state.InputMode == TInputMode::Include) {
    if (state.IncludePosition < state.IncludeText.size()) {
      return static_cast<unsigned char>(state.IncludeText[state.IncludePosition++]);
    }
    state.IncludeText.clear();
    state.IncludePosition = 0;
    state.OpenIncludes.clear();
    state.InputMode = state.IncludeReturnMode;
  }
  return 0;
}

unsigned char ReadByteSlowly() {
  if (state.InputMode != TInputMode::Document) {
    const unsigned char byte = ReadIncludeByte();
    if (state.InputMode == TInputMode::Include) return byte;
  }
  if (state.DocumentPosition >= state.DocumentText.size()) return 0;
  const auto byte = static_cast<unsigned char>(state.DocumentText[state.DocumentPosition++]);
  ++state.SourcePosition;
  if (state.DocumentPosition % kProgressStepBytes == 0) ReportProgressStep();
  return byte;
}

[[gnu::always_inline]] inline unsigned char ReadByte() {
  if (state.InputMode == TInputMode::Document && state.DocumentPosition < state.DocumentText.size() &&
      (state.DocumentPosition + 1) % kProgressStepBytes != 0) {
    ++state.SourcePosition;
    return static_cast<unsigned char>(state.DocumentText[state.DocumentPosition++]);
  }
  return ReadByteSlowly();
}

// Line ends, tabs and the end of input; the caller has read the byte.
void FoldSpecialChar(unsigned char ch) {
  if ((ch == '\n' && state.LastLineEnd == TLineEnd::AfterCr) || (ch == '\r' && state.LastLineEnd == TLineEnd::AfterLf)) {
    ch = ReadByte();  // the second half of a CR LF or LF CR pair
  }
  if (ch == '\n') {
    ch = '\r';
    state.LastLineEnd = TLineEnd::AfterLf;
  } else if (ch == '\r') {
    state.LastLineEnd = TLineEnd::AfterCr;
  } else {
    state.LastLineEnd = TLineEnd::None;
    if (ch == '\t') ch = ' ';
  }
  state.Ch = ch;
  state.UpperCh = AsciiUpper(ch);
  if (ch == 0 && state.InComment) throw EParseError(kOpenCommentMessage);
}

void SkipMarkup();

// NextChar, inlined into this file's readers.
[[gnu::always_inline]] inline void ReadChar() {
  const unsigned char ch = ReadByte();
  if (ch > '\r') {
    state.LastLineEnd = TLineEnd::None;
    state.Ch = ch;
    state.UpperCh = AsciiUpper(ch);
    return;
  }
  FoldSpecialChar(ch);
}

// PeekSourceByte, inlined into this file's readers.
[[gnu::always_inline]] inline unsigned char PeekByte() {
  if (state.InputMode == TInputMode::Include) {
    if (state.IncludePosition < state.IncludeText.size()) {
      return static_cast<unsigned char>(state.IncludeText[state.IncludePosition]);
    }
    if (state.IncludeReturnMode == TInputMode::Include) return 0;
  }
  if (state.DocumentPosition >= state.DocumentText.size()) return 0;
  return static_cast<unsigned char>(state.DocumentText[state.DocumentPosition]);
}

// NextCharSkippingMarkup, inlined into this file's readers: a "<" before
// anything but "!" or "%" (most often a tag) is returned at once.
[[gnu::always_inline]] inline void ReadCharSkippingMarkup() {
  ReadChar();
  if (state.Ch == '<' && !state.RawMode) {
    const unsigned char next = PeekByte();
    if (next == '!' || next == '%') SkipMarkup();
  }
}

[[gnu::always_inline]] inline void SkipBlanksAndMarkup() {
  while (state.Ch == ' ' || state.Ch == '\r') ReadCharSkippingMarkup();
}

}  // namespace

// The character readers, called throughout this file and by the reference
// and element readers.

void NextChar() { ReadChar(); }

void NextCharSkippingMarkup() { ReadCharSkippingMarkup(); }

void SkipBlanks() { SkipBlanksAndMarkup(); }

namespace {

void SkipPlainBlanks() {
  while (state.Ch == ' ' || state.Ch == '\r') NextChar();
}

// "--", optional blanks and line ends, an optional "!" and ">" end a comment.
void SkipComment() {
  for (;;) {
    while (state.UpperCh != '-') NextChar();
    NextChar();
    if (state.Ch != '-') continue;
    while (state.Ch == '-') NextChar();
    SkipPlainBlanks();
    if (state.Ch == '!') NextChar();
    if (state.Ch == '>') break;
  }
  state.InComment = false;
}

void SkipToTagEnd() {
  while (state.Ch != '>') NextChar();
  state.InComment = false;
}

// Skips "<%" up to "%>" (or the end, without error).
void SkipPercentConstruct() {
  for (;;) {
    NextChar();
    if (state.Ch == 0) break;
    if (state.Ch == '%' && PeekSourceByte() == '>') break;
  }
  NextChar();
}

void ExpandServerInclude();

// At a "<" that may open a comment, a "<!" construct or a "<%" construct:
// skips them all, however many follow each other.
void SkipMarkup() {
  while (state.Ch == '<' && !state.RawMode) {
    const unsigned char next = PeekByte();
    if (next == '!') {
      NextChar();  // "!"
      state.InComment = true;
      NextChar();
      bool comment = false;
      if (state.Ch == '-') {
        NextChar();
        if (state.Ch == '-') {
          comment = true;
          NextChar();
        }
      }
      if (!comment) {
        SkipToTagEnd();
      } else if (state.OnInclude && state.Ch == '#') {
        ExpandServerInclude();
      } else {
        SkipComment();
      }
    } else if (next == '%') {
      SkipPercentConstruct();
    } else {
      return;
    }
    NextChar();
  }
}

bool IsIncludeNameChar(unsigned char upper) { return IsDigit(upper) || IsUpperLetter(upper) || upper == '_'; }

std::string ReadIncludeValue() {
  std::string value;
  if (state.Ch == '"' || state.Ch == '\'') {
    const unsigned char quote = state.Ch;
    NextChar();
    while (state.Ch != quote && state.Ch != 0) {
      if (state.Ch == '&') {
        ReadCharacterReferenceText(0, value, TReferenceAdvance::Plain);
        continue;
      }
      value += state.Ch == '\r' ? ' ' : static_cast<char>(state.Ch);
      NextChar();
    }
    if (state.Ch == quote) NextChar();
    return value;
  }
  while (state.Ch != 0 && state.Ch != ' ' && state.Ch != '\r' && state.Ch != '-' && state.Ch != '>') {
    value += static_cast<char>(state.Ch);
    NextChar();
  }
  return value;
}

std::unique_ptr<gui::TStringList> ReadIncludeParameters() {
  auto params = std::make_unique<gui::TStringList>();
  for (;;) {
    SkipPlainBlanks();
    if (!IsUpperLetter(state.UpperCh)) break;
    std::string name;
    while (IsIncludeNameChar(state.UpperCh)) {
      name += static_cast<char>(state.Ch);
      NextChar();
    }
    SkipPlainBlanks();
    std::string value;
    if (state.Ch == '=') {
      NextChar();
      SkipPlainBlanks();
      value = ReadIncludeValue();
    }
    params->Add(name + "=" + value);
  }
  return params;
}

// Whether an include may open here: not too deep, and not inside itself
// (a handler that keeps answering with its own include is stopped).
bool MayOpenInclude(const std::string& key) {
  if (state.InputMode != TInputMode::Include) {
    state.OpenIncludes.clear();
    return true;
  }
  const std::size_t rest = state.IncludeText.size() - state.IncludePosition;
  std::erase_if(state.OpenIncludes, [rest](const TOpenInclude& open) { return rest < open.restAfter; });
  if (state.OpenIncludes.size() >= kMaxIncludeDepth) return false;
  return std::none_of(state.OpenIncludes.begin(), state.OpenIncludes.end(),
                      [&key](const TOpenInclude& open) { return open.key == key; });
}

// At the "#" after "<!--": reads the command and its parameters, skips to the
// comment's end and puts the handler's answer in front of the unread input.
void ExpandServerInclude() {
  std::unique_ptr<TokenObj> outerToken = std::exchange(state.Token, std::make_unique<TokenObj>());
  NextChar();
  std::string command;
  while (IsIncludeNameChar(state.UpperCh)) {
    command += static_cast<char>(state.Ch);
    NextChar();
  }
  std::unique_ptr<gui::TStringList> params = ReadIncludeParameters();
  SkipComment();
  const std::string key = command + "\n" + params->Text();
  if (MayOpenInclude(key)) {
    std::string rest;
    if (state.InputMode == TInputMode::Include) rest = state.IncludeText.substr(state.IncludePosition);
    std::string included;
    state.OnInclude(state.Sender, command, std::move(params), included);
    if (!included.empty()) {
      if (state.InputMode != TInputMode::Include) state.IncludeReturnMode = state.InputMode;
      state.InputMode = TInputMode::Include;
      state.OpenIncludes.push_back({rest.size(), key});
      state.IncludeText = std::move(included) + rest;
      state.IncludePosition = 0;
    }
  }
  state.Token = std::move(outerToken);
}

bool StartsLikeNumber(char lead) { return lead == '+' || lead == '-' || lead == '.' || IsDigit(static_cast<unsigned char>(lead)); }

int TrimmedValueNumber(const std::string& text) {
  std::size_t first = 0;
  while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  if (first == text.size()) return 0;
  if (!StartsLikeNumber(text[first])) return 0;
  return LeadingNumber(text.substr(first));
}

// A quoted value's number: from the trimmed text, when it starts like a
// number. Most values start with a letter, which is told here at once.
[[gnu::always_inline]] inline int QuotedValueNumber(const std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text[0]) > ' ' && !StartsLikeNumber(text[0])) return 0;
  return TrimmedValueNumber(text);
}

void AppendValueChar(std::string& value) {
  value += static_cast<char>(state.Ch);
  ReadCharSkippingMarkup();
}

// Moves over the document bytes that follow the current character up to end,
// as reading them one by one would. The caller takes only bytes above '\r'
// other than "<": none of them is folded or starts markup.
[[gnu::always_inline]] inline void ConsumeDocumentBytes(std::size_t end) {
  const std::size_t start = state.DocumentPosition;
  if (start / kProgressStepBytes == end / kProgressStepBytes) {  // no progress step between them: most runs
    state.DocumentPosition = end;
    state.SourcePosition += static_cast<int>(end - start);
    state.LastLineEnd = TLineEnd::None;
    return;
  }
  for (std::size_t boundary = (start / kProgressStepBytes + 1) * kProgressStepBytes; boundary <= end;
       boundary += kProgressStepBytes) {
    state.DocumentPosition = boundary;
    ReportProgressStep();
  }
  state.DocumentPosition = end;
  state.SourcePosition += static_cast<int>(end - start);
  state.LastLineEnd = TLineEnd::None;
}

// The fast path of every run reader: the document bytes that follow the
// current character up to where scanEnd(text, start, size) says the run ends,
// taken in one piece and moved over exactly as reading them one by one would.
// A run may hold only bytes above '\r' other than "<", which are never folded
// and start no markup. Nothing is taken while an include is read.
template <class ScanEnd>
std::string_view TakeDocumentRun(ScanEnd scanEnd) {
  if (state.InputMode != TInputMode::Document) return {};
  const auto* text = reinterpret_cast<const unsigned char*>(state.DocumentText.data());
  const std::size_t start = state.DocumentPosition;
  const std::size_t end = scanEnd(text, start, state.DocumentText.size());
  if (end == start) return {};
  ConsumeDocumentBytes(end);
  return std::string_view(state.DocumentText.data() + start, end - start);
}

// TakeDocumentRun for runs decided byte by byte.
template <class IsTaken>
std::string_view TakeDocumentBytes(IsTaken isTaken) {
  return TakeDocumentRun([&isTaken](const unsigned char* text, std::size_t end, std::size_t size) {
    while (end < size && isTaken(text[end])) ++end;
    return end;
  });
}

// Byte classes by table: the scans that take runs from the document test every byte.
template <class IsMember>
constexpr std::array<bool, 256> ByteTable(IsMember isMember) {
  std::array<bool, 256> table{};
  for (int byte = 0; byte < 256; ++byte) table[static_cast<std::size_t>(byte)] = isMember(static_cast<unsigned char>(byte));
  return table;
}

constexpr std::array<bool, 256> kValueRunBytes =
    ByteTable([](unsigned char byte) { return byte > '\r' && byte != '<' && byte != '&'; });
bool IsValueRunByte(unsigned char byte) { return kValueRunBytes[byte]; }

// Where a quoted value's run from start ends: at the quote or the first byte
// a value run does not take, sixteen bytes at a time as far as sixteen can be
// read (links and titles are long).
std::size_t QuotedValueEnd(const unsigned char* text, std::size_t start, std::size_t size, unsigned char quote) {
  std::size_t end = start;
#if defined(__SSE2__)
  const __m128i lineEnd = _mm_set1_epi8('\r');
  const __m128i lessThan = _mm_set1_epi8('<');
  const __m128i ampersand = _mm_set1_epi8('&');
  const __m128i quotes = _mm_set1_epi8(static_cast<char>(quote));
  for (; end + 16 <= size; end += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + end));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lineEnd), bytes);
    const int stops = _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(control, _mm_cmpeq_epi8(bytes, quotes)),
                                                     _mm_or_si128(_mm_cmpeq_epi8(bytes, lessThan), _mm_cmpeq_epi8(bytes, ampersand))));
    if (stops != 0) return end + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stops)));
  }
#endif
  while (end < size && text[end] != quote && IsValueRunByte(text[end])) ++end;
  return end;
}

// AppendValueChar for the current character and the document bytes after it
// that isTaken accepts, copied in one piece.
template <class IsTaken>
void AppendValueRun(std::string& value, IsTaken isTaken) {
  value += static_cast<char>(state.Ch);
  value += TakeDocumentBytes([&isTaken](unsigned char byte) { return IsValueRunByte(byte) && isTaken(byte); });
  ReadCharSkippingMarkup();
}

// Reads characters up to one of the stop characters (0 always stops),
// resolving references in the element's code page.
template <class IsStop>
void ReadUnquotedValue(std::string& value, int codePage, IsStop isStop) {
  while (state.Ch != 0 && !isStop(state.Ch)) {
    if (state.Ch == '&') {
      ReadCharacterReferenceText(codePage, value);
    } else {
      AppendValueRun(value, [&isStop](unsigned char byte) { return !isStop(byte); });
    }
  }
}

void ReadQuotedValue(THtmlSymbol symbol, std::string& value, int codePage) {
  const unsigned char quote = state.Ch;
  const bool keepsLineEnds = symbol == symTitle || symbol == symAlt;
  ReadCharSkippingMarkup();
  while (state.Ch != quote && state.Ch != 0) {
    if (state.Ch == '&') {
      // References decode in the element's code page, the one the attribute records.
      ReadCharacterReferenceText(codePage, value);
    } else if (state.Ch == '\r') {
      if (keepsLineEnds) value += "\r\n";
      ReadCharSkippingMarkup();
    } else {
      AppendValueRun(value, [quote](unsigned char byte) { return byte != quote; });
    }
  }
  if (state.Ch == quote) ReadCharSkippingMarkup();
}

bool IsBlankOrTagEnd(unsigned char ch) { return ch == ' ' || ch == '\r' || ch == '>'; }

constexpr bool IsAttributeNameChar(unsigned char upper) { return upper == '-' || IsDigit(upper) || IsUpperLetter(upper); }
// Bytes whose upper-case form is an attribute name character.
constexpr std::array<bool, 256> kAttributeNameBytes =
    ByteTable([](unsigned char byte) { return IsAttributeNameChar(kAsciiUpper[byte]); });

// Appends the name in upper case, the rest of each piece of it straight from the document.
void ReadAttributeName(std::string& name) {
  while (IsAttributeNameChar(state.UpperCh)) {
    name += static_cast<char>(state.UpperCh);
    const std::size_t first = name.size();
    name += TakeDocumentBytes([](unsigned char byte) { return kAttributeNameBytes[byte]; });
    for (std::size_t i = first; i < name.size(); ++i)
      name[i] = static_cast<char>(AsciiUpper(static_cast<unsigned char>(name[i])));
    ReadCharSkippingMarkup();
  }
}

bool IsNumberLead(unsigned char ch) { return ch == '+' || ch == '-' || IsDigit(ch); }

// The value of the attribute just read, as a number. An unquoted number is
// followed by blanks and a "%" that belongs to it.
void ReadNumberTail(std::string& value, int& number) {
  SkipBlanksAndMarkup();
  number = LeadingNumber(value);
  if (state.Ch == '%') AppendValueChar(value);
}

// The common attribute straight from the document, each string made in one
// piece: a name, "=" without blanks around it, and a quoted value or an
// unquoted one that ends at a blank or ">" (or "%" after a number), the value
// without references, markup or control characters. The current character is
// the name's first. False, with nothing read, for any other attribute.
bool TakeSimpleAttribute(TAttribute& attribute, THtmlSymbol& symbol, int& number) {
  if (state.InputMode != TInputMode::Document) return false;
  const auto* text = reinterpret_cast<const unsigned char*>(state.DocumentText.data());
  const std::size_t size = state.DocumentText.size();
  const std::size_t nameStart = state.DocumentPosition;
  std::size_t nameEnd = nameStart;
  while (nameEnd < size && kAttributeNameBytes[text[nameEnd]]) ++nameEnd;
  if (nameEnd + 1 >= size || text[nameEnd] != '=') return false;
  const std::size_t valueStart = nameEnd + 1;
  const unsigned char lead = text[valueStart];
  const bool quoted = lead == '"' || lead == '\'';
  const bool numeric = IsNumberLead(lead);
  std::size_t valueEnd = quoted ? valueStart + 1 : valueStart;
  std::size_t end = 0;  // the first byte not taken
  if (quoted) {
    valueEnd = QuotedValueEnd(text, valueEnd, size, lead);
    if (valueEnd >= size || text[valueEnd] != lead) return false;
    end = valueEnd + 1;
  } else {
    const auto isStop = [numeric](unsigned char byte) { return IsBlankOrTagEnd(byte) || (numeric && byte == '%'); };
    while (valueEnd < size && IsValueRunByte(text[valueEnd]) && !isStop(text[valueEnd])) ++valueEnd;
    if (valueEnd == valueStart || valueEnd >= size || (text[valueEnd] != ' ' && text[valueEnd] != '>' && text[valueEnd] != '%')) {
      return false;
    }
    end = valueEnd;
  }
  // Both strings are empty: appending to them is their cheapest filling. The
  // name starts at the current character, the document byte before nameStart.
  std::string& name = attribute.Name;
  if (nameStart > 0 && AsciiUpper(text[nameStart - 1]) == state.UpperCh) {
    name.append(reinterpret_cast<const char*>(text) + nameStart - 1, nameEnd - nameStart + 1);
    name[0] = static_cast<char>(state.UpperCh);
  } else {
    name.push_back(static_cast<char>(state.UpperCh));
    name.append(reinterpret_cast<const char*>(text) + nameStart, nameEnd - nameStart);
  }
  for (std::size_t i = 1; i < name.size(); ++i) name[i] = static_cast<char>(AsciiUpper(static_cast<unsigned char>(name[i])));
  const std::size_t first = quoted ? valueStart + 1 : valueStart;
  attribute.ValueText.append(reinterpret_cast<const char*>(text) + first, valueEnd - first);
  ConsumeDocumentBytes(end);
  ReadCharSkippingMarkup();
  symbol = LookUpAttributeSymbol(name);
  if (quoted) {
    number = QuotedValueNumber(attribute.ValueText);
  } else if (numeric) {
    ReadNumberTail(attribute.ValueText, number);
  } else {
    number = symbol == symBorder ? 1 : 0;
  }
  return true;
}

// Reads the rest of the attribute whose name starts at the current
// character into attribute (its strings empty).
void ReadAttribute(TAttribute& attribute, int codePage) {
  std::string& value = attribute.ValueText;
  THtmlSymbol symbol = symUnknownAttribute;
  int number = 0;
  if (!TakeSimpleAttribute(attribute, symbol, number)) {
    ReadAttributeName(attribute.Name);
    symbol = LookUpAttributeSymbol(attribute.Name);
    SkipBlanksAndMarkup();
    number = symbol == symBorder ? 1 : 0;  // a bare BORDER means a border of 1
    if (state.Ch == '=') {
      ReadCharSkippingMarkup();
      SkipBlanksAndMarkup();
      if (state.Ch == '"' || state.Ch == '\'') {
        ReadQuotedValue(symbol, value, codePage);
        number = QuotedValueNumber(value);
      } else if (IsNumberLead(state.Ch)) {
        AppendValueChar(value);
        ReadUnquotedValue(value, codePage, [](unsigned char ch) { return IsBlankOrTagEnd(ch) || ch == '%'; });
        ReadNumberTail(value, number);
      } else {
        ReadUnquotedValue(value, codePage, IsBlankOrTagEnd);
      }
    }
  }
  attribute.Symbol = symbol;
  attribute.Value = number;
  attribute.CodePage = codePage;
  if (symbol == symId && !value.empty() && !state.CountingPass && state.RegisterIdAnchor) {
    state.RegisterIdAnchor(value, state.SourcePosition);
  }
}

// The list's attributes are reused from tag to tag, strings and all.
void ReadAttributes() {
  state.Attributes.Clear();
  int codePage = 0;
  for (bool first = true;; first = false) {
    SkipBlanksAndMarkup();
    if (!IsUpperLetter(state.UpperCh)) break;
    if (first) codePage = CurrentCodePage();  // most tags have no attribute
    std::unique_ptr<TAttribute> attribute = state.Attributes.TakeSpare();
    ReadAttribute(*attribute, codePage);
    state.Attributes.Add(std::move(attribute));
  }
}

constexpr bool IsTagNameChar(unsigned char upper) {
  return upper == '/' || IsDigit(upper) || IsUpperLetter(upper) || upper == '_';
}

// The tag name characters a name runs on over: all but "/", which ends a name.
constexpr std::array<bool, 256> kTagNameRunBytes =
    ByteTable([](unsigned char byte) { return byte != '/' && IsTagNameChar(kAsciiUpper[byte]); });
bool IsTagNameRunByte(unsigned char byte) { return kTagNameRunBytes[byte]; }

// The upper-case tag name as read. It keeps one character more than the
// longest known name: a longer name is unknown whatever its other characters.
class TTagName {
 public:
  void Keep(unsigned char upper) {
    if (length_ < text_.size()) text_[length_++] = static_cast<char>(upper);
  }
  bool Empty() const { return length_ == 0; }
  bool IsLoneH() const { return length_ == 1 && text_[0] == 'H'; }
  std::string_view View() const { return {text_.data(), length_}; }

 private:
  std::array<char, kMaxTagNameLength + 1> text_;
  std::size_t length_ = 0;
};

// At "<", the common start of a tag straight from the document: an optional
// "/", a letter and the name characters after it up to the first other
// character, which is read as usual (a ">" at once, without its checks).
// False, with nothing read, for anything else and for a heading's "H" and
// digit, which the character reader takes apart.
bool TakeTagNameStart(TTagName& name, bool& endTag) {
  if (state.InputMode != TInputMode::Document) return false;
  const auto* text = reinterpret_cast<const unsigned char*>(state.DocumentText.data());
  const std::size_t size = state.DocumentText.size();
  const bool slash = state.DocumentPosition < size && text[state.DocumentPosition] == '/';
  const std::size_t first = state.DocumentPosition + (slash ? 1 : 0);
  if (first >= size || !IsUpperLetter(AsciiUpper(text[first]))) return false;
  if (AsciiUpper(text[first]) == 'H' && first + 1 < size && text[first + 1] >= '1' && text[first + 1] <= '6') {
    return false;
  }
  name.Keep(AsciiUpper(text[first]));
  std::size_t end = first + 1;
  for (; end < size && IsTagNameRunByte(text[end]); ++end) name.Keep(AsciiUpper(text[end]));
  endTag = slash;
  if (end < size && text[end] == '>') {
    ConsumeDocumentBytes(end + 1);
    state.Ch = '>';
    state.UpperCh = '>';
  } else {
    ConsumeDocumentBytes(end);
    ReadCharSkippingMarkup();
  }
  return true;
}

// At "<": reads a tag with its attributes. A "<" that starts no tag is text.
bool ReadTag() {
  if (state.UpperCh != '<') return false;
  state.TagStartPosition = state.SourcePosition;
  TTagName name;
  bool endTag = false;
  if (!TakeTagNameStart(name, endTag)) {
    ReadCharSkippingMarkup();
    if (state.Ch == '/') {
      endTag = true;
      ReadCharSkippingMarkup();
    } else if (state.UpperCh != '?' && !IsUpperLetter(state.UpperCh)) {
      state.Symbol = symText;
      if (!state.CountingPass) state.Token->AppendChar(u'<', state.TagStartPosition);
      return true;
    }
  }
  state.Symbol = symUnknownTag;
  while (IsTagNameChar(state.UpperCh)) {
    if (state.UpperCh == '/' && !name.Empty()) {
      ReadCharSkippingMarkup();
      break;
    }
    if (name.IsLoneH() && state.Ch >= '1' && state.Ch <= '6') break;
    name.Keep(state.UpperCh);
    // A lone "H" waits for the next character: a digit after it is the level.
    if (!name.IsLoneH()) {
      for (const char byte : TakeDocumentBytes(IsTagNameRunByte)) name.Keep(AsciiUpper(static_cast<unsigned char>(byte)));
    }
    ReadCharSkippingMarkup();
  }
  state.Symbol = LookUpTagSymbol(name.View(), endTag);
  SkipBlanksAndMarkup();
  state.HeadingLevel = 0;
  if ((state.Symbol == symH || state.Symbol == symHEnd) && state.Ch >= '1' && state.Ch <= '6') {
    state.HeadingLevel = state.Ch - '0';
    ReadCharSkippingMarkup();
  }
  ReadAttributes();
  while (state.Ch != '>' && state.Ch != 0) ReadCharSkippingMarkup();
  // SCRIPT and STYLE content is read from their ">" on by its own readers.
  if (state.Ch == '>' && state.Symbol != symScript && state.Symbol != symStyle) ReadCharSkippingMarkup();
  return true;
}

bool IsBlankRunChar(unsigned char ch) { return ch == ' ' || ch == '\r'; }

// Bytes that reach a text run unchanged: no blank, line end, control
// character, "<" or "&".
constexpr std::array<bool, 256> kPlainTextBytes = [] {
  std::array<bool, 256> plain{};
  for (int byte = '!'; byte < 256; ++byte) plain[static_cast<std::size_t>(byte)] = byte != '<' && byte != '&';
  return plain;
}();

// Where the plain bytes from start end, sixteen at a time, as far as
// sixteen and the byte after them can be read: a byte that is not plain stops
// them unless it is a blank before a plain byte. The caller's byte loop takes
// the rest.
[[gnu::always_inline]] inline std::size_t PlainBytesEnd(const unsigned char* text, std::size_t start, std::size_t size) {
  std::size_t end = start;
#if defined(__SSE2__)
  const __m128i highestControl = _mm_set1_epi8(' ');
  const __m128i lessThan = _mm_set1_epi8('<');
  const __m128i ampersand = _mm_set1_epi8('&');
  const auto notPlain = [&](__m128i bytes) {
    const __m128i blankOrBelow = _mm_cmpeq_epi8(_mm_min_epu8(bytes, highestControl), bytes);
    return _mm_movemask_epi8(
        _mm_or_si128(blankOrBelow, _mm_or_si128(_mm_cmpeq_epi8(bytes, lessThan), _mm_cmpeq_epi8(bytes, ampersand))));
  };
  for (; end + 17 <= size; end += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + end));
    const __m128i following = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + end + 1));
    const int blanks = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, highestControl));
    const int stops = notPlain(bytes) & ~(blanks & ~notPlain(following));
    if (stops != 0) return end + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stops)));
  }
#endif
  return end;
}

// Where a text run's bytes go: into the byte buffer, which the token decodes
// in the code page when the run ends or a reference interrupts it ...
class TByteSink {
 public:
  TByteSink(int codePage, bool storing) : codePage_(codePage), storing_(storing) { state.TextBytes.Clear(); }
  void Add(unsigned char byte, int position) {
    if (storing_) state.TextBytes.Add(static_cast<char>(byte), position);
  }
  void AddRun(std::string_view run, int firstPosition) {
    if (storing_ && !run.empty()) state.TextBytes.AddRun(run.data(), run.size(), firstPosition);
  }
  void Flush() {
    if (state.TextBytes.Size() == 0) return;
    state.Token->AppendBytes(state.TextBytes, codePage_);
    state.TextBytes.Clear();
  }
  void ReadReference() {
    Flush();
    ReadCharacterReference(*state.Token, codePage_);
    if (!storing_) state.Token->Clear();
  }

 private:
  int codePage_;
  bool storing_;
};

// ... or, in a code page that DecodesAsWindows1252, straight into the token
// as read, which comes to the same characters and positions.
class TWindows1252Sink {
 public:
  explicit TWindows1252Sink(TokenObj& token, int codePage = 0) : token_(token), codePage_(codePage) {}
  // Inline: most text runs start or end with a blank added here.
  [[gnu::always_inline]] void Add(unsigned char byte, int position) {
    token_.AppendChar(byte < 0x80 ? char16_t{byte} : win::windows1252Character(byte), position);
  }
  void AddRun(std::string_view run, int firstPosition) {
    if (!run.empty()) token_.AppendWindows1252(run, firstPosition);
  }
  void Flush() {}
  void ReadReference() { ReadCharacterReference(token_, codePage_); }

 private:
  TokenObj& token_;
  int codePage_;
};

// Where the plain bytes from start end. A single blank between plain bytes
// is a blank run of its own and stays as it is, so prose is taken a line at a
// time rather than a word at a time.
[[gnu::always_inline]] inline std::size_t PlainRunEnd(const unsigned char* text, std::size_t start, std::size_t size) {
  std::size_t end = PlainBytesEnd(text, start, size);
  while (end < size) {
    if (kPlainTextBytes[text[end]]) {
      ++end;
    } else if (text[end] == ' ' && end + 1 < size && kPlainTextBytes[text[end + 1]]) {
      end += 2;
    } else {
      break;
    }
  }
  return end;
}

// Takes the plain bytes that follow the current character straight from the
// document, exactly as reading them one by one would.
template <class Sink>
void TakePlainBytes(Sink& sink) {
  const int firstPosition = state.SourcePosition + 1;
  sink.AddRun(TakeDocumentRun([](const unsigned char* text, std::size_t start, std::size_t size) {
                return PlainRunEnd(text, start, size);
              }),
              firstPosition);
}

// The bytes that fold into a blank run: blanks, tabs and line ends.
constexpr std::array<bool, 256> kBlankRunBytes =
    ByteTable([](unsigned char byte) { return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n'; });

enum class TTextRunEnd : std::uint8_t { NothingTaken, AfterPlainBytes, InBlankRun };

// The text from the current character on, straight from the document, as far
// as it holds plain bytes and blank runs: each piece of plain bytes in one run
// and each blank run as one blank at the position of its first character,
// exactly as reading them one by one would. The first other byte ("<", "&", a
// control character) is then read as usual. Nothing is taken from an include,
// nor when the current character is not the document byte before the next.
template <class Sink>
TTextRunEnd TakeDocumentText(Sink& sink) {
  if (state.InputMode != TInputMode::Document || state.DocumentPosition == 0) return TTextRunEnd::NothingTaken;
  const auto* text = reinterpret_cast<const unsigned char*>(state.DocumentText.data());
  const std::size_t size = state.DocumentText.size();
  const std::size_t current = state.DocumentPosition - 1;
  const bool blank = state.Ch == ' ' || state.Ch == '\r';
  if (blank ? !kBlankRunBytes[text[current]] : (text[current] != state.Ch || !kPlainTextBytes[state.Ch])) {
    return TTextRunEnd::NothingTaken;
  }
  // Positions count document bytes from the current character's.
  const int currentPosition = state.SourcePosition;
  const auto positionOf = [&](std::size_t at) { return currentPosition + static_cast<int>(at - current); };
  std::size_t at = current;
  TTextRunEnd end = TTextRunEnd::AfterPlainBytes;
  while (at < size) {
    if (kBlankRunBytes[text[at]]) {
      sink.Add(' ', positionOf(at));
      for (++at; at < size && kBlankRunBytes[text[at]];) ++at;
      end = TTextRunEnd::InBlankRun;
    } else if (kPlainTextBytes[text[at]]) {
      const std::size_t pieceEnd = PlainRunEnd(text, at + 1, size);
      sink.AddRun(std::string_view(state.DocumentText.data() + at, pieceEnd - at), positionOf(at));
      at = pieceEnd;
      end = TTextRunEnd::AfterPlainBytes;
    } else {
      break;
    }
  }
  // Every byte taken is above '\r' or part of a blank run, after which the
  // line-end memory no longer matters: the next byte is no line end.
  ConsumeDocumentBytes(at);
  ReadCharSkippingMarkup();
  return end;
}

// Reads text up to "<", a control character or the end into sink; a run of
// blanks and line ends becomes one blank at the position of its first character.
template <class Sink>
void ReadTextInto(Sink& sink) {
  try {
    while (state.Ch >= 9 && state.Ch != '<') {
      if (state.Ch == '&') {
        sink.ReadReference();
      } else if (const TTextRunEnd end = TakeDocumentText(sink); end != TTextRunEnd::NothingTaken) {
        // Markup skipped after a blank run leaves the run going on.
        if (end == TTextRunEnd::InBlankRun) {
          while (IsBlankRunChar(state.Ch)) ReadCharSkippingMarkup();
        }
      } else if (IsBlankRunChar(state.Ch)) {
        sink.Add(' ', state.SourcePosition);
        do {
          ReadCharSkippingMarkup();
        } while (IsBlankRunChar(state.Ch));
      } else {
        sink.Add(state.Ch, state.SourcePosition);
        TakePlainBytes(sink);
        ReadCharSkippingMarkup();
      }
    }
  } catch (const EParseError&) {
    // The input ended inside a comment that follows the run: the run is still
    // delivered, so that its reader puts it where it belongs, and the next
    // symbol read raises the error again (the comment flag stays set).
    if (!state.InComment) throw;
    state.Ch = 0;
    state.UpperCh = 0;
  }
  sink.Flush();
}

bool ReadTextRun() {
  state.Symbol = symText;
  if (state.Ch < 9 || state.Ch == '<') return false;
  const int codePage = CurrentCodePage();
  const bool storing = !state.CountingPass;
  if (storing && DecodesAsWindows1252(codePage)) {
    TWindows1252Sink sink(*state.Token, codePage);
    ReadTextInto(sink);
  } else {
    TByteSink sink(codePage, storing);
    ReadTextInto(sink);
  }
  return true;
}

}  // namespace

namespace {

bool IsLiteralRunByte(unsigned char byte) { return byte >= ' ' && byte != '<' && byte != '&'; }

// The literal bytes from start on, sixteen at a time as far as sixteen can be
// read (preformatted lines are long), the rest one by one.
std::string_view TakeLiteralBytes() {
  return TakeDocumentRun([](const unsigned char* text, std::size_t end, std::size_t size) {
#if defined(__SSE2__)
    const __m128i highestControl = _mm_set1_epi8(0x1F);
    const __m128i lessThan = _mm_set1_epi8('<');
    const __m128i ampersand = _mm_set1_epi8('&');
    for (; end + 16 <= size; end += 16) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + end));
      const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, highestControl), bytes);
      const int stops = _mm_movemask_epi8(
          _mm_or_si128(control, _mm_or_si128(_mm_cmpeq_epi8(bytes, lessThan), _mm_cmpeq_epi8(bytes, ampersand))));
      if (stops != 0) return end + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stops)));
    }
#endif
    while (end < size && IsLiteralRunByte(text[end])) ++end;
    return end;
  });
}

}  // namespace

void ReadLiteralBytes(TCharCollection& bytes) {
  bytes.Add(static_cast<char>(state.Ch), state.SourcePosition);
  const int firstPosition = state.SourcePosition + 1;
  const std::string_view run = TakeLiteralBytes();
  if (!run.empty()) bytes.AddRun(run.data(), run.size(), firstPosition);
  ReadCharSkippingMarkup();
}

void ReadLiteralCharacters(TokenObj& text) {
  const int position = state.SourcePosition;
  const std::size_t runStart = state.DocumentPosition;
  const std::string_view run = TakeLiteralBytes();
  // Most often the current character is the document byte before the run
  // and goes into the text with it, in one piece.
  if (!run.empty() && runStart > 0 && static_cast<unsigned char>(state.DocumentText[runStart - 1]) == state.Ch) {
    text.AppendWindows1252(std::string_view(run.data() - 1, run.size() + 1), position);
  } else {
    TWindows1252Sink sink(text);
    sink.Add(state.Ch, position);
    sink.AddRun(run, position + 1);
  }
  ReadCharSkippingMarkup();
}

unsigned char PeekSourceByte() { return PeekByte(); }

void NextSymbol() {
  state.Token->Clear();
  if (state.Ch == 0) {
    if (state.InComment) throw EParseError(kOpenCommentMessage);  // the text run before it was delivered
    state.Symbol = symEndOfInput;
    return;
  }
  if (ReadTag() || ReadTextRun()) return;
  if (state.Ch >= 1 && state.Ch <= 8) {
    // A stray control character is read as a question mark by the next call.
    state.Ch = '?';
    state.UpperCh = '?';
  }
}

void ReadRawToken() {
  std::string& text = state.RawTokenText;
  text.clear();
  state.Token->Clear();
  switch (state.Ch) {
    case 0:
      state.Symbol = symEndOfInput;
      return;
    case '\r':
      state.Symbol = symLineBreak;
      ReadCharSkippingMarkup();
      return;
    case '<':
      text.push_back('<');
      ReadCharSkippingMarkup();
      while (state.Ch != 0 && state.Ch != ' ' && state.Ch != '\r' && state.Ch != '>') AppendValueChar(text);
      {
        state.Symbol = LowerCase(text) == "</textarea" ? symTextareaEnd : symUnknownTag;
      }
      return;
    case '&':
      ReadCharacterReferenceText(CurrentCodePage(), text);
      state.Symbol = symUnknownTag;
      return;
    default:
      break;
  }
  while (text.size() < kMaxRawTextPiece && state.Ch != 0 && state.Ch != '\r' && state.Ch != '&' && state.Ch != '<') {
    AppendValueChar(text);
  }
  if (!text.empty()) {
    state.Symbol = symText;
    return;
  }
  text = std::string(1, static_cast<char>(state.Ch));
  state.Symbol = symOtherChar;
  ReadCharSkippingMarkup();
}

int LeadingNumber(const std::string& text) {
  double number = 0;
  ParseLeadingNumber(text, number);
  const double rounded = std::nearbyint(number);
  if (!(rounded > INT_MIN)) return rounded < 0 ? INT_MIN : 0;
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(rounded);
}

}  // namespace engine
