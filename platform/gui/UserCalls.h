#pragma once
// The window, message and input services the class library runs on.
#include "platform/win/user/Coordinates.h"
#include "platform/win/user/Cursors.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageBoxes.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/Timers.h"
#include "platform/win/user/Windows.h"
