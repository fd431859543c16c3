#pragma once
// A set of lexer symbols: the stop sets and content sets of the document builder.
#include <bitset>
#include <initializer_list>

#include "engine/html/HtmlSymbols.h"

namespace engine {

class TSymbolSet {
 public:
  TSymbolSet() = default;
  TSymbolSet(std::initializer_list<THtmlSymbol> symbols) {
    for (THtmlSymbol symbol : symbols) bits_.set(symbol);
  }
  bool Has(THtmlSymbol symbol) const { return bits_.test(symbol); }
  // This set and the given symbols.
  TSymbolSet With(std::initializer_list<THtmlSymbol> symbols) const {
    TSymbolSet result = *this;
    for (THtmlSymbol symbol : symbols) result.bits_.set(symbol);
    return result;
  }
  TSymbolSet Without(std::initializer_list<THtmlSymbol> symbols) const {
    TSymbolSet result = *this;
    for (THtmlSymbol symbol : symbols) result.bits_.reset(symbol);
    return result;
  }

 private:
  std::bitset<256> bits_;
};

}  // namespace engine
