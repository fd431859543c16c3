/*
 * pagewell.h: the C interface of libpagewell.so, a library that shows HTML
 * documents inside windows of a host program.
 *
 * A host embeds up to two viewers (slots 0 and 1) in its own windows. Each
 * viewer is an "envelope" window made a child of the host window and sized to
 * its client area; the envelope's handle names the viewer in every later
 * call. Link clicks and a pointer resting on a link are not followed by the
 * library: they are posted to the host window as messages. Every image a
 * document asks for is first offered to the host through a callback.
 *
 * All calls are made on the one thread that owns the host's windows and runs
 * their messages. No call lets an error escape: an error is shown in a
 * warning message box captioned "Error in " and the function's name (without
 * the underscore), and the function returns its failure value.
 *
 * Text: 8-bit, NUL-terminated, in the ANSI code page (1252). Text returned
 * by the library is allocated by it; give it back with _ReleaseMemory.
 *
 * Window handles are 32-bit values. Where the interface carries a pointer
 * (the Sender field, the _SetImageCallback result) the type is pointer-sized.
 * On Linux the window calls a host needs are in pagewell_host.h.
 */
#ifndef PAGEWELL_H
#define PAGEWELL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(PAGEWELL_BUILDING_LIBRARY)
#define PAGEWELL_API __attribute__((visibility("default")))
#else
#define PAGEWELL_API
#endif

typedef uint32_t PW_HWND;

/* What _GetZelvoHTMLVersion answers. */
#define PAGEWELL_INTERFACE_VERSION 4

/* The longest URL, target or image source passed in the records below;
 * longer texts are cut to this many characters. */
#define PAGEWELL_MAX_TEXT 4096

/* How many records of each kind the library keeps. A posted record stays
 * valid until this many further messages of the same kind have been posted
 * (by either slot): read it in the handler of its message. */
#define PAGEWELL_RECORD_RING 64

/*
 * Posted to the host window given to _EmbedBrowser when the user clicks a
 * link: wParam 0, lParam = (const HotSpotClickRecord*). The library does not
 * follow the link; the host decides.
 */
#define HotSpotClickMessage 0x0AA6u /* WM_USER + 1702 */
/*
 * Posted when the pointer comes to rest on a link, and with an empty URL when
 * it leaves one: wParam 0, lParam = (const HotSpotNotifyRecord*).
 */
#define HotSpotCoveredMessage 0x0AA7u /* WM_USER + 1703 */

/* Texts are NUL-padded; at most 4096 characters, [4096] is always NUL. */
typedef struct HotSpotClickRecord {
  PW_HWND Window;     /* offset 0: the envelope */
  char URL[4098];     /* offset 4: the link's URL */
  char Target[4098];  /* offset 4102: the link's target frame name */
  int32_t Reserved;   /* offset 8200: always 0 */
} HotSpotClickRecord; /* 8204 bytes */

typedef struct HotSpotNotifyRecord {
  PW_HWND Window;     /* offset 0 */
  char URL[4098];     /* offset 4; empty when the pointer left the link */
  char Target[4098];  /* offset 4102 */
} HotSpotNotifyRecord; /* 8200 bytes */

/*
 * Handed to the image callback for every image a document asks for. The
 * record belongs to the call: it is valid only while the callback runs.
 */
typedef struct ImageRequestRecord {
  PW_HWND Window;   /* offset 0: the envelope */
  char SRC[4100];   /* offset 4: the image source as written, at most 4096 characters */
  void* Sender;     /* offset 4104: the requesting viewer, opaque (pointer-sized) */
  char Reply[4100]; /* offset 4112: the host may write a file name here; Reply[0] is NUL on entry */
} ImageRequestRecord; /* 8216 bytes on 64-bit hosts */

/*
 * The host's image callback. Writing a file name into Reply makes the image
 * come from that file (when it exists); leaving Reply empty lets the library
 * find the image itself, relative to the document. The callback runs while a
 * document is being laid out: it must not call _DeleteBrowser or
 * _BrowserShowHtml (they refuse while a document loads).
 */
typedef void (*ImageCallback)(ImageRequestRecord* request);

/* 4, the interface version; also sets up the library. Call it first. */
PAGEWELL_API int _GetZelvoHTMLVersion(void);
/* A new text "Pagewell.dll Version " followed by the library's file version. */
PAGEWELL_API char* _GetVersionString(void);
/*
 * Makes a viewer in slot 0 or 1 a child of parent, filling parent's client
 * area, and returns the envelope's handle; 0 on failure or for another slot.
 * A slot already filled keeps its envelope and is only re-parented and
 * re-sized. Slot 1 starts hidden: _BrowserShowHtml shows slot 0 only.
 */
PAGEWELL_API PW_HWND _EmbedBrowser(PW_HWND parent, int slot);
/*
 * Frees the viewer: its slot (0 or 1), or -1 for a handle no slot holds and
 * while the viewer is busy or another call of this library is under way
 * (from the image callback, or from a message handler run inside a call).
 * Delete a viewer before destroying its host window.
 */
