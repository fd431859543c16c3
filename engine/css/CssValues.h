#pragma once
// Value parsers and keyword tables of the style code: lengths in pixels, font sizes in points,
// alignment words, charsets, border styles and list-style types.
#include <cstdint>
#include <string>

namespace engine {

// Sentinels held by box properties (margins, paddings, borders, width, height, position).
constexpr int kUnsetValue = -12345678;
constexpr int kAutoValue = -12348765;
constexpr int kParagraphSpace = -12348766;
constexpr int kParagraphSpacePixels = 14;

// Pixels from a CSS length ("2em", "50%", "12pt"). Without a unit the number is pixels, or times
// base when relative; "%" is a share of base; an unknown unit or no number gives defaultValue.
int LengthFromString(const std::string& text, bool relative, double base, int defaultValue, int em, int ex);

// Points from a CSS font size; relative sizes and "%" against parentSize, keywords against the
// sheet's default size.
double FontSizeFromString(const std::string& text, double parentSize);

// The default size (points) that keyword font sizes are taken from; set when the default sheet
// is built.
double DefaultFontSize();
void SetDefaultFontSize(double points);

// Alignment numbers: 1 top, 2 middle, 3 baseline, 4 bottom, 5 left, 6 right, 7 justify, 0 other.
int AlignmentFromString(const std::string& text);

// Code page of a font charset; false (codePage untouched) for a charset not in the table.
bool CodePageFromCharset(int charset, int& codePage);
constexpr int kIso8859_2Charset = 31;  // the engine's own name for ISO 8859-2
constexpr int kIso8859_2CodePage = 28592;
constexpr int kEastEuropeCharset = 238;

// none 0, solid 1, inset 2, outset 3, groove 4, ridge 5, dashed 6, dotted 7, double 8; unknown 0.
int BorderStyleFromString(const std::string& text);
// blank 0, circle 1, decimal 2, disc 3, lower-alpha 4, lower-roman 5, none 6, square 7,
// upper-alpha 8, upper-roman 9; unknown 0. Writes false into known when the word is unknown.
int ListStyleFromString(const std::string& text, bool* known = nullptr);

// The pixels per inch the length units are taken against: the screen's, unless set (0 goes
// back to the screen's).
int CssPixelsPerInch();
void SetCssPixelsPerInch(int pixelsPerInch);

}  // namespace engine
