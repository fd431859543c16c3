#include "engine/css/CssReader.h"

#include <string>
#include <vector>

#include "engine/css/CssDeclarations.h"
#include "engine/css/CssText.h"
#include "engine/common/DosFileNames.h"
#include "engine/css/TProperties.h"
#include "engine/css/TStyleList.h"
#include "engine/common/UrlTools.h"

namespace engine {
namespace {

constexpr char kEnd = '\0';

bool IsNameChar(char c) { return c == '-' || IsAsciiDigit(c) || IsAsciiLetter(c); }

bool IsSelectorChar(char c) {
  return c == ' ' || c == '#' || c == '*' || c == '-' || c == '.' || c == ':' || c == '>' || c == '_' ||
         IsAsciiDigit(c) || IsAsciiLetter(c);
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }

// Reads one sheet. Invariant: ch_ is the current character; a "<" never gets consumed in a
// STYLE element, whatever the reader is doing, so the closing tag stays for the caller.
class SheetReader {
 public:
  SheetReader(TStyleList& styles, TCssSource& source, std::string baseUrl, bool continuePastLt)
      : styles_(styles), source_(source), baseUrl_(std::move(baseUrl)), continuePastLt_(continuePastLt) {}

  char Run(char current);

 private:
  void Advance();
  bool AtEnd() const { return ch_ == kEnd || (ch_ == '<' && !continuePastLt_); }
  void SkipBlanks() {
    while (ch_ == ' ') Advance();
  }
  void SkipSheetDelimiters();
  void ReadAtRule();
  void SkipBlock();
  void ReadRuleSet();
  std::vector<std::string> ReadSelectorList();
  void ReadDeclarationBlock(const std::vector<std::string>& keys);

