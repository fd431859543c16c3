#include "engine/html/CharacterReferences.h"

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/common/CodePageText.h"
#include "engine/html/Entities.h"
#include "engine/html/HtmlLexer.h"

namespace engine {
namespace {

// Numbers saturate here: everything from this value on is no character.
constexpr std::uint32_t kBeyondUnicode = 0x110000;
constexpr std::size_t kMaxEntityNameLength = 11;
constexpr char16_t kReplacementCharacter = 0xFFFD;

struct ScannedReference {
  bool recognised = false;
  bool numeric = false;
  std::uint32_t code = 0;
};

bool IsDigit(unsigned char ch) { return ch >= '0' && ch <= '9'; }
bool IsUpperLetter(unsigned char ch) { return ch >= 'A' && ch <= 'Z'; }
bool IsHexDigit(unsigned char upper) { return IsDigit(upper) || (upper >= 'A' && upper <= 'F'); }

void Advance(TReferenceAdvance advance) {
  if (advance == TReferenceAdvance::Plain) {
    NextChar();
  } else {
    NextCharSkippingMarkup();
  }
}

// Takes the current character into the literal form and moves on.
void Take(TCharCollection& literal, TReferenceAdvance advance) {
  literal.Add(static_cast<char>(parseState.Ch), parseState.SourcePosition);
  Advance(advance);
}

// Reads "&#", "&#x" or "&name" from the current "&"; every character read goes
// into literal. A trailing ";" is left for the caller.
ScannedReference ScanReference(TCharCollection& literal, TReferenceAdvance advance) {
  const TParseState& state = parseState;
  ScannedReference result;
  Take(literal, advance);  // "&"
  if (state.Ch == '#') {
    Take(literal, advance);
    const bool hex = state.UpperCh == 'X';
    if (hex) Take(literal, advance);
    const std::uint32_t base = hex ? 16 : 10;
    while (hex ? IsHexDigit(state.UpperCh) : IsDigit(state.Ch)) {
      const std::uint32_t digit = IsDigit(state.Ch) ? state.Ch - '0' : state.UpperCh - 'A' + 10;
      result.code = result.code >= kBeyondUnicode ? kBeyondUnicode : result.code * base + digit;
      if (result.code > kBeyondUnicode) result.code = kBeyondUnicode;
      result.recognised = true;
      Take(literal, advance);
    }
    result.numeric = true;
    return result;
  }
  std::string name;
  while (name.size() < kMaxEntityNameLength && (IsDigit(state.UpperCh) || IsUpperLetter(state.UpperCh))) {
    name += static_cast<char>(state.Ch);
    Take(literal, advance);
  }
  std::uint16_t code = 0;
  if (!name.empty() && LookUpEntity(name, code)) {
    result.recognised = true;
    result.code = code;
  }
  return result;
}

void ConsumeSemicolon(TReferenceAdvance advance) {
  if (parseState.Ch == ';') Advance(advance);
}

// Lone surrogates and codes beyond Unicode become U+FFFD; codes above the
// 16-bit range become a surrogate pair.
void AppendCode(std::uint32_t code, std::u16string& wide) {
  if (code >= kBeyondUnicode || (code >= 0xD800 && code <= 0xDFFF)) {
    wide += kReplacementCharacter;
  } else if (code > 0xFFFF) {
    code -= 0x10000;
    wide += static_cast<char16_t>(0xD800 + (code >> 10));
    wide += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
  } else {
    wide += static_cast<char16_t>(code);
  }
}

bool IsControlRange(const ScannedReference& reference) {
  return reference.numeric && reference.code >= 127 && reference.code <= 159;
}

// Literal forms above this size give their room back when the reference is read.
constexpr int kKeptLiteralRoom = 4096;

// The collection for the literal form of the reference being read. Documents
// hold many references, so each nesting level keeps one collection with its
// room; levels nest when markup skipped inside a reference holds an include
// whose parameters hold references.
class LiteralBuffer {
 public:
  LiteralBuffer() {
    if (depth_ == pool_.size()) pool_.emplace_back();
    std::unique_ptr<TCharCollection>& slot = pool_[depth_];
    if (!slot) slot = std::make_unique<TCharCollection>();
    literal_ = slot.get();
    literal_->Clear();
    ++depth_;
  }
  ~LiteralBuffer() {
    --depth_;
    if (literal_->Size() > kKeptLiteralRoom) pool_[depth_].reset();
  }
  LiteralBuffer(const LiteralBuffer&) = delete;
  LiteralBuffer& operator=(const LiteralBuffer&) = delete;

  TCharCollection& Literal() { return *literal_; }

 private:
  static inline std::vector<std::unique_ptr<TCharCollection>> pool_;
  static inline std::size_t depth_ = 0;
  TCharCollection* literal_ = nullptr;
};

}  // namespace

void ReadCharacterReference(TokenObj& token, int codePage) {
  const int position = parseState.SourcePosition;
  LiteralBuffer buffer;
  TCharCollection& literal = buffer.Literal();
  const ScannedReference reference = ScanReference(literal, TReferenceAdvance::SkippingMarkup);
  if (!reference.recognised) {
    token.AppendBytes(literal, codePage);
    return;
  }
  ConsumeSemicolon(TReferenceAdvance::SkippingMarkup);
  std::u16string wide;
  if (reference.code == '\t') {
    wide = u" ";
  } else if (reference.code < 32) {
    wide = u"?";
  } else if (IsControlRange(reference)) {
    wide = StringToWideByCodePage(codePage, std::string(1, static_cast<char>(reference.code)));
  } else {
    AppendCode(reference.code, wide);
  }
  for (char16_t ch : wide) token.AppendChar(ch, position);
}

void ReadCharacterReferenceText(int codePage, std::string& text, TReferenceAdvance advance) {
  LiteralBuffer buffer;
  TCharCollection& literal = buffer.Literal();
  const ScannedReference reference = ScanReference(literal, advance);
  // Without ";" only names of the 8-bit range are taken in attribute values.
  const bool accepted = reference.recognised && (reference.numeric || parseState.Ch == ';' || reference.code <= 255);
  if (!accepted) {
    text += literal.AsString();
    return;
  }
  ConsumeSemicolon(advance);
  if (reference.code == '\t') {
    text += ' ';
  } else if (reference.code < 32) {
    text += '?';
  } else if (IsControlRange(reference)) {
    text += static_cast<char>(reference.code);
  } else {
    std::u16string wide;
    AppendCode(reference.code, wide);
    text += WideToStringByCodePage(codePage, wide);
  }
}

}  // namespace engine
