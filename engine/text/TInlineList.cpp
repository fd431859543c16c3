#include "engine/text/TInlineList.h"

#include <algorithm>

#include "engine/css/TProperties.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/text/TSection.h"

namespace engine {
namespace {

// Any side style sets the element's border style. Elements inside a span take
// the span's side styles but not its border style, so they get no box of their own.
bool HasBorderStyle(const TProperties& properties) { return properties.GetBorderStyle() != 0; }

// Source position of a section's last character.
int LastSource(const TSection& section) {
  const IndexObj& last = section.SourceIndex.back();
  return last.SourcePos + (section.Len - 1 - last.Pos);
}

// Laid out in the latest layout of its document (a section of a block that is
// not displayed keeps an old cycle) and holding positions.
bool Answers(const TSection& section) {
  return !section.LayoutFailed && section.Len > 0 && !section.SourceIndex.empty() && section.Document &&
         section.LayoutCycle == section.Document->LayoutCycle;
}

}  // namespace

void TInlineList::NeedsConverting() { NeedsConvert = true; }

void TInlineList::Clear() {
  NeedsConvert = true;
  for (TSection* section : sections_)
    if (section) section->InlineSlot = -1;
  sections_.clear();
  records_.clear();
  open_.clear();
  byStart_.clear();
  maxEnd_.clear();
}

int TInlineList::StartOf(int index) {
  if (index < 0 || index >= Count()) return kNoInlinePosition;
  if (NeedsConvert) Convert();
  return records_[static_cast<std::size_t>(index)].StartB;
}

int TInlineList::EndOf(int index) {
  if (index < 0 || index >= Count()) return kNoInlinePosition;
  if (NeedsConvert) Convert();
  return records_[static_cast<std::size_t>(index)].EndB;
}

void TInlineList::MarkStart(int sourcePos, const TProperties& properties) {
  // A refused push hands over its parent's entry, which has its box already.
  if (!HasBorderStyle(properties) || open_.count(properties.Serial) != 0) return;
  InlineRec record;
  record.ID = properties.Serial;
  record.StartBDoc = sourcePos;
  TVMarginArray margins;
  GetMarginArray(properties, margins);
  record.BoxValues = ComputeBoxValues(margins, 200, 200, properties.EmSize, properties.ExSize).Values;
  record.TextColor = properties.GetColor();
  open_[record.ID] = records_.size();
  records_.push_back(record);
  NeedsConvert = true;
}

void TInlineList::MarkEnd(int sourcePos, const TProperties& properties) {
  const auto open = open_.find(properties.Serial);
  if (open == open_.end()) return;
  records_[open->second].EndBDoc = sourcePos;
  open_.erase(open);
  NeedsConvert = true;
}

void TInlineList::NoteLaidOut(TSection* section) {
  // A copy lays out to the same positions as its source: the source's sections serve both.
  if (section->InlineSlot >= 0 || !section->Document || section->Document->IsCopy) return;
  section->InlineSlot = static_cast<int>(sections_.size());
  sections_.push_back(section);
}

void TInlineList::Forget(const TSection* section) {
  const int slot = section->InlineSlot;
  if (slot >= 0 && slot < static_cast<int>(sections_.size()) && sections_[static_cast<std::size_t>(slot)] == section)
    sections_[static_cast<std::size_t>(slot)] = nullptr;
}

// The root's FindDocPos over the sections noted: the first section in
// document order whose last source position reaches sourcePos answers.
int TInlineList::DocPos(int sourcePos, const std::vector<int>& runningLast) const {
  const auto it = std::lower_bound(runningLast.begin(), runningLast.end(), sourcePos);
  if (it == runningLast.end()) {
    const TSection* last = answering_.back();
    const int end = last->FirstCharPos + last->Len;
    return last->Document ? std::max(end, last->Document->CharCount) : end;
  }
  TSection* section = answering_[static_cast<std::size_t>(it - runningLast.begin())];
  return section->SourcePosToDocPos(sourcePos, false);
}

void TInlineList::Convert() {
  NeedsConvert = false;
  std::erase(sections_, nullptr);
  std::vector<TSection*> answering;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    sections_[i]->InlineSlot = static_cast<int>(i);
    if (Answers(*sections_[i])) answering.push_back(sections_[i]);
  }
  std::stable_sort(answering.begin(), answering.end(),
                   [](const TSection* a, const TSection* b) { return a->FirstCharPos < b->FirstCharPos; });
  std::vector<int> runningLast;
  runningLast.reserve(answering.size());
  for (const TSection* section : answering) {
    const int last = LastSource(*section);
    runningLast.push_back(runningLast.empty() ? last : std::max(runningLast.back(), last));
  }
  answering_ = std::move(answering);
  for (InlineRec& record : records_) {
    if (answering_.empty()) {
      record.StartB = record.EndB = 0;
      continue;
    }
    record.StartB = DocPos(record.StartBDoc, runningLast);
    record.EndB = record.EndBDoc < 0 ? DocPos(runningLast.back() + 1, runningLast) : DocPos(record.EndBDoc, runningLast);
    // An empty element still gets a box one character wide.
    if (record.StartB == record.EndB) --record.StartB;
  }
  answering_.clear();
  BuildIndex();
}

