#include "platform/gui/TGraphic.h"

#include "platform/gui/TStream.h"

namespace gui {

void TGraphic::SetTransparent(bool Value) {
  if (Value == transparent_) return;
  transparent_ = Value;
  Changed();
}

void TGraphic::Changed() {
  modified_ = true;
  if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& FileName) {
  TMemoryStream stream;
  stream.LoadFromFile(FileName, TFileKind::Image);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& FileName) {
  TMemoryStream stream;
  SaveToStream(stream);
  stream.SaveToFile(FileName);
}

}  // namespace gui
