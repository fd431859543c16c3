#pragma once

// Whether this build runs under the address sanitizer. Code that keeps freed
// memory for reuse (pools, spare objects) hands it back to the heap instead
// when it is, so that a use after free is still reported.
namespace engine {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kAddressSanitizer = true;
#else
inline constexpr bool kAddressSanitizer = false;
#endif
#else
inline constexpr bool kAddressSanitizer = false;
#endif

}  // namespace engine
