#include "engine/objects/TMapItem.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "engine/html/TAttributeList.h"
#include "engine/html/TUrlTarget.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/RegionObject.h"

namespace engine {

namespace {

constexpr int kCoordLimit = 1 << 24;
constexpr std::size_t kMaxTokenLength = 20;

enum class Shape { Rect, Circle, Polygon };

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int TokenValue(const std::string& token) {
  char* end = nullptr;
  const long long value = std::strtoll(token.c_str(), &end, 10);
  if (end == token.c_str() || *end != '\0') return 0;  // not a number reads as 0
  return static_cast<int>(std::clamp<long long>(value, -kCoordLimit, kCoordLimit));
}

win::HRGN MakeRegion(Shape shape, const std::vector<int>& n) {
  switch (shape) {
    case Shape::Rect: {
      if (n.size() < 4) return 0;
      const win::RECT r{n[0], n[1], n[2] + 1, n[3] + 1};
      return win::CreateRectRgnIndirect(&r);
    }
    case Shape::Circle: {
      if (n.size() < 3) return 0;
      const win::RECT r{n[0] - n[2], n[1] - n[2], n[0] + n[2] + 1, n[1] + n[2] + 1};
      return win::CreateEllipticRgnIndirect(&r);
    }
    case Shape::Polygon: {
      if (n.size() < 6) return 0;
      std::vector<win::POINT> points;
      for (std::size_t i = 0; i + 1 < n.size(); i += 2) points.push_back(win::POINT{n[i], n[i + 1]});
      return win::CreatePolygonRgn(points.data(), static_cast<int>(points.size()), win::WINDING);
    }
  }
  return 0;
}

}  // namespace

std::vector<int> ReadAreaCoords(const std::string& text) {
  std::vector<int> numbers;
  std::size_t pos = 0;
  std::size_t end = text.size();
  while (pos < end && IsBlank(text[pos])) ++pos;
  while (end > pos && IsBlank(text[end - 1])) --end;
  while (pos < end && static_cast<int>(numbers.size()) < TMapItem::kMaxCoords) {
    const std::size_t comma = text.find(',', pos);
    std::size_t blank = pos;
    while (blank < end && !IsBlank(text[blank])) ++blank;
    std::size_t stop = end;
    if (comma < end && comma < blank) stop = comma;
    else if (blank < end) stop = blank;
    std::string token = text.substr(pos, std::min(stop - pos, kMaxTokenLength));
    if (token.empty()) break;
    numbers.push_back(TokenValue(token));
    pos = stop;
    while (pos < end && (text[pos] == ',' || IsBlank(text[pos]))) ++pos;
  }
  return numbers;
}

TMapItem::~TMapItem() {
  for (const Area& area : areas_) win::DeleteObject(area.Region);
}

void TMapItem::DefineArea(const TAttributeList& attributes) {
  if (AreaCount() >= kMaxAreas) return;
  Area area{};
  Shape shape = Shape::Rect;
  std::vector<int> numbers;
  for (const auto& item : attributes) {
    const TAttribute& a = *item;
    switch (a.Symbol) {
      case symTitle: area.Title = a.ValueText; break;
      case symHref: area.Url = a.ValueText; break;
      case symTarget: area.Target = a.ValueText; break;
      case symNohref: area.Url.clear(); break;
      case symShape: {
        std::string kind = a.ValueText.substr(0, 4);
        for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (kind == "circ") shape = Shape::Circle;
        else if (kind == "poly") shape = Shape::Polygon;
        break;
      }
      case symCoords: numbers = ReadAreaCoords(a.ValueText); break;
      default: break;
    }
  }
  area.Region = MakeRegion(shape, numbers);
  if (area.Region == 0) return;
  areas_.push_back(std::move(area));
}

bool TMapItem::FindAreaAt(int X, int Y, std::unique_ptr<TUrlTarget>& urlTarget, std::string& title) const {
  for (const Area& area : areas_) {
    if (!win::PtInRegion(area.Region, X, Y)) continue;
    if (area.Url.empty()) return false;
    urlTarget = std::make_unique<TUrlTarget>();
    urlTarget->Url = area.Url;
    urlTarget->Target = area.Target;
    title = area.Title;
    return true;
  }
  return false;
}

}  // namespace engine
