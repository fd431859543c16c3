#include "engine/text/SectionDump.h"

#include <cstdio>

#include "engine/text/TSection.h"

namespace engine {
namespace {

void AppendEscaped(std::string& out, std::u16string_view text, int start, int count) {
  char buffer[16];
  for (int i = start; i < start + count && i < static_cast<int>(text.size()); ++i) {
    const char16_t ch = text[static_cast<std::size_t>(i)];
    if (ch < 32) {
      std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(ch));
      out += buffer;
    } else if (ch < 127) {
      if (ch == u'|' || ch == u'\\') out += '\\';
      out += static_cast<char>(ch);
    } else {
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(ch));
      out += buffer;
    }
  }
}

}  // namespace

std::string DumpTextLines(const TSection& section, int sectionX) {
  std::string out;
  char buffer[160];
  for (const auto& line : section.Lines) {
    const long long baseline = static_cast<long long>(line.Y) + line.SpaceBefore + line.LineHt - line.Descent;
    std::snprintf(buffer, sizeof buffer, "line start=%d len=%d x=%d y=%d w=%d h=%d base=%lld text=|",
                  section.FirstCharPos + line.Start, line.Ln, sectionX + line.LineIndent, line.Y,
                  line.DrawWidth, line.Height(), baseline);
    out += buffer;
    AppendEscaped(out, section.Text, line.Start, line.Ln);
    out += "|\n";
  }
  return out;
}

}  // namespace engine
