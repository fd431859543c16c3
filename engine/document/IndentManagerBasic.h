#pragma once
// IndentManagerBasic: the float and margin bookkeeping of one flow. Two lists
// of indent records (left and right), each valid over [Top, Bottom), answer
// where a line at a given Y may start and end. Records owned by a block are
// seen only by that block's content; records without owner (floats) by all.
//
// Every table cell holds a manager, and most cells never get a record besides
// their own edges: the lists are held apart, made with the first record.
#include <memory>
#include <vector>

namespace engine {

// Bottom of an open-ended record: no document coordinate reaches it.
constexpr int kOpenBottom = 9999999;

struct IndentRec {
  int X = 0;       // relative to the manager's LeftEdge
  int Top = 0;     // first Y the record applies to
  int Bottom = 0;  // first Y it no longer applies to
  const void* Owner = nullptr;  // the block (or cell) that made it; nullptr for floats
  bool FloatRecord = false;     // made for a floating block
};

class IndentManagerBasic {
 public:
  IndentManagerBasic() = default;
  IndentManagerBasic(const IndentManagerBasic&) = delete;
  IndentManagerBasic& operator=(const IndentManagerBasic&) = delete;
  ~IndentManagerBasic();

  // Frees every record; CurrentBlock := nullptr.
  void Clear();
  void Init(int leftEdge, int rightEdge);

  int LeftIndent(int Y) const;
  int RightSide(int Y) const;
  // Greatest Bottom of the float records; 0 when none.
  int FloatsBottom() const;
  // 1 + the greatest Bottom of the left and of the right float records (0 when none).
  void ClearYs(int& CL, int& CR) const;
  // Smallest float Bottom greater than Y; Y when none.
  int NextFloatEndY(int Y) const;

  // Open-ended records owned by CurrentBlock; the answer is the index for the delete.
  int AddLeft(int X, int Y);
  int AddRight(int X, int Y);
  void DeleteLeft(int index);
  void DeleteRight(int index);
  // The owning cell's own edges: a left record at leftX and a right one at
  // rightX, open-ended from Y and owned by CurrentBlock, answered like any
  // other record but kept beside the lists (no allocation per cell layout).
  void SetOwnEdges(int leftX, int rightX, int Y);
  void ClearOwnEdges() { ownEdges_ = false; }

  int Width = 0;
  int LeftEdge = 0;
  int RightEdge = 0;
  const void* CurrentBlock = nullptr;

 protected:
  // Appends a float record (no owner) and keeps the float maxima.
  void AddFloatRecord(bool leftSide, int X, int top, int bottom, bool floatRecord);

 private:
  struct Records {
    std::vector<IndentRec> left;
    std::vector<IndentRec> right;
    // Greatest Bottom of the records without owner on each side (0: none).
    int leftFloatBottom = 0;
    int rightFloatBottom = 0;
  };
  Records& Lists();
  // Removes list[index]; answers the list's float bottom afterwards.
  static int DeleteAt(std::vector<IndentRec>& list, int index, int floatBottom);
  std::unique_ptr<Records> records_;  // null until the first record
  // The record pair of SetOwnEdges, while set.
  const void* ownOwner_ = nullptr;
  int ownLeftX_ = 0;
  int ownRightX_ = 0;
  int ownTop_ = 0;
  bool ownEdges_ = false;
};

}  // namespace engine
