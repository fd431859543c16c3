#pragma once

#include <string>
#include <vector>

// An ordered collection of texts (destinations, forward and reply addresses).
// AddList and AsString are inverse: AsString(c) of a set filled by AddList(s, c)
// gives s back, so empty and repeated items are kept as they are.
class CStringSet {
 public:
  // The texts joined by the separator.
  std::string AsString(char separator) const;
  // Removes every text.
  void Empty();
  // Adds the texts of a separated list; an empty (or null) list adds nothing.
  void AddList(const char* list, char separator);

  void Add(std::string text) { items_.push_back(std::move(text)); }
  const std::vector<std::string>& Items() const { return items_; }
  bool operator==(const CStringSet&) const = default;

 private:
  std::vector<std::string> items_;
};
