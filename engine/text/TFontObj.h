#pragma once
// TFontObj: one font run of a text section. From Pos on, the section's text
// is drawn with Font; inside a link the run also carries the link, its
// visited and hover looks, and (on the link's first run) the tab stop that
// lets the keyboard reach it.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"
#include "engine/html/TUrlTarget.h"
#include "engine/text/ThtTabcontrol.h"

namespace engine {

class TLinkList;
class TSection;

constexpr std::uint8_t kShiftNone = 0;
constexpr std::uint8_t kShiftSubscript = 8;
constexpr std::uint8_t kShiftSuperscript = 9;

class TFontObj final {
 public:
  // font: shared with other runs and elements; a run that changes its look
  // takes a copy of its own first.
  TFontObj(TSection* section, int pos, std::shared_ptr<const TMyFont> font);
  // For a copied document: the normal look, no link looks, no tab stop.
  TFontObj(TSection* section, const TFontObj& source);
  ~TFontObj();
  TFontObj(const TFontObj&) = delete;
  TFontObj& operator=(const TFontObj&) = delete;

  // Runs on the heap come from a pool of run-sized blocks: a document makes
  // one per font change and frees them all at once.
  static void* operator new(std::size_t size);
  static void operator delete(void* block) noexcept;
  // A run placed in storage of its own (the first run of a section).
  static void* operator new(std::size_t, void* place) noexcept { return place; }

  void ReplaceFont(std::shared_ptr<const TMyFont> font);
  void EnsureLinkLooks();
  // Name, size (points at the screen's pixels per inch), style, colours and
  // charset of info; the metrics are measured again for the new look.
  void ApplyFontInfo(const ThtFontInfo& info);
  // Changing either state applies the matching link look; runs without link
  // looks keep their font.
  void SetVisited(bool value);
  void SetHover(bool value);
  // SetHover on this run and on its neighbours in links that carry the same link.
  void SetLinkHover(TLinkList& links, bool value);
  // The link (or hint) side; runs without one read as having an empty link.
  const TUrlTarget& UrlTarget() const;
  const std::string& Title() const;
  int LineHeight(int& descent) const {
    descent = Descent;
    return FontHeight;
  }
  void UpdateMetrics();
  // How far an italic run's last letter leans out past its advance.
  int Overhang() const { return (Font->Style() & gui::fsItalic) != 0 ? tmHeight / 10 : 0; }
  // Slot in the link list while the run is in one (kept with the link side).
  int LinkIndex() const { return link_ ? link_->LinkIndex : -1; }
  void SetLinkIndex(int index) { LinkPart().LinkIndex = index; }
  bool IsLink() const { return link_ && !link_->UrlTarget.Url.empty(); }
  // Whether the run holds a link side at all (a link, a hint or their empty remains).
  bool HasLinkPart() const { return link_ != nullptr; }
  // The run's link made its own (a record is made on the first change); an
  // empty target or title given to a run without a record makes none.
  TUrlTarget& MutableUrlTarget() { return LinkPart().UrlTarget; }
  void SetUrlTarget(const TUrlTarget& target);
  // Inline: nearly every run is given the empty title and no link looks, and keeps no record.
  void SetTitle(const std::string& title) {
    if (link_ || !title.empty()) LinkPart().Title = title;
  }
  const std::shared_ptr<TFontInfoArray>& LinkLooks() const;
  void SetLinkLooks(std::shared_ptr<TFontInfoArray> looks) {
    if (link_ || looks) LinkPart().LinkLooks = std::move(looks);
  }
  ThtTabcontrol* TabControl() const { return link_ ? link_->TabControl.get() : nullptr; }
  TLinkList* Links() const { return link_ ? link_->Links : nullptr; }
  int LinkY() const { return link_ ? link_->LinkY : 0; }

  // Joins the link list as a link run; makes the tab stop when the list allows
  // it and no earlier run of the same link has one.
  void JoinLinks(TLinkList& links);
  // Leaves the link list; the tab stop goes to next (a later run of the same
  // link) when given, else it leaves the tab list and is freed.
  void LeaveLinks(TFontObj* next);
  void CreateTabControl(int tabIndex);
  // Records the link's Y on the run that holds the link's tab stop.
  void SetLinkY(int y);
  // Gives the tab stop to another run of the same link.
  void HandTabControlTo(TFontObj& next);

  // Ordered for packing: a document holds one run per font change, and most
  // runs are no link (the link side lives in a record only links and hints hold).
  TSection* Section = nullptr;
  int Pos = 0;
  int FontHeight = 0;
  int tmHeight = 0;
  int tmMaxCharWidth = 0;
  int Descent = 0;
  std::uint8_t VerticalShift = kShiftNone;
  bool Visited = false;
  bool Hover = false;
  bool Active = false;
  std::shared_ptr<const TMyFont> Font;  // never changed in place while shared

 private:
  // What only a run inside a link (or one with a hint) carries.
  struct TRunLink {
    // Documents hold link runs by the ten thousand: from a pool, as the runs are.
    static void* operator new(std::size_t size);
    static void operator delete(void* block) noexcept;

    std::string Title;
    TUrlTarget UrlTarget;
    // Shared by the link runs that look alike; never changed once shared.
    std::shared_ptr<TFontInfoArray> LinkLooks;
    std::unique_ptr<ThtTabcontrol> TabControl;
    TLinkList* Links = nullptr;  // the list this run is in, when it is a link run
    // The first run of this run's link in the link list: the one that holds the
    // link's tab stop (kept so that layout need not search the list).
    TFontObj* LinkHead = nullptr;
    int LinkY = 0;
    int LinkIndex = -1;  // slot in Links
  };

  TRunLink& LinkPart();
  // Font made this run's own (a copy when another holder shares it), for a change.
  TMyFont& OwnFont();
  void ApplyLinkLook();
  void BindTabControl();
  // This run and the following runs of the same link in the link list.
  template <class Visit>
  void ForLinkRuns(Visit&& visit);

  std::unique_ptr<TRunLink> link_;
};

// Lets go of the run fonts this thread remembers for the runs to come (they are shared with
// the runs made so far, which keep theirs).
void ForgetRecentRunFonts();

}  // namespace engine
