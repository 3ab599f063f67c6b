target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes_win32.cpp
)
# The settings file through the platform's profile calls.
target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/settings_win32.cpp
)
