#include "platform/gui/TStrings.h"

#include <vector>

#include "platform/gui/AnsiText.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TStream.h"
#include "platform/gui/WholeFile.h"

namespace gui {

void TStrings::IndexError(int Index) const {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* object = Objects(Index);
  Delete(Index);
  InsertObject(Index, S, object);
}

TObject* TStrings::Objects(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  const int index = Count();
  InsertObject(index, S, AObject);
  return index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  const std::string string1 = Strings(Index1);
  TObject* object1 = Objects(Index1);
  Put(Index1, Strings(Index2));
  PutObject(Index1, Objects(Index2));
  Put(Index2, string1);
  PutObject(Index2, object1);
}

void TStrings::AddStrings(const TStrings& Strings) {
  BeginUpdate();
  for (int i = 0; i < Strings.Count(); ++i) AddObject(Strings.Strings(i), Strings.Objects(i));
  EndUpdate();
}

void TStrings::Assign(const TPersistent* Source) {
  if (const auto* strings = dynamic_cast<const TStrings*>(Source)) {
    if (strings == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*strings);
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

int TStrings::IndexOf(std::string_view S) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Strings(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view Name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& line = Strings(i);
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos && CompareStrings(std::string_view(line).substr(0, equals), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == AObject) return i;
  return -1;
}

std::string TStrings::Names(int Index) const {
  const std::string& line = Strings(Index);
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

std::string TStrings::ValueFromIndex(int Index) const {
  const std::string& line = Strings(Index);
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

std::string TStrings::Values(std::string_view Name) const {
  const int index = IndexOfName(Name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view Name, const std::string& Value) {
  const int index = IndexOfName(Name);
  if (Value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string line(Name);
  line += '=';
  line += Value;
  if (index >= 0) Put(index, line);
  else Add(line);
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Strings(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view Value) {
  BeginUpdate();
  Clear();
  std::size_t start = 0;
  while (start < Value.size()) {
    std::size_t end = start;
    while (end < Value.size() && Value[end] != '\r' && Value[end] != '\n') ++end;
    Add(std::string(Value.substr(start, end - start)));
    // One line break: CR LF, CR or LF.
    if (end < Value.size()) {
      const bool crLf = Value[end] == '\r' && end + 1 < Value.size() && Value[end + 1] == '\n';
      end += crLf ? 2 : 1;
    }
    start = end;
  }
  EndUpdate();
}

void TStrings::LoadFromStream(TStream& Stream) {
  const std::int64_t remaining = Stream.Size() - Stream.Position();
  std::string text(static_cast<std::size_t>(remaining > 0 ? remaining : 0), '\0');
  if (!text.empty()) Stream.ReadBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  SetText(text);
}

void TStrings::SaveToStream(TStream& Stream) const {
  const std::string text = Text();
  Stream.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName, TFileKind Kind) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(FileName, bytes, Kind)) throw EFOpenError("Cannot open file \"" + FileName + "\"");
  SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TStrings::SaveToFile(const std::string& FileName) const {
  const std::string text = Text();
  WriteWholeFile(FileName, text.data(), text.size());
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const { return AnsiCompareText(a, b); }

}  // namespace gui
