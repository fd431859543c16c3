#include "platform/win/kernel/BestFit.h"

#include <string_view>

namespace win {
namespace {

// Base letters of U+0100..U+024F and of U+1E00..U+1EFF, 64 characters a row:
// a letter with diacritics or a stroke is written as its letter. A blank
// marks a character without one.
constexpr std::string_view kLatinExtendedLetters =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi  JjKkkLlLlLlL"
    "lLlNnNnNnn  OoOoOo  RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs"
    "b                      I  l     Oo             Uu               "
    "             AaIiOoUuUuUuUuUu AaAa  GgGgKkOoOo  j   Gg  NnAa    "
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt  Hh      AaEeOoOoOoOoYy";
constexpr std::string_view kLatinAdditionalLetters =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"
    "WwWwWwWwWwXxXxYyZzZzZzhtwy      AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy";

}  // namespace

char bestFitCharacter(char16_t c) {
  char letter = ' ';
  if (c >= 0x0100 && c - 0x0100u < kLatinExtendedLetters.size()) letter = kLatinExtendedLetters[c - 0x0100u];
  else if (c >= 0x1E00 && c - 0x1E00u < kLatinAdditionalLetters.size()) letter = kLatinAdditionalLetters[c - 0x1E00u];
  else if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char>(c - 0xFEE0);
  return letter == ' ' ? 0 : letter;
}

}  // namespace win
