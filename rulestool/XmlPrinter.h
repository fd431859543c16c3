#pragma once

#include <string>
#include <string_view>

class TiXmlDocument;

namespace kestrane {

// Prints a document of a declaration and nested elements: every element on
// its own line, indented by four blanks per level, attributes in order as
// name="value", " />" for an element without child elements, and a closing
// tag on its own line otherwise. Nodes other than the declaration and
// elements are not printed.
std::string PrintXml(const TiXmlDocument& document);

// Escapes an attribute value: "&" (unless it starts "&#x"), "<", ">", the
// double quote and the apostrophe as entities, bytes outside 0x20..0x7E as
// "&#xXX;".
std::string EscapeAttributeValue(std::string_view value);

}  // namespace kestrane
