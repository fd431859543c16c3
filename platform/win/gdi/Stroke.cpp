#include "platform/win/gdi/Stroke.h"

#include <algorithm>
#include <cmath>

#include "platform/win/gdi/PenObject.h"

namespace win {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMiterLimit = 10.0;

using Polygon = std::vector<PointF>;

double signedArea(const Polygon& p) {
  double area = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const PointF& a = p[i];
    const PointF& b = p[(i + 1) % p.size()];
    area += a.x * b.y - b.x * a.y;
  }
  return area / 2;
}

void addOriented(std::vector<Polygon>& out, Polygon polygon) {
  const double area = signedArea(polygon);
  if (std::fabs(area) < 1e-12) return;
  if (area < 0) std::reverse(polygon.begin(), polygon.end());
  out.push_back(std::move(polygon));
}

void addCircle(std::vector<Polygon>& out, PointF centre, double radius) {
  const int sides = std::clamp(static_cast<int>(2 * kPi * radius / 1.5), 8, 64);
  Polygon circle;
  for (int i = 0; i < sides; ++i) {
    const double angle = 2 * kPi * i / sides;
    circle.push_back({centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
  }
  addOriented(out, std::move(circle));
}

PointF normalOf(PointF a, PointF b, double half) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  return {-dy / length * half, dx / length * half};
}

void addCap(std::vector<Polygon>& out, PointF end, PointF towards, double half, DWORD cap) {
  if (cap == PS_ENDCAP_ROUND) {
    addCircle(out, end, half);
  } else if (cap == PS_ENDCAP_SQUARE) {
    const PointF n = normalOf(end, towards, half);
    const PointF back{-n.y, n.x};  // points away from `towards`
    addOriented(out, {{end.x + n.x, end.y + n.y},
                      {end.x + n.x + back.x, end.y + n.y + back.y},
                      {end.x - n.x + back.x, end.y - n.y + back.y},
                      {end.x - n.x, end.y - n.y}});
  }
}

void addJoin(std::vector<Polygon>& out, PointF before, PointF at, PointF after, double half, DWORD join) {
  if (join == PS_JOIN_ROUND) {
    addCircle(out, at, half);
    return;
  }
  const PointF n1 = normalOf(before, at, half), n2 = normalOf(at, after, half);
  for (const double side : {1.0, -1.0}) {
    const PointF p1{at.x + side * n1.x, at.y + side * n1.y};
    const PointF p2{at.x + side * n2.x, at.y + side * n2.y};
    const double mx = n1.x + n2.x, my = n1.y + n2.y;
    const double m2 = mx * mx + my * my;
    // The miter tip lies along n1 + n2 at half / cos(angle / 2) from the vertex.
    if (join == PS_JOIN_MITER && m2 > 1e-12) {
      const double scale = 2 * half * half / m2;
      const PointF tip{at.x + side * mx * scale, at.y + side * my * scale};
      if (std::hypot(tip.x - at.x, tip.y - at.y) <= kMiterLimit * half) {
        addOriented(out, {at, p1, tip, p2});
        continue;
      }
    }
    addOriented(out, {at, p1, p2});
  }
}

// Strokes one run of points without dashes.
void strokeSolid(std::vector<Polygon>& out, const std::vector<PointF>& points, bool closed, const StrokeStyle& style) {
  const double half = style.width / 2;
  std::vector<PointF> pts;
  for (const PointF& p : points)
    if (pts.empty() || p.x != pts.back().x || p.y != pts.back().y) pts.push_back(p);
  if (closed && pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y) pts.pop_back();
  if (pts.size() == 1) {
    // A zero-length stroke shows as its caps.
    if (style.cap == PS_ENDCAP_ROUND) addCircle(out, pts[0], half);
    else if (style.cap == PS_ENDCAP_SQUARE)
      addOriented(out, {{pts[0].x - half, pts[0].y - half}, {pts[0].x + half, pts[0].y - half},
                        {pts[0].x + half, pts[0].y + half}, {pts[0].x - half, pts[0].y + half}});
    return;
  }
  if (pts.size() < 2) return;
  const std::size_t segments = closed && pts.size() > 2 ? pts.size() : pts.size() - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    const PointF a = pts[i], b = pts[(i + 1) % pts.size()];
    const PointF n = normalOf(a, b, half);
    addOriented(out, {{a.x + n.x, a.y + n.y}, {b.x + n.x, b.y + n.y}, {b.x - n.x, b.y - n.y}, {a.x - n.x, a.y - n.y}});
  }
  const std::size_t n = pts.size();
  if (closed && n > 2) {
    for (std::size_t i = 0; i < n; ++i) addJoin(out, pts[(i + n - 1) % n], pts[i], pts[(i + 1) % n], half, style.join);
  } else {
    for (std::size_t i = 1; i + 1 < n; ++i) addJoin(out, pts[i - 1], pts[i], pts[i + 1], half, style.join);
    addCap(out, pts.front(), pts[1], half, style.cap);
    addCap(out, pts.back(), pts[n - 2], half, style.cap);
  }
}

