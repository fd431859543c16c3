#include "rulestool/AttributeReader.h"

#include <tinyxml.h>

#include "rulestool/Messages.h"
#include "rulestool/RuleKeywords.h"

namespace kestrane {

bool CheckElement(const TiXmlElement& element, const char* expected, std::ostream& err) {
  if (EqualsNoCase(element.Value(), expected)) return true;
  Message(err, std::string("Element ") + expected + " expected, element " + element.Value() + " found");
  return false;
}

std::optional<std::string> AttributeReader::Text(const char* attribute, const char* defaultValue) const {
  if (const char* value = element_.Attribute(attribute)) return std::string(value);
  if (defaultValue != nullptr) return std::string(defaultValue);
  reportMissing(attribute);
  return std::nullopt;
}

int AttributeReader::Boolean(const char* attribute, int defaultValue) const {
  const char* value = element_.Attribute(attribute);
  if (value == nullptr) {
    if (defaultValue == kRequired) reportMissing(attribute);
    return defaultValue;
  }
  int parsed = FindBoolean(value);
  if (parsed < 0) reportInvalid(attribute, value);
  return parsed;
}

int AttributeReader::Keyword(const char* attribute, int (*find)(const std::string&), int highest) const {
  const char* value = element_.Attribute(attribute);
  if (value == nullptr) {
    reportMissing(attribute);
    return -1;
  }
  int parsed = find(value);
  if (parsed < 0 || parsed > highest) {
    reportInvalid(attribute, value);
    return -1;
  }
  return parsed;
}

bool AttributeReader::NoNulValues() const {
  bool none = true;
  for (const TiXmlAttribute* attribute = element_.FirstAttribute(); attribute != nullptr;
       attribute = attribute->Next()) {
    const std::string& value = attribute->ValueStr();
    if (value.find('\0') == std::string::npos) continue;
    std::string shown;
    for (char c : value) shown += c == '\0' ? std::string("&#x00;") : std::string(1, c);
    Message(err_, "Invalid value '" + shown + "' supplied for " + attribute->Name() + " in " + describe() +
                      ": a value cannot hold NUL");
    none = false;
  }
  return none;
}

std::string AttributeReader::describe() const {
  const char* name = element_.Attribute("Name");
  if (name == nullptr) name = element_.Attribute("Header");
  return std::string(element_.Value()) + " " + (name != nullptr ? name : "(unknown)");
}

void AttributeReader::reportMissing(const char* attribute) const {
  Message(err_, std::string("No value supplied for ") + attribute + " in " + describe());
}

void AttributeReader::reportInvalid(const char* attribute, const std::string& value) const {
  Message(err_, "Invalid value '" + value + "' supplied for " + attribute + " in " + describe());
}

}  // namespace kestrane
