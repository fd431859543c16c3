#pragma once
// Pictures that can be loaded, saved and drawn on a canvas, and the picture
// holder that picks the graphic class by file extension.
#include <functional>
#include <memory>
#include <string>
#include <typeindex>

#include "platform/gui/TPersistent.h"
#include "platform/win/Types.h"

namespace gui {

class TCanvas;
class TStream;
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TGraphic : public TPersistent {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  virtual bool Empty() const = 0;
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return modified_; }
  void SetModified(bool Value) { modified_ = Value; }

  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) = 0;
  // Through a memory stream; files are written whole or not at all.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);

  // Draws the picture scaled into Rect; TCanvas::Draw and StretchDraw call it.
  virtual void Draw(TCanvas& ACanvas, const win::RECT& Rect) = 0;

  TNotifyEvent OnChange;

 protected:
  // Marks the graphic modified and raises OnChange.
  virtual void Changed();

 private:
  bool transparent_ = false;
  bool modified_ = false;
};

// A graphic class as the picture registry knows it: its type and a factory.
struct TGraphicClass {
  std::type_index type;
  std::function<std::unique_ptr<TGraphic>()> create;

  template <typename T>
  static TGraphicClass Of() {
    return {std::type_index(typeid(T)), [] { return std::unique_ptr<TGraphic>(new T()); }};
  }
};

// Holds one graphic of any registered class.
class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Takes a copy of Value (nullptr empties the picture).
  void SetGraphic(const TGraphic* Value);
  int Width() const;
  int Height() const;

  // Picks the class by the file's extension; raises EInvalidGraphic
  // "Unknown picture file extension (.ext)" when none is registered.
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  void Assign(const TPersistent* Source) override;

  // The registry of extensions ("png", compared without case) and classes;
  // "bmp" is TBitmap from the start. A later registration of an extension
  // replaces the earlier one.
  static void RegisterFileFormat(const std::string& AExtension, const std::string& ADescription,
                                 const TGraphicClass& AGraphicClass);
  static void UnregisterGraphicClass(const std::type_index& AGraphicClass);
  // The registered class for an extension, or nullptr.
  static const TGraphicClass* FindFileFormat(const std::string& AExtension);
  static std::string FileFormatDescription(const std::string& AExtension);
  // Back to the built-in registrations only (for tests).
  static void ResetFileFormats();

  TNotifyEvent OnChange;

 private:
  void Changed();
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace gui
