#pragma once
// The CSS reader: style sheets into a TStyleList, STYLE attributes into one TProperties.
#include <string>

namespace engine {

class TProperties;
class TStyleList;

// The characters of a style sheet: Next consumes one ('\0' at the end), Peek looks at the one
// Next would give without consuming it.
class TCssSource {
 public:
  virtual ~TCssSource() = default;
  virtual char Next() = 0;
  virtual char Peek() = 0;
};

// A sheet held in a string (a linked sheet): LF skipped, tabs read as blanks, '\0' at the end.
class TStringCssSource : public TCssSource {
 public:
  explicit TStringCssSource(std::string text) : text_(std::move(text)) {}
  char Next() override;
  char Peek() override;

 private:
  void SkipLineFeeds();
  std::string text_;
  std::size_t position_ = 0;
};

// Reads a sheet into styles. current is the character the caller stands on; on return it is
// the character the reader stopped at, upper-cased. baseUrl (empty for a STYLE element) makes
// url(...) values absolute. Without continuePastLt a "<" (the closing tag) ends the sheet.
void ParseStyleSheet(TStyleList& styles, char& current, TCssSource& source, const std::string& baseUrl,
                     bool continuePastLt);

// Parses the text of a STYLE attribute ("color: red; margin: 0") into target.
void ParseInlineStyle(const std::string& text, TProperties& target);

// "url(" + the absolute URL of the url(...) in value + ")", against the sheet's base URL.
std::string ResolveUrlValue(const std::string& value, const std::string& baseUrl);

// Puts the parts of a compound selector in their canonical order: tag, classes sorted, id,
// pseudo class (".b.a" -> ".a.b", "a:hover.x#y" -> "a.x#y:hover").
std::string SortSelectorParts(const std::string& selector);

}  // namespace engine
