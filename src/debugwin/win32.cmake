# The message window, the child windows with their item controls and live values, and the
# window list dialogs.
target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/center_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/child_selection_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/child_window_files_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/child_window_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_system_search_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/live_values_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/item_controls_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_window_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_list_dialogs_win32.cpp
)
