#pragma once
// TMapItem: one client-side image map (MAP with its AREA elements). Each
// area is a region in image coordinates with its link, target and title.
#include <memory>
#include <string>
#include <vector>

#include "engine/document/DocumentSeams.h"
#include "platform/win/gdi/GdiObject.h"

namespace engine {

class TAttributeList;
class TUrlTarget;

class TMapItem : public IDocumentPart {
 public:
  static constexpr int kMaxAreas = 1000;
  static constexpr int kMaxCoords = 301;

  TMapItem() = default;
  TMapItem(const TMapItem&) = delete;
  TMapItem& operator=(const TMapItem&) = delete;
  ~TMapItem() override;

  // Adds an area from an AREA element's attributes; one without enough
  // coordinates, or past the limit, is dropped.
  void DefineArea(const TAttributeList& attributes);
  // The first area holding the point decides: its link (true), or false
  // when it has none. The caller owns the new target.
  bool FindAreaAt(int X, int Y, std::unique_ptr<TUrlTarget>& urlTarget, std::string& title) const;
  int AreaCount() const { return static_cast<int>(areas_.size()); }

  std::string MapName;

 private:
  struct Area {
    std::string Url;
    std::string Target;
    std::string Title;
    win::HRGN Region;
  };
  std::vector<Area> areas_;
};

// The COORDS numbers: comma- or blank-separated, at most kMaxCoords, each
// held to a range no region arithmetic overflows.
std::vector<int> ReadAreaCoords(const std::string& text);

}  // namespace engine
