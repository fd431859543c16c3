#pragma once
// SelTextCount: the sink that counts the selected characters a document pours
// into it; SelTextBuf copies them instead. Codes 2 and 4 stand for form
// controls and images in text and code 8 a forced line break: none of them is
// counted or copied, so a buffer sized by the count is filled exactly.
#include <cstdint>

namespace engine {

class SelTextCount {
 public:
  SelTextCount() = default;
  virtual ~SelTextCount() = default;

  virtual void Append(const char16_t* P, int Size);
  // Append, then CR LF through the same overridable slot.
  void AppendLine(const char16_t* P, int Size);
  virtual int Finish();

  char16_t* Buffer = nullptr;
  int BufferLength = 0;
  int Count = 0;
};

}  // namespace engine