void TInlineList::BuildIndex() {
  byStart_.resize(records_.size());
  for (std::size_t i = 0; i < byStart_.size(); ++i) byStart_[i] = i;
  std::stable_sort(byStart_.begin(), byStart_.end(),
                   [this](std::size_t a, std::size_t b) { return records_[a].StartB < records_[b].StartB; });
  maxEnd_.assign(4 * std::max<std::size_t>(1, byStart_.size()), 0);
  // Bottom-up fill of the recursive layout Collect walks.
  struct Builder {
    TInlineList& list;
    int Fill(std::size_t node, std::size_t lo, std::size_t hi) {
      if (hi - lo == 1) return list.maxEnd_[node] = list.records_[list.byStart_[lo]].EndB;
      const std::size_t mid = lo + (hi - lo) / 2;
      return list.maxEnd_[node] = std::max(Fill(2 * node, lo, mid), Fill(2 * node + 1, mid, hi));
    }
  };
  if (!byStart_.empty()) Builder{*this}.Fill(1, 0, byStart_.size());
}

void TInlineList::Collect(std::size_t node, std::size_t lo, std::size_t hi, std::size_t limit, int from,
                          std::vector<std::size_t>& found) const {
  if (lo >= limit || maxEnd_[node] <= from) return;
  if (hi - lo == 1) {
    found.push_back(byStart_[lo]);
    return;
  }
  const std::size_t mid = lo + (hi - lo) / 2;
  Collect(2 * node, lo, mid, limit, from, found);
  Collect(2 * node + 1, mid, hi, limit, from, found);
}

void TInlineList::BoxesMeeting(int from, int to, std::vector<const InlineRec*>& boxes) {
  boxes.clear();
  if (records_.empty()) return;
  if (NeedsConvert) Convert();
  const auto limit = std::partition_point(byStart_.begin(), byStart_.end(),
                                          [&](std::size_t index) { return records_[index].StartB < to; });
  std::vector<std::size_t> found;
  Collect(1, 0, byStart_.size(), static_cast<std::size_t>(limit - byStart_.begin()), from, found);
  std::sort(found.begin(), found.end());
  for (std::size_t index : found) boxes.push_back(&records_[index]);
}

void MarkInlineBox(TSectionList& root, int sourcePos, const TProperties& properties, bool start) {
  TInlineList* list = InlineListOf(&root);
  if (start) {
    if (!HasBorderStyle(properties)) return;
    if (!list) {
      auto made = std::make_shared<TInlineList>();
      list = made.get();
      root.InlineList = std::move(made);
    }
    list->MarkStart(sourcePos, properties);
  } else if (list) {
    list->MarkEnd(sourcePos, properties);
  }
}

TInlineList* InlineListOf(const TSectionList* root) {
  return root ? dynamic_cast<TInlineList*>(root->InlineList.get()) : nullptr;
}

void InstallInlineBoxHooks() {
  TBuilderSeams& seams = BuilderSeams();
  seams.InlineBoxStart = [](TProperties& properties, int sourcePos) {
    if (buildState.Root) MarkInlineBox(*buildState.Root, sourcePos, properties, true);
  };
  seams.InlineBoxEnd = [](const TProperties& properties, int sourcePos) {
    if (buildState.Root) MarkInlineBox(*buildState.Root, sourcePos, properties, false);
  };
}

void RemoveInlineBoxHooks() {
  BuilderSeams().InlineBoxStart = nullptr;
  BuilderSeams().InlineBoxEnd = nullptr;
}

}  // namespace engine