  TStyleList& styles_;
  TCssSource& source_;
  std::string baseUrl_;
  bool continuePastLt_;
  char ch_ = ' ';
  char pushed_ = kEnd;
  bool hasPushed_ = false;
};

void SheetReader::Advance() {
  char c;
  if (hasPushed_) {
    hasPushed_ = false;
    c = pushed_;
  } else {
    c = source_.Next();
  }
  if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  if (c == '/' && source_.Peek() == '*') {
    source_.Next();
    // A comment ends at "*/"; an unclosed one at the closing tag or the end.
    char previous = kEnd;
    while (true) {
      char inside = source_.Peek();
      if (inside == kEnd || inside == '<') break;
      source_.Next();
      if (previous == '*' && inside == '/') break;
      previous = inside;
    }
    c = source_.Peek() == '<' || source_.Peek() == kEnd ? source_.Next() : ' ';
  }
  ch_ = c;
}

void SheetReader::SkipSheetDelimiters() {
  while (true) {
    if (ch_ == ' ' || ch_ == '!' || ch_ == '-' || ch_ == '>') {
      Advance();
    } else if (ch_ == '<' && (continuePastLt_ || source_.Peek() == '!')) {
      Advance();  // "<!--" around the sheet
    } else {
      return;
    }
  }
}

char SheetReader::Run(char current) {
  if (current == '\r') current = ' ';
  pushed_ = current;
  hasPushed_ = true;
  ch_ = ' ';
  SkipSheetDelimiters();
  while (!AtEnd()) {
    if (ch_ == '@') {
      ReadAtRule();
    } else if (ch_ == '<') {
      while (ch_ != ' ' && ch_ != kEnd) Advance();
      SkipBlanks();
    } else if (ch_ == '}') {
      Advance();  // a stray "}" outside any block
    } else {
      ReadRuleSet();
    }
    while (ch_ == ' ' || ch_ == '-' || ch_ == '>') Advance();
  }
  return UpperChar(ch_);
}

void SheetReader::ReadAtRule() {
  std::string rule;
  while (ch_ != kEnd && ch_ != ';' && ch_ != '<' && ch_ != '{') {
    rule += ch_;
    Advance();
  }
  if (ch_ == ';') {
    Advance();
    return;
  }
  if (ch_ != '{') return;
  Advance();
  if (LowerCase(rule).find("screen") == std::string::npos) {
    SkipBlock();
    return;
  }
  while (true) {
    while (ch_ == ' ' || ch_ == '-' || ch_ == '>') Advance();
    if (ch_ == kEnd || ch_ == '<' || ch_ == '}') break;
    ReadRuleSet();
  }
  if (ch_ == '}') Advance();
}

// Skips a block whose "{" was consumed, nested blocks included, and its closing "}".
void SheetReader::SkipBlock() {
  int depth = 1;
  while (!AtEnd() && ch_ != '<') {
    if (ch_ == '{') ++depth;
    if (ch_ == '}' && --depth == 0) {
      Advance();
      return;
    }
    Advance();
  }
}

void SheetReader::ReadRuleSet() {
  std::vector<std::string> keys = ReadSelectorList();
  if (ch_ == '{') ReadDeclarationBlock(keys);
}

// Selectors of one rule set. A selector holding anything the keys cannot express ("[",
// "+", "~", "(") is dropped rather than read as its shorter head.
std::vector<std::string> SheetReader::ReadSelectorList() {
  std::vector<std::string> keys;
  while (true) {
    if (ch_ == ',') Advance();
    SkipBlanks();
    std::string selector;
    while (IsSelectorChar(ch_)) {
      selector += ch_ == '*' ? ' ' : ch_;
      Advance();
    }
    bool complete = ch_ == ',' || ch_ == '{' || ch_ == kEnd || ch_ == '<' || ch_ == '}';
    if (!complete) {
      while (ch_ != ',' && ch_ != '{' && ch_ != '}' && !AtEnd() && ch_ != '<') Advance();
    }
    std::string trimmed = Trim(LowerCase(selector));
    if (complete && !trimmed.empty()) keys.push_back(SelectorKey(trimmed, styles_));
    if (ch_ != ',') break;
  }
  while (ch_ != kEnd && ch_ != '<' && ch_ != '{' && ch_ != '}') Advance();
  return keys;
}

void SheetReader::ReadDeclarationBlock(const std::vector<std::string>& keys) {
  Advance();  // "{"
  std::vector<TProperties*> entries(keys.size(), nullptr);
  auto set = [this, &keys, &entries](const std::string& property, const std::string& value) {
    for (std::size_t index = 0; index < keys.size(); ++index)
      styles_.AddStyleRule(keys[index], property, value, entries[index]);
  };
  while (true) {
    SkipBlanks();
    std::string name;
    while (IsNameChar(ch_)) {
      name += ch_;
      Advance();
    }
    name = Trim(LowerCase(name));
    SkipBlanks();
    if ((ch_ == ':' || ch_ == '=') && !name.empty()) {
      Advance();
      std::string raw;
      while (ch_ != kEnd && ch_ != ';' && ch_ != '<' && ch_ != '}') {
        raw += ch_;
        Advance();
      }
      std::string value = CleanValue(raw);
      if (!ExpandShorthand(name, value, baseUrl_, set)) {
        value = RemoveEnclosingQuotes(value);
        if (!baseUrl_.empty() && value.find("url(") != std::string::npos) value = ResolveUrlValue(value, baseUrl_);
        set(name, value);
      }
    }
    SkipBlanks();
    if (ch_ == ';') Advance();
    while (ch_ != kEnd && ch_ != '<' && ch_ != '}' && !IsNameChar(ch_)) Advance();
    if (ch_ == kEnd || ch_ == '<') return;
    if (ch_ == '}') {
      Advance();
      return;
    }
  }
}

}  // namespace

void TStringCssSource::SkipLineFeeds() {
  while (position_ < text_.size() && text_[position_] == '\n') ++position_;
}

char TStringCssSource::Next() {
  SkipLineFeeds();
  if (position_ >= text_.size()) return kEnd;
  char c = text_[position_++];
  return c == '\t' ? ' ' : c;
}

char TStringCssSource::Peek() {
  SkipLineFeeds();
  if (position_ >= text_.size()) return kEnd;
  char c = text_[position_];
  return c == '\t' ? ' ' : c;
}

void ParseStyleSheet(TStyleList& styles, char& current, TCssSource& source, const std::string& baseUrl,
                     bool continuePastLt) {
  SheetReader reader(styles, source, baseUrl, continuePastLt);
  current = reader.Run(current);
}

void ParseInlineStyle(const std::string& text, TProperties& target) {
  auto set = [&target](const std::string& property, const std::string& value) {
    target.SetPropertyByName(property, value);
  };
  std::size_t position = 0;
  auto at = [&text, &position]() -> char {
    if (position >= text.size()) return kEnd;
    char c = text[position];
    return (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
  };
  while (position < text.size() && !IsNameChar(at()) && at() != kEnd) ++position;
  while (at() != kEnd) {
    std::string name;
    while (IsNameChar(at())) name += LowerChar(text[position++]);
    while (at() == ' ') ++position;
    if (at() == ':' || at() == '=') {
      ++position;
      std::string raw;
      while (at() != kEnd && at() != ';') raw += at(), ++position;
      std::string value = CleanValue(raw);
      if (!ExpandShorthand(name, value, std::string(), set)) set(name, RemoveEnclosingQuotes(value));
    }
    while (at() != kEnd && !IsNameChar(at())) ++position;
  }
}

std::string ResolveUrlValue(const std::string& value, const std::string& baseUrl) {
  std::string url;
  std::size_t start = value.find("url(");
  if (start != std::string::npos) {
    url = value.substr(start + 4);
    std::size_t close = url.find(')');
    if (close != std::string::npos) url.resize(close);
    url = Trim(url);
    if (url.size() > 2 && (url[0] == '"' || url[0] == '\'')) url = url.substr(1, url.size() - 2);
  }
  if (baseUrl.find("://") != std::string::npos) {
    if (!IsFullUrl(url)) url = CombineUrl(baseUrl, url);
  } else {
    url = UrlToDosFileName(url);
    if (url.empty() || url[0] != '/') url = baseUrl + url;
  }
  return "url(" + url + ")";
}

}  // namespace engine
