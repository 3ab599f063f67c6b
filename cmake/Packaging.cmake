# What the packages hold and how CPack names them. The Windows build makes a zip that runs on a
# bare Windows (the toolchain links the runtime statically); the native build makes a Debian
# package of the two companion programs. scripts/package builds both and checks them.
include(GNUInstallDirs)

# Installing builds only what it installs (scripts/package builds those targets first), so a
# package never waits for the test programs.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(tavir_guide ${PROJECT_SOURCE_DIR}/docs/user-guide.md ${PROJECT_SOURCE_DIR}/docs/tavir-sim.md)
set(tavir_screenshots ${PROJECT_SOURCE_DIR}/docs/screenshots)

if(WIN32)
  # One folder, as an engineer unpacks it: the programs beside the example application, so that
  # tavir-sim.exe started in that folder finds examples\demo by itself.
  install(TARGETS TAVIR tavir-sim tavir-cli RUNTIME DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/demo/ DESTINATION examples/demo)
  install(FILES ${tavir_guide} DESTINATION docs)
  install(DIRECTORY ${tavir_screenshots} DESTINATION docs)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
else()
  install(TARGETS tavir-sim tavir-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/demo/
          DESTINATION ${CMAKE_INSTALL_DATADIR}/tavir/examples/demo)
  install(FILES ${tavir_guide} ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(DIRECTORY ${tavir_screenshots} DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

set(CPACK_PACKAGE_NAME tavir)
set(CPACK_PACKAGE_VENDOR "TAVIR project")
set(CPACK_PACKAGE_CONTACT "TAVIR project <tavir@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Simulator and command-line tools of the TAVIR signal controller debugger")
# The long description is wrapped by hand: a Debian control file keeps its lines as they are.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "tavir-sim simulates a road-traffic signal controller that speaks TAVIR's wire\n"
  "protocol over TCP and serial lines, seeded from an application's KVAPDEF.H and\n"
  "KVAPTAB.C. tavir-cli checks an application and its debug window files as the\n"
  "TAVIR debugger reads them, runs the batch tools without a window and serves\n"
  "the debug windows live to browsers. The example application and the user\n"
  "guide are included.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tavir-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
endif()

include(CPack)
