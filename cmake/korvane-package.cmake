# The framework as a package for other CMake projects:
#   cmake --install build/windows --prefix DIR
# puts the framework's public headers under DIR/include/korvane (with their
# folders, so "framework/display/display.h" is included as in this tree), the
# static libraries under DIR/lib and KorvaneConfig.cmake under
# DIR/lib/cmake/Korvane. Every path in the package is relative to DIR, so the
# folder can be moved or unpacked anywhere, as the release zip is
# (cmake/korvane-release.cmake).
include(CMakePackageConfigHelpers)
include(GNUInstallDirs)

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

# The DPI-awareness manifest as a resource object (framework/display): a
# program that links Korvane::framework from the package gets it on its link
# line, as the programs of this tree do.
set(KORVANE_DPI_OBJECT korvane-dpi-aware.rc.obj)
install(FILES $<TARGET_OBJECTS:korvane_dpi_manifest>
  DESTINATION ${CMAKE_INSTALL_LIBDIR} RENAME ${KORVANE_DPI_OBJECT})
target_link_libraries(korvane_framework INTERFACE
  $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/${CMAKE_INSTALL_LIBDIR}/${KORVANE_DPI_OBJECT}>)

# The public headers: what a program on the framework includes, and what
# those include in turn. The helpers the framework's own sources share
# (back_surface_dc.h, com_release.h, global_display.h, line_algorithm.h)
# stay out. The release test compiles every shipped header on its own
# against the shipped folder alone.
set(korvane_public_headers
  display/directx.h display/depth_mode.h display/display.h display/screen.h
  display/display_options.h display/window_layout.h display/frame_pacing.h
  text/font.h text/text_painter.h
  paint/painter.h
  surface/surface.h
  input/dead_zone.h input/joystick.h
  sound/sound.h sound/wave_format.h
  net/socket.h)
foreach(header IN LISTS korvane_public_headers)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/framework/${header}
    DESTINATION ${KORVANE_INCLUDE_INSTALL_DIR}/framework/${folder})
endforeach()
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
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/KorvaneConfigVersion.cmake
  DESTINATION ${KORVANE_CONFIG_INSTALL_DIR})
