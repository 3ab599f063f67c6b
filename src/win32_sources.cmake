# The Win32 files of each subsystem, and TAVIR.EXE itself.
foreach(sub resources link definitions debugwin shell tools)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/win32.cmake)
    include(${CMAKE_CURRENT_SOURCE_DIR}/${sub}/win32.cmake)
  endif()
endforeach()
