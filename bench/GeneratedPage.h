#pragma once
// Large generated documents that look like real pages, deterministic for a
// given size:
// - MakeDocument: nested tables, links with several attributes, paragraphs of
//   prose with a few character references, comments and line breaks;
// - BookPage: a light book (headings, long paragraphs, lists, a little code);
// - DocumentationPage: a page as dense as real manuals and API references.
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

inline const char* const kBookWords[] = {"the",   "chapter", "garden", "river", "window", "letter",
                                        "morning", "harbour", "quiet",  "story", "light",  "road"};

inline std::string BookSentence(std::mt19937& random, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i) text += ' ';
    const int pick = static_cast<int>(random() % 12);
    if (random() % 25 == 0) {
      text += "<a href=\"ch" + std::to_string(random() % 100) + ".htm\">" + kBookWords[pick] + "</a>";
    } else if (random() % 30 == 0) {
      text += std::string("<font color=\"#803000\"><i>") + kBookWords[pick] + "</i></font>";
    } else {
      text += kBookWords[pick];
    }
  }
  return text + ".";
}

// About 6 tags and 1 attribute per KB: long paragraphs of prose.
inline std::string BookPage(std::size_t targetBytes) {
  std::mt19937 random(77);
  std::string html = "<html><head><title>Book</title></head><body>\n";
  for (int chapter = 0; html.size() < targetBytes; ++chapter) {
    html += "<h2>Chapter " + std::to_string(chapter) + "</h2>\n";
    for (int p = 0; p < 6; ++p) html += "<p>" + BookSentence(random, 60 + static_cast<int>(random() % 60)) + "</p>\n";
    html += "<ul>";
    for (int i = 0; i < 4; ++i) html += "<li>" + BookSentence(random, 8) + "</li>";
    html += "</ul>\n<pre>for (int i = 0; i &lt; n; ++i)\n    total += values[i];\nreturn total;</pre>\n";
    html += "<table border=1><tr><td>" + BookSentence(random, 3) + "</td><td>" + std::to_string(chapter) +
            "</td></tr><tr><td>" + BookSentence(random, 3) + "</td><td>2</td></tr></table>\n";
  }
  return html + "</body></html>\n";
}

// A style sheet of about 150 rules, mostly class and descendant selectors, as
// documentation sites have; some match nothing on the page.
inline std::string DocumentationStyle() {
  std::string css =
      "body { font-family: Arial, sans-serif; margin: 8px; }\n"
      "h1, h2, h3 { color: #203060; }\n"
      "h2.section { border-bottom: 1px solid #c0c0c0; margin-top: 18px; }\n"
      "h3.member { font-size: 110%; margin-bottom: 2px; }\n"
      "p.intro { font-style: italic; }\n"
      "div.api { margin-left: 16px; }\n"
      "div.api dt { font-weight: bold; }\n"
      "div.api dd { margin-left: 24px; }\n"
      "div.note { background-color: #fff8d0; border: 1px solid #e0d080; padding: 4px; }\n"
      "div.note p { margin: 2px; }\n"
      "pre.code { background-color: #f4f4f4; border: 1px solid #d0d0d0; padding: 6px; }\n"
      "pre.code .kw { color: #0000a0; font-weight: bold; }\n"
      "pre.code .ty { color: #207020; }\n"
      "pre.code .str { color: #a02020; }\n"
      "pre.code .num { color: #a05000; }\n"
      "pre.code .cm { color: #707070; font-style: italic; }\n"
      "pre.code .fn { color: #600060; }\n"
      "code.name { font-family: 'Courier New', monospace; color: #303030; }\n"
      "span.term { font-weight: bold; }\n"
      "span.since { color: #808080; font-size: 90%; }\n"
      "a.ref { color: #0040a0; text-decoration: none; }\n"
      "a.ext { color: #0040a0; }\n"
      "table.params { border-collapse: collapse; margin: 4px 0; }\n"
      "table.params th { background-color: #e8e8f0; text-align: left; }\n"
      "table.params td { padding: 2px 6px; }\n"
      "table.params td.type { font-family: 'Courier New', monospace; }\n"
      "ul.see li { margin-bottom: 1px; }\n"
      "ul.see a { color: #404080; }\n"
      "#nav a { color: #ffffff; }\n"
      "#footer p { font-size: 80%; }\n";
  // The rest: rules of a large site's sheet, for parts this page lacks.
  const char* const parts[] = {"sidebar", "toc", "crumb", "banner", "search", "menu", "tab", "badge"};
  const char* const inner[] = {"a", "li", "span", "p", "div", "em"};
  for (int i = 0; i < 120; ++i) {
    const std::string part = std::string(parts[i % 8]) + std::to_string(i / 8);
    if (i % 3 == 0) {
      css += "." + part + " { color: #" + std::to_string(100000 + i * 7919 % 800000) + "; }\n";
    } else if (i % 3 == 1) {
      css += "div." + part + " " + inner[i % 6] + " { margin: " + std::to_string(i % 9) + "px; }\n";
    } else {
      css += "." + part + " ." + parts[(i + 3) % 8] + " " + inner[(i + 1) % 6] + " { padding: 1px; }\n";
    }
  }
  return css;
}

