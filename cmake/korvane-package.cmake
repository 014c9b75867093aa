# The framework as a package for other CMake projects:
#   cmake --install build/windows --prefix DIR
# puts the framework's headers under DIR/include/korvane (with their folders,
# so "framework/display/display.h" is included as in this tree), the static
# library under DIR/lib and KorvaneConfig.cmake under DIR/lib/cmake/Korvane.
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

set(KORVANE_PACKAGE_VERSION 0.1.0)
set(KORVANE_INCLUDE_INSTALL_DIR ${CMAKE_INSTALL_INCLUDEDIR}/korvane)
set(KORVANE_CONFIG_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Korvane)

# What a user of the package needs besides the headers: every import library
# the framework calls into, and the DirectInput version its headers assume.
get_target_property(korvane_linked korvane_framework LINK_LIBRARIES)
foreach(library ddraw dinput dsound dxguid winmm wsock32 gdi32 user32)
  if(NOT library IN_LIST korvane_linked)
    target_link_libraries(korvane_framework PUBLIC ${library})
  endif()
endforeach()
target_compile_definitions(korvane_framework PUBLIC DIRECTINPUT_VERSION=0x0700)
add_library(Korvane::framework ALIAS korvane_framework)

# The framework's library and the libraries of this tree that it links (its
# platform-free pieces), each exported as Korvane::<name without korvane_>.
set(korvane_installed korvane_framework)
foreach(library IN LISTS korvane_linked)
  if(TARGET ${library})
    list(APPEND korvane_installed ${library})
  endif()
endforeach()
foreach(library IN LISTS korvane_installed)
  string(REGEX REPLACE "^korvane_" "" exported ${library})
  set_target_properties(${library} PROPERTIES EXPORT_NAME ${exported})
  target_include_directories(${library} INTERFACE $<INSTALL_INTERFACE:${KORVANE_INCLUDE_INSTALL_DIR}>)
endforeach()
install(TARGETS ${korvane_installed} EXPORT KorvaneTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})

# Headers by folder, so that headers added to any service are installed too.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/framework/
  DESTINATION ${KORVANE_INCLUDE_INSTALL_DIR}/framework
  FILES_MATCHING PATTERN "*.h")
# The framework's headers take ColorRef from the console's folder.
install(FILES ${PROJECT_SOURCE_DIR}/console/color_ref.h
  DESTINATION ${KORVANE_INCLUDE_INSTALL_DIR}/console)

install(EXPORT KorvaneTargets
  NAMESPACE Korvane::
  DESTINATION ${KORVANE_CONFIG_INSTALL_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KorvaneConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneConfig.cmake
  INSTALL_DESTINATION ${KORVANE_CONFIG_INSTALL_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/KorvaneConfigVersion.cmake
  VERSION ${KORVANE_PACKAGE_VERSION}
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneConfigVersion.cmake
  DESTINATION ${KORVANE_CONFIG_INSTALL_DIR})
