target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/message_boxes_win32.cpp
)
