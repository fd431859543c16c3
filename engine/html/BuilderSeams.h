#pragma once
// Elements whose objects later areas build: images and panels, form
// controls and forms, image maps, the panel an OBJECT creates, inline boxes.
// The document builder calls these hooks; until an area fills its hook the
// builder reads past the element and keeps its content as ordinary content.
#include <functional>
#include <string>

#include "engine/html/HtmlSymbols.h"
#include "engine/html/TSymbolSet.h"

namespace engine {

class TSection;
class TCellBasic;
class TPanelObj;
class TProperties;


// A form control the builder fills while it reads the element's content.
class TParsedControl {
 public:
  virtual ~TParsedControl() = default;
  // SELECT options: the option's trimmed text, its SELECTED flag, the code
  // page of the SELECT and the option's attributes as "name=value" lines.
  virtual void AddOption(const std::u16string& /*text*/, bool /*selected*/, int /*codePage*/,
                         const std::string& /*attributes*/) {}
  // TEXTAREA: the initial text, lines ending with CR LF.
  virtual void SetInitialText(const std::string& /*text*/) {}
  // Puts the control in its initial state once its content is read.
  virtual void ResetToDefault() {}
  // Takes the element's style from the top of the property stack.
  virtual void ApplyStyle(TProperties& /*properties*/) {}
};

struct TBuilderSeams {
  // IMG or PANEL at the open section, from the lexer's attributes.
  std::function<void(TSection& section, THtmlSymbol symbol, TProperties& properties)> AddImageOrPanel;
  // INPUT, SELECT or TEXTAREA at the open section; nullptr when nothing was made.
  std::function<TParsedControl*(TSection& section, THtmlSymbol symbol, TProperties& properties)> AddFormControl;
  // A FORM element's form; it becomes the current form (nullptr: none).
  std::function<void*(void)> CreateForm;
  // MAP: a new map named name; AREA adds an area from the lexer's attributes;
  // the map is kept only when Keep is called.
  std::function<void(const std::string& name)> BeginMap;
  std::function<void()> AddArea;
  std::function<void(bool keep)> EndMap;
  // OBJECT: a panel made for the section but not yet in it; AppendPanel puts
  // it in, DropPanel takes it off the root's panel list and frees it.
  std::function<TPanelObj*(TSection& section, TProperties& properties)> CreatePanel;
  std::function<void(TSection& section, TPanelObj* panel)> AppendPanel;
  std::function<void(TPanelObj* panel)> DropPanel;
  // Start and end of an element's inline box when its style draws one.
  std::function<void(TProperties& properties, int sourcePosition)> InlineBoxStart;
  std::function<void(const TProperties& properties, int sourcePosition)> InlineBoxEnd;
};

// The hooks the areas fill once, at start-up or in their tests.
TBuilderSeams& BuilderSeams();

}  // namespace engine
