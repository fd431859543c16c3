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
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
