#pragma once
// A large generated document that looks like real pages: nested tables, links
// with several attributes, paragraphs of prose with a few character
// references, comments and line breaks. Deterministic for a given size.
#include <random>
#include <string>

namespace bench {

inline const char* const kWords1252[] = {"the", "message", "rules", "caf\xE9", "window", "se\xF1or", "document",
                                  "filter", "\x93quoted\x94", "folder", "na\xEFve", "server"};
inline const char* const kWordsUtf8[] = {"the", "message", "rules", "caf\xC3\xA9", "window", "se\xC3\xB1or", "document",
                                  "filter", "\xE2\x80\x9Cquoted\xE2\x80\x9D", "folder", "\xE6\x97\xA5\xE6\x9C\xAC",
                                  "server"};

inline std::string Paragraph(std::mt19937& random, const char* const* words) {
  std::string text;
  const int count = 20 + static_cast<int>(random() % 60);
  for (int i = 0; i < count; ++i) {
    text += words[random() % 12];
    if (random() % 40 == 0) text += " &amp;";
    if (random() % 90 == 0) text += " &#8211;";
    text += random() % 15 == 0 ? "\r\n" : " ";
  }
  return text;
}

inline std::string MakeDocument(std::size_t targetBytes, const char* const* words) {
  std::mt19937 random(1234);
  std::string html =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html><head><title>Rules</title>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n</head>\r\n"
      "<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000CC\">\r\n";
  int row = 0;
  while (html.size() < targetBytes) {
    html += "<!-- section " + std::to_string(row) + " -->\r\n";
    html += "<table width=\"100%\" border=0 cellpadding=\"2\" cellspacing=0 class=\"list\">\r\n";
    for (int r = 0; r < 4; ++r, ++row) {
      html += "  <tr valign=top>\r\n    <td width=\"30%\" class=\"name\"><a href=\"rule" + std::to_string(row) +
              ".htm\" target=\"main\" title=\"Open rule\">Rule " + std::to_string(row) + "</a></td>\r\n";
      html += "    <td><font face=\"Arial\" size=2>" + Paragraph(random, words) + "</font></td>\r\n  </tr>\r\n";
    }
    html += "</table>\r\n<p align=left>" + Paragraph(random, words) + "<br>\r\n<b>" + Paragraph(random, words) +
            "</b></p>\r\n<img src=\"images/spacer.gif\" width=1 height=8 alt=\"\">\r\n";
  }
  html += "</body></html>\r\n";
  return html;
}

}  // namespace bench
