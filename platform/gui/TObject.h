#pragma once
// The root of the class library's classes. Objects kept in lists are TObject
// pointers, so callers can test their class with dynamic_cast.
#include <string>

namespace gui {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The unqualified class name of the dynamic type ("TStringList").
  std::string ClassName() const;
};

}  // namespace gui
