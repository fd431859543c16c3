// IndentManagerBasic: indent records and the queries over them.
#include "engine/document/IndentManagerBasic.h"

#include <algorithm>

namespace engine {

namespace {

bool Applies(const IndentRec& rec, int Y, const void* currentBlock) {
  return rec.Top <= Y && Y < rec.Bottom && (rec.Owner == nullptr || rec.Owner == currentBlock);
}

}  // namespace

IndentManagerBasic::~IndentManagerBasic() = default;

IndentManagerBasic::Records& IndentManagerBasic::Lists() {
  if (!records_) records_ = std::make_unique<Records>();
  return *records_;
}

void IndentManagerBasic::Clear() {
  ownEdges_ = false;
  if (records_) {
    records_->left.clear();
    records_->right.clear();
    records_->leftFloatBottom = 0;
    records_->rightFloatBottom = 0;
  }
  CurrentBlock = nullptr;
}

void IndentManagerBasic::Init(int leftEdge, int rightEdge) {
  LeftEdge = leftEdge;
  RightEdge = rightEdge;
  CurrentBlock = nullptr;
}

int IndentManagerBasic::LeftIndent(int Y) const {
  int best = -99999;
  if (records_)
    for (const IndentRec& rec : records_->left)
      if (Applies(rec, Y, CurrentBlock) && rec.X > best) best = rec.X;
  if (ownEdges_ && Applies(IndentRec{ownLeftX_, ownTop_, kOpenBottom, ownOwner_}, Y, CurrentBlock) && ownLeftX_ > best)
    best = ownLeftX_;
  return best > -99999 ? best + LeftEdge : LeftEdge;
}

int IndentManagerBasic::RightSide(int Y) const {
  int best = 99999;
  if (records_)
    for (const IndentRec& rec : records_->right)
      if (Applies(rec, Y, CurrentBlock) && rec.X < best) best = rec.X;
  if (ownEdges_ && Applies(IndentRec{ownRightX_, ownTop_, kOpenBottom, ownOwner_}, Y, CurrentBlock) &&
      ownRightX_ < best)
    best = ownRightX_;
  return best < 99999 ? best + LeftEdge : RightEdge;
}

int IndentManagerBasic::FloatsBottom() const {
  return records_ ? std::max(records_->leftFloatBottom, records_->rightFloatBottom) : 0;
}

void IndentManagerBasic::ClearYs(int& CL, int& CR) const {
  const int left = records_ ? records_->leftFloatBottom : 0;
  const int right = records_ ? records_->rightFloatBottom : 0;
  CL = left > 0 ? left + 1 : 0;
  CR = right > 0 ? right + 1 : 0;
}

int IndentManagerBasic::NextFloatEndY(int Y) const {
  int best = kOpenBottom + 1;
  if (!records_) return Y;
  for (const auto* list : {&records_->left, &records_->right})
    for (const IndentRec& rec : *list)
      if (rec.Owner == nullptr && rec.Bottom > Y && rec.Bottom < best) best = rec.Bottom;
  return best <= kOpenBottom ? best : Y;
}

int IndentManagerBasic::AddLeft(int X, int Y) {
  Records& lists = Lists();
  lists.left.push_back(IndentRec{X, Y, kOpenBottom, CurrentBlock, false});
  if (CurrentBlock == nullptr) lists.leftFloatBottom = kOpenBottom;
  return static_cast<int>(lists.left.size()) - 1;
}

int IndentManagerBasic::AddRight(int X, int Y) {
  Records& lists = Lists();
  lists.right.push_back(IndentRec{X, Y, kOpenBottom, CurrentBlock, false});
  if (CurrentBlock == nullptr) lists.rightFloatBottom = kOpenBottom;
  return static_cast<int>(lists.right.size()) - 1;
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

void IndentManagerBasic::DeleteLeft(int index) {
  if (records_) records_->leftFloatBottom = DeleteAt(records_->left, index, records_->leftFloatBottom);
}
void IndentManagerBasic::DeleteRight(int index) {
  if (records_) records_->rightFloatBottom = DeleteAt(records_->right, index, records_->rightFloatBottom);
}

void IndentManagerBasic::AddFloatRecord(bool leftSide, int X, int top, int bottom, bool floatRecord) {
  IndentRec rec{X, top, bottom, nullptr, floatRecord};
  Records& lists = Lists();
  if (leftSide) {
    lists.left.push_back(rec);
    lists.leftFloatBottom = std::max(lists.leftFloatBottom, bottom);
  } else {
    lists.right.push_back(rec);
    lists.rightFloatBottom = std::max(lists.rightFloatBottom, bottom);
  }
}

}  // namespace engine
