#include "platform/gui/TCustomForm.h"

#include "platform/gui/UserCalls.h"

namespace gui {

namespace {

// Posted to a form by Release; it frees the form when it arrives.
constexpr win::UINT kReleaseMessage = 0xB000 + 33;

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm() { BeforeDestruction(); }

void TCustomForm::AfterConstruction() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::BeforeDestruction() {
  if (destroyRaised_) return;
  destroyRaised_ = true;
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (!Parent() && !ParentWindow()) {
    Params.Style &= ~win::WS_CHILD;
    Params.Style |= win::WS_POPUP;
    Params.WndParent = 0;
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  HandleNeeded();
  if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
}

void TCustomForm::VisibleChanged() {
  TWinControl::VisibleChanged();
  if (Visible() && OnShow) OnShow(this);
  if (!Visible() && OnHide) OnHide(this);
}

void TCustomForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  switch (action) {
    case caHide:
    case caMinimize:
      Hide();
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

void TCustomForm::Release() { win::PostMessageW(Handle(), kReleaseMessage, 0, 0); }

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Control && !ContainsControl(Control)) return;
  activeControl_ = Control;
  if (Control && Visible() && HandleAllocated() && Control->CanFocus()) Control->SetFocus();
}

void TCustomForm::ChildFocused(TWinControl* Control) {
  if (Control != this) activeControl_ = Control;
  TWinControl::ChildFocused(Control);
}

void TCustomForm::ChildGone(TWinControl* Control) {
  if (activeControl_ && Control->ContainsControl(activeControl_)) activeControl_ = nullptr;
  TWinControl::ChildGone(Control);
}

void TCustomForm::WndProc(TMessage& Message) {
  if (Message.Msg == kReleaseMessage) {
    BeforeDestruction();
    delete this;
    return;
  }
  if (Message.Msg == win::WM_CLOSE) {
    Close();
    return;
  }
  TWinControl::WndProc(Message);
}

TCustomForm* GetParentForm(TControl* Control) {
  if (!Control) return nullptr;
  while (Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

}  // namespace gui
