#pragma once
// Forms: window controls that stand alone as top-level windows, live inside
// a window of the host (ParentWindow), or sit inside another control. A form
// starts hidden; it remembers the control that last had the focus inside it.
#include "platform/gui/TWinControl.h"

namespace gui {

enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // Raise OnCreate once the form is built / OnDestroy before it goes. The
  // destructor raises OnDestroy itself when BeforeDestruction did not.
  void AfterConstruction();
  void BeforeDestruction();

  void Show();
  // Asks OnCloseQuery, then OnClose chooses: hide (the default), free
  // (through Release), minimize (hides) or nothing.
  void Close();
  // Frees the form once the messages already queued for it have run.
  void Release();

  TWinControl* ActiveControl() const { return activeControl_; }
  // Focuses the control at once when the form is showing.
  void SetActiveControl(TWinControl* Control);

  void WndProc(TMessage& Message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void VisibleChanged() override;
  void ChildFocused(TWinControl* Control) override;
  void ChildGone(TWinControl* Control) override;

 private:
  TWinControl* activeControl_ = nullptr;
  bool destroyRaised_ = false;
};

class TForm : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

// The form at the top of the control's parent chain; nullptr when the chain
// ends in a control that is not a form (or Control is nullptr).
TCustomForm* GetParentForm(TControl* Control);

}  // namespace gui
