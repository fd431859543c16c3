#include "rulestool/XmlPrinter.h"

#include <tinyxml.h>

namespace kestrane {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendAttribute(std::string& out, const char* name, const char* value) {
  out.append(" ").append(name).append("=\"").append(EscapeAttributeValue(value)).append("\"");
}

void printDeclaration(std::string& out, const TiXmlDeclaration& declaration) {
  out += "<?xml";
  if (*declaration.Version() != '\0') appendAttribute(out, "version", declaration.Version());
  if (*declaration.Encoding() != '\0') appendAttribute(out, "encoding", declaration.Encoding());
  if (*declaration.Standalone() != '\0') appendAttribute(out, "standalone", declaration.Standalone());
  out += " ?>";
}

void printElement(std::string& out, const TiXmlElement& element, int depth) {
  const std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
  out.append(indent).append("<").append(element.Value());
  for (const TiXmlAttribute* attribute = element.FirstAttribute(); attribute != nullptr;
       attribute = attribute->Next()) {
    appendAttribute(out, attribute->Name(), attribute->Value());
  }
  const TiXmlElement* child = element.FirstChildElement();
  if (child == nullptr) {
    out += " />";
    return;
  }
  out += ">";
  for (; child != nullptr; child = child->NextSiblingElement()) {
    out += "\n";
    printElement(out, *child, depth + 1);
  }
  out.append("\n").append(indent).append("</").append(element.Value()).append(">");
}

}  // namespace

std::string EscapeAttributeValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    auto c = static_cast<unsigned char>(value[i]);
    switch (c) {
      case '&': out += value.substr(i, 3) == "&#x" ? "&" : "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        if (c < 0x20 || c > 0x7E) {
          out.append("&#x").append(1, kHexDigits[c >> 4]).append(1, kHexDigits[c & 0xF]).append(";");
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

std::string PrintXml(const TiXmlDocument& document) {
  std::string out;
  for (const TiXmlNode* node = document.FirstChild(); node != nullptr; node = node->NextSibling()) {
    if (const TiXmlDeclaration* declaration = node->ToDeclaration()) {
      printDeclaration(out, *declaration);
    } else if (const TiXmlElement* element = node->ToElement()) {
      printElement(out, *element, 0);
    } else {
      continue;
    }
    out += "\n";
  }
  return out;
}

}  // namespace kestrane
