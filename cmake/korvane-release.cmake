# The release: what a Windows user downloads. The install rules below (with
# the framework's package, cmake/korvane-package.cmake) are the whole content
# of the zip, and CPack's ZIP generator packs them under one top folder:
#   cpack --config build/windows/CPackConfig.cmake   (scripts/dist.sh, make dist)
# gives korvane-VERSION-win64.zip with bin/, include/korvane/, lib/ (and
# lib/cmake/Korvane/), examples/framework_tour/, README.md and LICENSE.
# VERSION is the project version of the top CMakeLists.txt, nothing else.
include(GNUInstallDirs)

# The programs. Each is linked statically (the toolchain file), so bin/ needs
# no MinGW runtime DLLs beside them.
install(TARGETS korvane korvane-stream RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET framework-tour)
  install(TARGETS framework-tour RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The sprite it loads from its own folder; its sound is a resource inside it.
  install(FILES $<TARGET_FILE_DIR:framework-tour>/sprite.bmp DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The tour's source, as the example to start from: it builds on its own
# against the unpacked folder.
install(FILES
  ${PROJECT_SOURCE_DIR}/examples/framework_tour/CMakeLists.txt
  ${PROJECT_SOURCE_DIR}/examples/framework_tour/README.md
  ${PROJECT_SOURCE_DIR}/examples/framework_tour/tour.cpp
  ${PROJECT_SOURCE_DIR}/examples/framework_tour/tour.rc.in
  DESTINATION examples/framework_tour)

install(FILES ${PROJECT_SOURCE_DIR}/docs/release-readme.md DESTINATION . RENAME README.md)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "The Korvane authors")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME korvane-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
