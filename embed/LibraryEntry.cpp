// The shared library's own translation unit; the exported functions live in
// the embed folder's library, which is linked in whole.
