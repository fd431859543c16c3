#pragma once
// Message boxes that never block: each is recorded (owner, caption, text,
// flags) for hosts and tests to read, written to standard error as
// "caption: text", and answered at once.
#include <optional>
#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace win {

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct MessageBoxRecord {
  HWND owner = 0;
  std::u16string caption;
  std::u16string text;
  UINT flags = 0;
};

// Records the box and answers the configured answer, else the box's default
// button (IDOK for MB_OK and MB_OKCANCEL). A missing caption is "Error".
int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT flags);
// The text and caption are in the ANSI code page.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags);

std::vector<MessageBoxRecord> messageBoxRecords();
void clearMessageBoxRecords();
// The answer every following box gives (nullopt: the default button).
void setMessageBoxAnswer(std::optional<int> answer);
// Whether boxes are also written to standard error (on by default).
void setMessageBoxEcho(bool echo);

void resetMessageBoxes();

}  // namespace win
