/*
 * pagewell_host.h: the host's side of the window system on Linux.
 *
 * On Windows a host makes its windows and runs its message loop with the
 * system's calls. Here the window system lives inside libpagewell.so, so a
 * host makes its top-level window, runs the messages and looks at the
 * result through these calls. They are the platform's own services, in the
 * meaning their Windows namesakes have; nothing here changes what a viewer
 * does. Call them on the thread that calls the functions of pagewell.h.
 */
#ifndef PAGEWELL_HOST_H
#define PAGEWELL_HOST_H

#include <stddef.h>
#include <stdint.h>

#include "pagewell.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Messages a host window may receive besides the two of pagewell.h. */
#define PWHOST_WM_MOUSEMOVE 0x0200u
#define PWHOST_WM_LBUTTONDOWN 0x0201u
#define PWHOST_WM_LBUTTONUP 0x0202u
#define PWHOST_WM_RBUTTONDOWN 0x0204u
#define PWHOST_WM_RBUTTONUP 0x0205u
#define PWHOST_WM_MOUSEWHEEL 0x020Au
#define PWHOST_WM_KEYDOWN 0x0100u
#define PWHOST_WM_KEYUP 0x0101u

/* A host window's procedure: gets every message sent or posted to the
 * window. Pass what it does not handle to pwhost_DefWindowProc. */
typedef intptr_t (*pwhost_WindowProc)(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);

/* Makes a visible top-level window with a client area of width x height at
 * the screen's top left; procedure may be NULL. 0 on failure. */
PAGEWELL_API PW_HWND pwhost_CreateWindow(int width, int height, pwhost_WindowProc procedure);
/* Destroys a window and everything inside it; 1, or 0 for a stale handle. */
PAGEWELL_API int pwhost_DestroyWindow(PW_HWND window);
/* The default handling of a message. */
PAGEWELL_API intptr_t pwhost_DefWindowProc(PW_HWND window, uint32_t message, uintptr_t wParam, intptr_t lParam);

/* Runs posted messages, paints and due timers until none is left (it never
 * waits); returns how many ran. */
PAGEWELL_API int pwhost_PumpMessages(void);

/* Time for timers and animations: the real clock (the default), or a
 * virtual one that moves only by pwhost_AdvanceClock. */
PAGEWELL_API void pwhost_UseVirtualClock(void);
PAGEWELL_API void pwhost_UseRealClock(void);
/* Moves the virtual clock on; due timers run at the next pump. 0 under the real clock. */
PAGEWELL_API int pwhost_AdvanceClock(uint32_t milliseconds);

/*
 * The pixels of a top-level window's client area, top row first, each
 * 0x00RRGGBB. Sets *width and *height; copies them when pixels is not NULL
 * and capacity (in pixels) is large enough. 1, or 0 (not a top-level window,
 * or too little room).
 */
PAGEWELL_API int pwhost_GetWindowPixels(PW_HWND window, int* width, int* height, uint32_t* pixels, size_t capacity);
/* Writes a top-level window's client area as a PNG file (whole or not at all); 1, or 0. */
PAGEWELL_API int pwhost_SaveWindowPng(PW_HWND window, const char* path);

/*
 * Input as the user gives it: moves the pointer to (x, y) in window's client
 * coordinates and posts the mouse message (PWHOST_WM_MOUSEMOVE, a button
 * message, or PWHOST_WM_MOUSEWHEEL with wheelDelta, 120 per notch away from
 * the user) to the window under the pointer. Returns the receiving window, 0 when none.
 */
PAGEWELL_API PW_HWND pwhost_MouseInput(PW_HWND window, uint32_t message, int x, int y, int wheelDelta);
/* Posts PWHOST_WM_KEYDOWN or PWHOST_WM_KEYUP of a virtual key to window
 * (0: the window with the keyboard focus). Returns the receiving window. */
PAGEWELL_API PW_HWND pwhost_KeyInput(PW_HWND window, uint32_t message, int virtualKey);

/*
 * The last message box the library showed (boxes never block here; they are
 * also written to standard error as "caption: text"). Copies caption and
 * text (cut to their sizes, NUL-terminated; either may be NULL) and the
 * flags. Returns how many boxes were shown so far, 0 when none.
 */
PAGEWELL_API int pwhost_GetLastMessageBox(char* caption, size_t captionSize, char* text, size_t textSize,
                                          uint32_t* flags);

/* The folder printed pages go to, one PNG file per page; 1, or 0 when it cannot be made. */
PAGEWELL_API int pwhost_SetPrintFolder(const char* folder);

/* Window calls a host uses to look inside an envelope. */
typedef int (*pwhost_EnumProc)(PW_HWND window, intptr_t data);
/* Calls procedure for every window inside parent (children, then theirs)
 * until it returns 0; 1, or 0 for a stale handle. */
PAGEWELL_API int pwhost_EnumChildWindows(PW_HWND parent, pwhost_EnumProc procedure, intptr_t data);
/* The window's class name ("T32ScrollBar" for a viewer's vertical bar);
 * returns the characters copied, 0 for a stale handle. */
PAGEWELL_API int pwhost_GetClassName(PW_HWND window, char* buffer, int size);

typedef struct pwhost_ScrollInfo {
  int Min;
  int Max;           /* a viewer's vertical bar: the document's height */
  unsigned int Page; /* the visible part, plus one */
  int Pos;
} pwhost_ScrollInfo;
/* The range, page and position of a scroll-bar window; 1, or 0 when it has none. */
PAGEWELL_API int pwhost_GetScrollInfo(PW_HWND scrollBar, pwhost_ScrollInfo* info);

typedef struct pwhost_Rect {
  int32_t left, top, right, bottom; /* right and bottom exclusive */
} pwhost_Rect;
/* The window's rectangle: a child's in its parent's client coordinates, a
 * top-level window's on the screen; 1, or 0 for a stale handle. */
PAGEWELL_API int pwhost_GetWindowRect(PW_HWND window, pwhost_Rect* rect);
/* Shows (show not 0) or hides a window, as a host shows the envelope of
 * slot 1; returns 1 when it was visible before, else 0. */
PAGEWELL_API int pwhost_ShowWindow(PW_HWND window, int show);
/* Moves and sizes a window (a top-level window's client area becomes width x height); 1, or 0. */
PAGEWELL_API int pwhost_MoveWindow(PW_HWND window, int x, int y, int width, int height);

#ifdef __cplusplus
}
#endif

#endif /* PAGEWELL_HOST_H */
