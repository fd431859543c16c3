// IndentManagerBasic: indent records and the queries over them.
#include "engine/document/IndentManagerBasic.h"

#include <algorithm>

namespace engine {

namespace {

bool Applies(const IndentRec& rec, int Y, const void* currentBlock) {
  return rec.Top <= Y && Y < rec.Bottom && (rec.Owner == nullptr || rec.Owner == currentBlock);
}

}  // namespace

void IndentManagerBasic::Clear() {
  ownEdges_ = false;
  left_.clear();
  right_.clear();
  leftFloatBottom_ = 0;
  rightFloatBottom_ = 0;
  CurrentBlock = nullptr;
}

void IndentManagerBasic::Init(int leftEdge, int rightEdge) {
  LeftEdge = leftEdge;
  RightEdge = rightEdge;
  CurrentBlock = nullptr;
}

int IndentManagerBasic::LeftIndent(int Y) const {
  int best = -99999;
  for (const IndentRec& rec : left_)
    if (Applies(rec, Y, CurrentBlock) && rec.X > best) best = rec.X;
  if (ownEdges_ && Applies(IndentRec{ownLeftX_, ownTop_, kOpenBottom, ownOwner_}, Y, CurrentBlock) && ownLeftX_ > best)
    best = ownLeftX_;
  return best > -99999 ? best + LeftEdge : LeftEdge;
}

int IndentManagerBasic::RightSide(int Y) const {
  int best = 99999;
  for (const IndentRec& rec : right_)
    if (Applies(rec, Y, CurrentBlock) && rec.X < best) best = rec.X;
  if (ownEdges_ && Applies(IndentRec{ownRightX_, ownTop_, kOpenBottom, ownOwner_}, Y, CurrentBlock) &&
      ownRightX_ < best)
    best = ownRightX_;
  return best < 99999 ? best + LeftEdge : RightEdge;
}

int IndentManagerBasic::FloatsBottom() const { return std::max(leftFloatBottom_, rightFloatBottom_); }

void IndentManagerBasic::ClearYs(int& CL, int& CR) const {
  CL = leftFloatBottom_ > 0 ? leftFloatBottom_ + 1 : 0;
  CR = rightFloatBottom_ > 0 ? rightFloatBottom_ + 1 : 0;
}

int IndentManagerBasic::NextFloatEndY(int Y) const {
  int best = kOpenBottom + 1;
  for (const auto* list : {&left_, &right_})
    for (const IndentRec& rec : *list)
      if (rec.Owner == nullptr && rec.Bottom > Y && rec.Bottom < best) best = rec.Bottom;
  return best <= kOpenBottom ? best : Y;
}

int IndentManagerBasic::AddLeft(int X, int Y) {
  left_.push_back(IndentRec{X, Y, kOpenBottom, CurrentBlock, false});
  if (CurrentBlock == nullptr) leftFloatBottom_ = kOpenBottom;
  return static_cast<int>(left_.size()) - 1;
}

int IndentManagerBasic::AddRight(int X, int Y) {
  right_.push_back(IndentRec{X, Y, kOpenBottom, CurrentBlock, false});
  if (CurrentBlock == nullptr) rightFloatBottom_ = kOpenBottom;
  return static_cast<int>(right_.size()) - 1;
}

int IndentManagerBasic::DeleteAt(std::vector<IndentRec>& list, int index, int floatBottom) {
  if (index < 0 || index >= static_cast<int>(list.size())) return floatBottom;
  bool wasFloat = list[static_cast<std::size_t>(index)].Owner == nullptr;
  list.erase(list.begin() + index);
  if (!wasFloat) return floatBottom;
  int bottom = 0;
  for (const IndentRec& rec : list)
    if (rec.Owner == nullptr) bottom = std::max(bottom, rec.Bottom);
  return bottom;
}

void IndentManagerBasic::SetOwnEdges(int leftX, int rightX, int Y) {
  ownEdges_ = true;
  ownLeftX_ = leftX;
  ownRightX_ = rightX;
  ownTop_ = Y;
  ownOwner_ = CurrentBlock;
}

void IndentManagerBasic::DeleteLeft(int index) { leftFloatBottom_ = DeleteAt(left_, index, leftFloatBottom_); }
void IndentManagerBasic::DeleteRight(int index) { rightFloatBottom_ = DeleteAt(right_, index, rightFloatBottom_); }

void IndentManagerBasic::AddFloatRecord(bool leftSide, int X, int top, int bottom, bool floatRecord) {
  IndentRec rec{X, top, bottom, nullptr, floatRecord};
  if (leftSide) {
    left_.push_back(rec);
    leftFloatBottom_ = std::max(leftFloatBottom_, bottom);
  } else {
    right_.push_back(rec);
    rightFloatBottom_ = std::max(rightFloatBottom_, bottom);
  }
}

}  // namespace engine