// Walks a dash pattern along a polyline, stroking each "on" piece as an open
// run. Lengths outside the area of interest are skipped arithmetically, so a
// dashed line of huge length costs only its visible dashes.
class DashWalker {
 public:
  DashWalker(std::vector<Polygon>& out, const StrokeStyle& style) : out_(out), style_(style) {
    for (double d : style.dashes) patternLength_ += d;
    left_ = style.dashes[0];
  }

  void start(PointF p) {
    if (on()) piece_.push_back(p);
  }

  void walk(PointF a, PointF b) {
    double remaining = std::hypot(b.x - a.x, b.y - a.y);
    while (remaining > 0) {
      const double step = std::min(left_, remaining);
      const double t = step / remaining;
      a = {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
      remaining -= step;
      left_ -= step;
      if (on()) piece_.push_back(a);
      if (left_ <= 1e-9) nextDash(a);
    }
  }

  // Moves along a to b without drawing; the dash state advances.
  void skip(PointF a, PointF b) {
    finish();
    double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length >= left_) {
      length -= left_;
      dash_ = (dash_ + 1) % style_.dashes.size();
      left_ = style_.dashes[dash_];
      length = std::fmod(length, patternLength_);
      while (length >= left_) {
        length -= left_;
        dash_ = (dash_ + 1) % style_.dashes.size();
        left_ = style_.dashes[dash_];
      }
    }
    left_ -= length;
    start(b);
  }

  void finish() {
    if (on() && piece_.size() > 1) strokeSolid(out_, piece_, false, style_);
    piece_.clear();
  }

 private:
  bool on() const { return (dash_ & 1) == 0; }
  void nextDash(PointF at) {
    if (on()) strokeSolid(out_, piece_, false, style_);
    piece_.clear();
    dash_ = (dash_ + 1) % style_.dashes.size();
    left_ = style_.dashes[dash_];
    if (on()) piece_.push_back(at);
  }

  std::vector<Polygon>& out_;
  const StrokeStyle& style_;
  double patternLength_ = 0;
  std::size_t dash_ = 0;
  double left_ = 0;
  std::vector<PointF> piece_;
};

// The part [t0, t1] of segment a-b inside the box (Liang-Barsky); false when none.
bool clipSegment(PointF a, PointF b, const StrokeStyle& style, double& t0, double& t1) {
  t0 = 0;
  t1 = 1;
  if (!style.clipped) return true;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - style.clipLeft, style.clipRight - a.x, a.y - style.clipTop, style.clipBottom - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, r);
    else t1 = std::min(t1, r);
  }
  return t0 <= t1;
}

void strokeDashed(std::vector<Polygon>& out, std::vector<PointF> pts, bool closed, const StrokeStyle& style) {
  if (closed && !pts.empty()) pts.push_back(pts.front());
  double patternLength = 0;
  for (double d : style.dashes) patternLength += d;
  if (!(patternLength > 0)) return strokeSolid(out, pts, false, style);
  DashWalker walker(out, style);
  if (!pts.empty()) walker.start(pts[0]);
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
    const PointF a = pts[i], b = pts[i + 1];
    auto at = [&](double t) { return PointF{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
    double t0, t1;
    if (!clipSegment(a, b, style, t0, t1)) {
      walker.skip(a, b);
      continue;
    }
    if (t0 > 0) walker.skip(a, at(t0));
    walker.walk(at(t0), at(t1));
    if (t1 < 1) walker.skip(at(t1), b);
  }
  walker.finish();
}

}  // namespace

std::vector<std::vector<PointF>> strokePolyline(const std::vector<PointF>& points, bool closed,
                                                const StrokeStyle& style) {
  std::vector<Polygon> out;
  if (points.empty() || !(style.width > 0)) return out;
  if (style.dashes.empty()) strokeSolid(out, points, closed, style);
  else strokeDashed(out, points, closed, style);
  return out;
}

}  // namespace win
