#pragma once
// Where a line of section text ends, given how many characters fit: the break
// rules over the characters and their break flags, free of any measuring.
namespace engine {

struct BreakText {
  const char16_t* Text = nullptr;
  const char* Flags = nullptr;  // Len + 1 letters: the last one is the final 'y'
  int Len = 0;
  bool BreakWord = false;  // any two characters may be broken apart
};

// True for the second half of a surrogate pair: no line ever starts there.
inline bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }
inline bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
// Characters of the wide scripts (above 0x2FFF) break between any two of them.
inline bool IsWideScript(char16_t ch) { return ch > 0x2FFF; }

// The number of characters of the line that starts at start, when fitted
// (at least 1) of them fit. overlong: no break opportunity lay within the
// fitted characters, so the line runs on to the end of the word (the caller
// may rather move below a float and try again).
int ChooseLineBreak(const BreakText& text, int start, int fitted, bool& overlong);

// count without the trailing forced break and spaces of the line.
int TrimmedLength(const BreakText& text, int start, int count);

// A count that does not end between the halves of a surrogate pair (moved
// back one, or on one when the line would be left empty).
int WholeCharacters(const BreakText& text, int start, int count);

}  // namespace engine
