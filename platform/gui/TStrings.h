#pragma once
// The abstract list of strings with attached objects. Lines of Text end in
// CR LF; setting Text splits at CR, LF or CR LF. Name=value lines are looked
// up by name through CompareStrings (without regard to case by default).
#include <string>
#include <string_view>

#include "platform/gui/TPersistent.h"
#include "platform/gui/WholeFile.h"

namespace gui {

class TStream;

class TStrings : public TPersistent {
 public:
  virtual int Count() const = 0;
  // Index checks raise EStringListError "List index out of bounds (i)".
  virtual const std::string& Strings(int Index) const = 0;
  virtual void Put(int Index, const std::string& S);
  virtual TObject* Objects(int Index) const;
  virtual void PutObject(int Index, TObject* AObject);
  const std::string& operator[](int Index) const { return Strings(Index); }

  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  virtual void Insert(int Index, const std::string& S) = 0;
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);
  void AddStrings(const TStrings& Strings);
  void Assign(const TPersistent* Source) override;

  virtual int IndexOf(std::string_view S) const;
  int IndexOfName(std::string_view Name) const;
  int IndexOfObject(const TObject* AObject) const;

  // The part before the first "=", or "" when the line has none.
  std::string Names(int Index) const;
  // The part after the first "=" of the first line named Name, or "".
  std::string Values(std::string_view Name) const;
  std::string ValueFromIndex(int Index) const;
  // Replaces the named line's value, adds "Name=Value" when absent, deletes
  // the line when Value is empty.
  void SetValue(std::string_view Name, const std::string& Value);

  std::string Text() const;
  virtual void SetText(std::string_view Value);

  void LoadFromStream(TStream& Stream);  // reads from the position to the end
  void SaveToStream(TStream& Stream) const;
  // EFOpenError when unreadable, no regular file or larger than its kind allows.
  void LoadFromFile(const std::string& FileName, TFileKind Kind);
  void SaveToFile(const std::string& FileName) const;  // whole or not at all

  // Nested pairs; SetUpdateState(true) on the first, (false) on the last.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // The order and equality of strings; this base ignores ANSI case.
  virtual int CompareStrings(std::string_view a, std::string_view b) const;

 protected:
  virtual void SetUpdateState(bool) {}
  [[noreturn]] void IndexError(int Index) const;

 private:
  int updateCount_ = 0;
};

}  // namespace gui
