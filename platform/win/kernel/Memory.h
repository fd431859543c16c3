#pragma once
// Global memory blocks addressed by handles, as the clipboard and large
// allocations use them. Every block is movable: GlobalLock gives its address.
#include <cstddef>

#include "platform/win/Types.h"

namespace win {

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
// Accepted for blocks handed to the clipboard; every block may be shared here.
constexpr UINT GMEM_DDESHARE = 0x2000;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Largest block handed out; larger requests fail like an exhausted heap.
constexpr std::size_t kMaxGlobalBlockBytes = std::size_t{1} << 31;

// A new block of bytes (zeroed with GMEM_ZEROINIT); 0 when out of memory.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
// The block's address (counting locks); nullptr for a bad handle.
void* GlobalLock(HGLOBAL memory);
// Drops one lock; TRUE while the block is still locked.
BOOL GlobalUnlock(HGLOBAL memory);
// Frees the block: 0 on success, the handle itself when it was not valid.
HGLOBAL GlobalFree(HGLOBAL memory);
// The size asked for at allocation; 0 for a bad handle.
std::size_t GlobalSize(HGLOBAL memory);

}  // namespace win
