# Warnings, sanitizers and fuzzing instrumentation shared by every target.
add_compile_options(-Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-missing-field-initializers)
  # Position-independent code may still inline and specialise calls within a
  # file: no one replaces our functions from outside the shared library
  # (clang assumes this already).
  add_compile_options(-fno-semantic-interposition)
endif()

if(PAGEWELL_SANITIZE)
  # -O1 keeps the sanitized tests and the fuzz runs fast enough to mean something; -g stays for reports.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -O1 -g)
  add_link_options(-fsanitize=address,undefined)
endif()

if(PAGEWELL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "PAGEWELL_FUZZ needs clang")
  endif()
  # Coverage instrumentation for the libraries; the fuzz executables add the driver.
  # -O2 after the sanitizers' -O1: inlined library templates (variants, strings)
  # run about a tenth faster per viewer input, and the reports keep their lines.
  add_compile_options(-fsanitize=fuzzer-no-link -O2)
endif()

# pagewell_fuzz_uninstrumented(TARGET REGEX [EXCEPT REGEX]): under PAGEWELL_FUZZ,
# the sources of TARGET whose paths match the first REGEX (and not the one after
# EXCEPT) are built without coverage instrumentation
# (still with ASan and UBSan). Meant for pixel and glyph rasterising: the
# viewer targets pass through it for every pixel they paint, its counters and
# comparison tracing cost a fifth of each input, and what they would steer the
# fuzzer towards is pixel arithmetic, never a new way to read the input.
function(pagewell_fuzz_uninstrumented target regex)
  if(NOT PAGEWELL_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "EXCEPT" "" ${ARGN})
  get_target_property(sources ${target} SOURCES)
  get_target_property(directory ${target} SOURCE_DIR)
  list(FILTER sources INCLUDE REGEX "${regex}")
  if(ARG_EXCEPT)
    list(FILTER sources EXCLUDE REGEX "${ARG_EXCEPT}")
  endif()
  set_property(SOURCE ${sources} DIRECTORY ${directory} APPEND PROPERTY COMPILE_OPTIONS -fno-sanitize=fuzzer-no-link)
endfunction()
