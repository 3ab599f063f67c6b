target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes_win32.cpp
)
# The settings file through the platform's profile calls.
target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/settings_win32.cpp
)
# Start-up, debugger window, keyboard hook, and the program TAVIR.EXE.
target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/keyboard_hook_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_commands_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_classes_win32.cpp
)
enable_language(RC)
add_executable(TAVIR WIN32
  ${CMAKE_CURRENT_LIST_DIR}/winmain_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../resources/tavir.rc
)
# The program's file name is TAVIR.EXE, upper case like its name in the texts.
set_target_properties(TAVIR PROPERTIES OUTPUT_NAME TAVIR SUFFIX ".EXE")
target_link_libraries(TAVIR PRIVATE tavir_win32 tavir_warnings)
