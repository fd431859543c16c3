#pragma once
// Contextual keys of the style list taken apart once, when they are added, for the cascade.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

class TProperties;
class TPropStack;

// What one compound selector part names; an empty component names nothing.
struct TSelectorPart {
  std::string tag;
  std::vector<std::string> classes;
  std::string id;
  std::string pseudo;
  bool directParent = false;  // "div>": the part nearer the subject is a direct child of it
  // Hashes of the tag, classes and id the part names (SelectorTokenHash), to reject a key
  // quickly when the open elements name none of them.
  std::vector<std::size_t> tokens;
};

// Hash of one name of an element: kind is 't' (tag), '.' (class) or '#' (id).
std::size_t SelectorTokenHash(char kind, std::string_view name);
// The sorted token hashes of the elements at 0 .. count-1 of a stack.
std::vector<std::size_t> StackTokens(const TPropStack& stack, int count);
// Adds the token hashes of one element's names to tokens (unsorted).
void AddElementTokens(std::string_view tag, std::string_view classes, std::string_view id,
                      std::vector<std::size_t>& tokens);

// A filter of token hashes: a bit for each (some tokens share one). A set that lacks a bit
// of another lacks one of its tokens.
struct TTokenFilter {
  std::uint64_t bits[2] = {0, 0};
  void Add(std::size_t token) { bits[(token >> 6) & 1] |= std::uint64_t{1} << (token & 63); }
  bool Covers(const TTokenFilter& other) const {
    return (other.bits[0] & ~bits[0]) == 0 && (other.bits[1] & ~bits[1]) == 0;
  }
};

// "p 110div> body ": subject "p", ancestors "div>" and "body", nearest first.
struct TContextualKey {
  TSelectorPart subject;
  std::vector<TSelectorPart> ancestors;
  TTokenFilter ancestorTokens;  // of every ancestor part
};

TSelectorPart ParseSelectorPart(std::string_view text);
// nullptr for a key without ancestors.
std::shared_ptr<const TContextualKey> ParseContextualKey(const std::string& key);

// classes: the element's classes joined by ".".
bool PartMatches(const TSelectorPart& part, std::string_view tag, std::string_view classes, std::string_view id,
                 std::string_view pseudo);
bool PartMatches(const TSelectorPart& part, const TProperties& element);
// False when presentTokens (sorted) lacks a name the part requires.
bool TokensPresent(const TSelectorPart& part, const std::vector<std::size_t>& presentTokens);

}  // namespace engine
