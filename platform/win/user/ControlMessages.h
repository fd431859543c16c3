#pragma once
// Messages of the standard controls (the Windows values); the WM_GETDLGCODE
// answers are with the message numbers.
#include "platform/win/Types.h"

namespace win {

// Check state of check boxes and radio buttons.
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WPARAM BST_INDETERMINATE = 2;

}  // namespace win
