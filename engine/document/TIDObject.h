#pragma once
// TIDObject: the base of everything a named anchor can point at. An object
// registered in an anchor list leaves that list when it is freed, so the list
// never keeps a pointer to a freed object.
namespace engine {

class TIDNameList;

class TIDObject {
 public:
  TIDObject() = default;
  TIDObject(const TIDObject&) = delete;
  TIDObject& operator=(const TIDObject&) = delete;
  virtual ~TIDObject();

  // The object's vertical position in the document, in pixels.
  virtual int GetDocumentY() = 0;

 private:
  friend class TIDNameList;
  // The anchor list that holds this object under at least one name (nullptr: none).
  TIDNameList* anchorList_ = nullptr;
};

}  // namespace engine
