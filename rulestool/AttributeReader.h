#pragma once

#include <optional>
#include <ostream>
#include <string>

class TiXmlElement;

namespace kestrane {

// Checks an element's tag without regard to case; a mismatch is reported
// ("Element X expected, element Y found").
bool CheckElement(const TiXmlElement& element, const char* expected, std::ostream& err);

// Reads the attributes of one element of the rules document and reports
// every missing or invalid value on the error stream.
class AttributeReader {
 public:
  AttributeReader(const TiXmlElement& element, std::ostream& err) : element_(element), err_(err) {}

  // The value, else the default; nothing (reported) when it is missing and
  // there is no default.
  std::optional<std::string> Text(const char* attribute, const char* defaultValue = nullptr) const;
  // 0 or 1, else the default when missing; -1 (reported) for an invalid
  // value, or for a missing one when the default is kRequired.
  int Boolean(const char* attribute, int defaultValue) const;
  // The value of a keyword found by find within 0..highest; -1 (reported)
  // when it is missing, unknown or out of that range.
  int Keyword(const char* attribute, int (*find)(const std::string&), int highest) const;

  // False (each one reported) when a value holds NUL: such a value cannot be
  // stored as written, as no stored text holds NUL.
  bool NoNulValues() const;

  static constexpr int kRequired = -1;

 private:
  // The element as messages name it: its tag and its Name or Header.
  std::string describe() const;
  void reportMissing(const char* attribute) const;
  void reportInvalid(const char* attribute, const std::string& value) const;

  const TiXmlElement& element_;
  std::ostream& err_;
};

}  // namespace kestrane