PAGEWELL_API int _DeleteBrowser(PW_HWND envelope);
/*
 * Loads and shows a file (a frameset too) with the default font name and
 * size; a NULL or empty fontName keeps the current font. 1 shown, 0 not
 * (a missing file shows the box "Can't locate file: " and the name).
 */
PAGEWELL_API int _BrowserShowHtml(PW_HWND envelope, const char* fileName, const char* fontName, int fontSize);
/* Gives back a text this library returned; NULL is ignored. */
PAGEWELL_API void _ReleaseMemory(void* text);
/* -1. */
PAGEWELL_API int _GetLine(void);
/* Writes the caret's character position; 1, or 0 on failure (then nothing is written). */
PAGEWELL_API int _GetPosition(PW_HWND envelope, int* position);
/* Moves the caret (a negative position is ignored); 1, or 0 on failure. */
PAGEWELL_API int _SetPosition(PW_HWND envelope, int position);
/* Selects from position to the end of the document (nothing is deleted); 1, or 0. */
PAGEWELL_API int _DeleteToEnd(PW_HWND envelope, int position);
/* 0. */
PAGEWELL_API int _GetCursorPosition(void);
/* 0. */
PAGEWELL_API int _SetCursorPosition(void);
/* Selects from "from" to "to" (-1: to the end; to = from: an empty selection); always 0. */
PAGEWELL_API int _SelectRangeText(PW_HWND envelope, int from, int to);
/* A new text holding the selection (no-break spaces as blanks); "" for handle 0; NULL on failure. */
PAGEWELL_API char* _GetSelectedText(PW_HWND envelope);
/* Puts the selection on the clipboard as CF_TEXT. */
PAGEWELL_API void _CopySelectedText(PW_HWND envelope);
/* 1 when something is selected, else 0. */
PAGEWELL_API int _CanCopy(PW_HWND envelope);
/*
 * A new text holding the word of letters and digits at the caret (at most 19
 * characters: up to 10 left of the caret with its own and 9 right of it);
 * "" for handle 0; NULL when the caret is not on a letter or digit. The
 * selection is kept.
 */
PAGEWELL_API char* _GetCurrentWord(PW_HWND envelope);
/* Does nothing. */
PAGEWELL_API void _DeleteSelectedBlock(void);
/* 1 when the keyboard focus is inside the envelope, else 0. */
PAGEWELL_API int _HasFocus(PW_HWND envelope);
/* Pages up. */
PAGEWELL_API void _PriorKey(PW_HWND envelope);
/* Pages down. */
PAGEWELL_API void _NextKey(PW_HWND envelope);
/*
 * Prints every page (after the print dialog when showDialog is not 0);
 * 1 printed or the dialog cancelled, 0 not. The current folder is kept.
 */
PAGEWELL_API int _Print(PW_HWND envelope, int showDialog);
/* Print margins in twips (1440 = 1 inch); 1, or 0 on failure. */
PAGEWELL_API int _SetMargin(PW_HWND envelope, int left, int right, int top, int bottom);
/* Sets the image callback (NULL removes it) and returns it as a number. */
PAGEWELL_API intptr_t _SetImageCallback(ImageCallback callback);

#ifdef __cplusplus
}
#endif

/* The layouts above are part of the interface. */
#ifdef __cplusplus
#define PAGEWELL_STATIC_ASSERT static_assert
#else
#define PAGEWELL_STATIC_ASSERT _Static_assert
#endif
PAGEWELL_STATIC_ASSERT(sizeof(PW_HWND) == 4, "window handles are 32-bit");
PAGEWELL_STATIC_ASSERT(offsetof(HotSpotClickRecord, URL) == 4, "HotSpotClickRecord.URL");
PAGEWELL_STATIC_ASSERT(offsetof(HotSpotClickRecord, Target) == 4102, "HotSpotClickRecord.Target");
PAGEWELL_STATIC_ASSERT(offsetof(HotSpotClickRecord, Reserved) == 8200, "HotSpotClickRecord.Reserved");
PAGEWELL_STATIC_ASSERT(sizeof(HotSpotClickRecord) == 8204, "HotSpotClickRecord size");
PAGEWELL_STATIC_ASSERT(offsetof(HotSpotNotifyRecord, URL) == 4, "HotSpotNotifyRecord.URL");
PAGEWELL_STATIC_ASSERT(offsetof(HotSpotNotifyRecord, Target) == 4102, "HotSpotNotifyRecord.Target");
PAGEWELL_STATIC_ASSERT(sizeof(HotSpotNotifyRecord) == 8200, "HotSpotNotifyRecord size");
PAGEWELL_STATIC_ASSERT(offsetof(ImageRequestRecord, SRC) == 4, "ImageRequestRecord.SRC");
PAGEWELL_STATIC_ASSERT(offsetof(ImageRequestRecord, Sender) == 4104, "ImageRequestRecord.Sender");
PAGEWELL_STATIC_ASSERT(offsetof(ImageRequestRecord, Reply) == 4104 + sizeof(void*), "ImageRequestRecord.Reply");
PAGEWELL_STATIC_ASSERT(sizeof(ImageRequestRecord) == (sizeof(void*) == 8 ? 8216 : 8208), "ImageRequestRecord size");

#endif /* PAGEWELL_H */
