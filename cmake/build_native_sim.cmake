# cmake -DSOURCE_DIR=... -DBUILD_DIR=... -P build_native_sim.cmake
# Run as the first end-to-end test: brings the native tavir-sim of the end-to-end cases up to date,
# so that no case runs a simulator older than its sources. A native build that was never configured
# is configured with the native preset first.
if(NOT EXISTS "${BUILD_DIR}/CMakeCache.txt")
  if(NOT BUILD_DIR STREQUAL "${SOURCE_DIR}/build/native")
    message(FATAL_ERROR "${BUILD_DIR} is not configured: configure it before the end-to-end tests")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --preset native WORKING_DIRECTORY ${SOURCE_DIR}
                  OUTPUT_QUIET RESULT_VARIABLE result)
  if(result)
    message(FATAL_ERROR "configuring the native build for tavir-sim failed (${result})")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target tavir-sim RESULT_VARIABLE result)
if(result)
  message(FATAL_ERROR "building the native tavir-sim failed (${result})")
endif()
