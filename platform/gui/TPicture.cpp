#include <algorithm>
#include <vector>

#include "platform/gui/AnsiText.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TGraphic.h"

namespace gui {

namespace {

struct FileFormat {
  std::string extension;  // without the dot
  std::string description;
  TGraphicClass graphicClass;
};

std::vector<FileFormat> builtInFormats() {
  return {FileFormat{"bmp", "Bitmaps", TGraphicClass::Of<TBitmap>()}};
}

std::vector<FileFormat>& fileFormats() {
  static std::vector<FileFormat> formats = builtInFormats();
  return formats;
}

std::string extensionOf(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  const std::size_t slash = fileName.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return fileName.substr(dot + 1);
}

const FileFormat* findFormat(const std::string& extension) {
  for (const FileFormat& format : fileFormats())
    if (AnsiSameText(format.extension, extension)) return &format;
  return nullptr;
}

const FileFormat* findFormat(const std::type_index& type) {
  for (const FileFormat& format : fileFormats())
    if (format.graphicClass.type == type) return &format;
  return nullptr;
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const std::string& AExtension, const std::string& ADescription,
                                  const TGraphicClass& AGraphicClass) {
  std::string extension = AExtension;
  if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
  auto& formats = fileFormats();
  formats.erase(std::remove_if(formats.begin(), formats.end(),
                               [&](const FileFormat& f) { return AnsiSameText(f.extension, extension); }),
                formats.end());
  formats.push_back(FileFormat{extension, ADescription, AGraphicClass});
}

void TPicture::UnregisterGraphicClass(const std::type_index& AGraphicClass) {
  auto& formats = fileFormats();
  formats.erase(std::remove_if(formats.begin(), formats.end(),
                               [&](const FileFormat& f) { return f.graphicClass.type == AGraphicClass; }),
                formats.end());
}

const TGraphicClass* TPicture::FindFileFormat(const std::string& AExtension) {
  const FileFormat* format = findFormat(AExtension);
  return format ? &format->graphicClass : nullptr;
}

std::string TPicture::FileFormatDescription(const std::string& AExtension) {
  const FileFormat* format = findFormat(AExtension);
  return format ? format->description : std::string();
}

void TPicture::ResetFileFormats() { fileFormats() = builtInFormats(); }

void TPicture::SetGraphic(const TGraphic* Value) {
  if (!Value) {
    graphic_.reset();
    Changed();
    return;
  }
  const FileFormat* format = findFormat(std::type_index(typeid(*Value)));
  if (!format) throw EInvalidGraphic("Unknown picture format");
  std::unique_ptr<TGraphic> copy = format->graphicClass.create();
  copy->Assign(Value);
  graphic_ = std::move(copy);
  Changed();
}

int TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::LoadFromFile(const std::string& FileName) {
  const std::string extension = extensionOf(FileName);
  const FileFormat* format = findFormat(extension);
  if (!format) throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
  std::unique_ptr<TGraphic> graphic = format->graphicClass.create();
  graphic->LoadFromFile(FileName);
  graphic_ = std::move(graphic);
  Changed();
}

void TPicture::SaveToFile(const std::string& FileName) {
  if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::Assign(const TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (const auto* picture = dynamic_cast<const TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->Graphic());
  } else if (const auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace gui
