#pragma once
// Sanitizer defaults of the viewer fuzz targets; include from exactly one file
// of a target. Options given in ASAN_OPTIONS still take precedence.
//
// AddressSanitizer keeps 256 MB of freed memory poisoned by default, and each
// leak check libFuzzer makes after an input scans every chunk of it: with the
// viewer's many small blocks that was a quarter of the fuzzing time. A load,
// paint and clear frees a few megabytes at most, so 64 MB still keeps the
// memory of the last dozens of inputs poisoned for use-after-free reports.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=64"; }