// A few lines of code with its keywords, types, strings, numbers and comments
// coloured by class SPANs.
inline std::string ColouredCode(std::mt19937& random, int lines) {
  static const char* const kNames[] = {"count", "window", "buffer", "index", "total", "rule", "folder", "limit"};
  std::string code = "<pre class=\"code\">";
  for (int line = 0; line < lines; ++line) {
    const char* name = kNames[random() % 8];
    const char* other = kNames[random() % 8];
    switch (random() % 7) {
      case 5:
        code += "  " + std::string(name) + " += " + other + " * 2;";
        break;
      case 6:
        code += "  " + std::string(other) + ".Add(" + name + ");";
        break;
      case 0:
        code += "<span class=\"kw\">for</span> (int " + std::string(name) + " = 0; " + name + " &lt; " + other + "; ++" + name + ")";
        break;
      case 1:
        code += "    Report(<span class=\"str\">\"" + std::string(name) + " failed\"</span>, " +
                other + ");";
        break;
      case 2:
        code += "<span class=\"cm\">// " + std::string(name) + " is kept until the " + other + " ends</span>";
        break;
      case 3:
        code += "  <span class=\"ty\">const auto</span> " + std::string(name) + " = " + other +
                ".<span class=\"fn\">Find</span>(" + std::to_string(random() % 100) + ");";
        break;
      default:
        code += "  <span class=\"kw\">return</span> " + std::string(name) + " + " + other + ";";
        break;
    }
    code += "\n";
  }
  return code + "</pre>\n";
}

// A paragraph of reference prose: terms, inline code, links and notes.
inline std::string ReferenceProse(std::mt19937& random, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i) text += ' ';
    const char* word = kBookWords[random() % 12];
    switch (random() % 72) {
      case 0:
        text += "<a href=\"api" + std::to_string(random() % 400) + ".htm#m" + std::to_string(random() % 50) +
                "\" class=\"ref\">" + word + "</a>";
        break;
      case 5: text += "<a href=\"#m" + std::to_string(random() % 50) + "\">" + word + "</a>"; break;
      case 1: text += "<code>" + std::string(word) + "()</code>"; break;
      case 2: text += "<b>" + std::string(word) + "</b>"; break;
      case 3: text += "<span class=\"term\">" + std::string(word) + "</span>"; break;
      case 4: text += "<i>" + std::string(word) + "</i>"; break;
      case 6: text += "<tt>" + std::string(word) + "</tt>"; break;
      case 7: text += "<em>" + std::string(word) + "</em>"; break;
      default: text += word; break;
    }
  }
  return text + ".";
}

// About 13-22 tags and 5-13 attributes per KB, a CLASS on about a third of the
// elements, a style sheet of about 150 rules and a PRE block of class-coloured
// code every 2 KB or so: as dense as real manuals and API references.
inline std::string DocumentationPage(std::size_t targetBytes) {
  std::mt19937 random(31);
  std::string html =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html><head><title>Reference</title>\n"
      "<style type=\"text/css\">\n" +
      DocumentationStyle() +
      "</style>\n</head>\n<body>\n<div id=\"nav\"><a href=\"index.htm\">Contents</a> | <a "
      "href=\"classes.htm\">Classes</a></div>\n";
  for (int section = 0; html.size() < targetBytes; ++section) {
    const std::string number = std::to_string(section);
    html += "<h2 class=\"section\" id=\"s" + number + "\">" + number + ". The " + kBookWords[section % 12] + " " +
            kBookWords[(section / 12) % 12] + "</h2>\n";
    html += "<p class=\"intro\">" + ReferenceProse(random, 50 + static_cast<int>(random() % 40)) + "</p>\n";
    html += "<div class=\"api\"><dl>\n";
    html += "<dt><a name=\"m" + number + "_0\"></a><code>" + kBookWords[random() % 12] + "(int " +
            kBookWords[random() % 12] + ")</code> <span class=\"since\">since 2.1</span></dt>\n<dd>" +
            ReferenceProse(random, 15 + static_cast<int>(random() % 15)) + "</dd>\n";
    html += "</dl></div>\n" + ColouredCode(random, 4 + static_cast<int>(random() % 5));
    if (section % 3 == 0) {
      html += "<table class=\"params\" border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\n<tr><th>Name</th><th>Type</th>"
              "<th>Meaning</th></tr>\n";
      for (int r = 0; r < 2; ++r) {
        html += "<tr><td><code>" + std::string(kBookWords[random() % 12]) + "</code></td><td class=\"type\">int</td><td>" +
                ReferenceProse(random, 6) + "</td></tr>\n";
      }
      html += "</table>\n";
    } else if (section % 3 == 1) {
      html += "<div class=\"note\"><p><b>Note:</b> " + ReferenceProse(random, 20) + "</p></div>\n";
    }
    html += "<p>" + ReferenceProse(random, 50 + static_cast<int>(random() % 50)) + "</p>\n<ul class=\"see\">";
    for (int i = 0; i < 2; ++i) {
      html += "<li><a href=\"api" + std::to_string(random() % 400) + ".htm\">" + kBookWords[random() % 12] + "</a></li>";
    }
    html += "</ul>\n";
  }
  return html + "<div id=\"footer\"><p>Generated reference.</p></div>\n</body></html>\n";
}

}  // namespace bench
