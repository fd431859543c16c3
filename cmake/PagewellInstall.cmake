# `cmake --install`: libpagewell.so with its soname links, the two public
# headers, a pkg-config file and a CMake package (Pagewell::pagewell).
include(CMakePackageConfigHelpers)

set(PAGEWELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Pagewell)
install(TARGETS pagewell EXPORT PagewellTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development)
install(FILES ${CMAKE_SOURCE_DIR}/embed/include/pagewell.h ${CMAKE_SOURCE_DIR}/embed/include/pagewell_host.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT PagewellTargets NAMESPACE Pagewell:: DESTINATION ${PAGEWELL_CMAKE_DIR})

configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/PagewellConfig.cmake.in
  ${CMAKE_BINARY_DIR}/generated/PagewellConfig.cmake INSTALL_DESTINATION ${PAGEWELL_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/generated/PagewellConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/generated/PagewellConfig.cmake
  ${CMAKE_BINARY_DIR}/generated/PagewellConfigVersion.cmake DESTINATION ${PAGEWELL_CMAKE_DIR})

# The prefix is found from the .pc file's own place, so `--prefix` at install time holds.
file(RELATIVE_PATH PAGEWELL_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
configure_file(${CMAKE_SOURCE_DIR}/cmake/pagewell.pc.in ${CMAKE_BINARY_DIR}/generated/pagewell.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/generated/pagewell.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
