# The batch tools' dialogs, their pacing and their reply store.
target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/dump_dialog_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dump_view_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parameter_dialogs_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_dialog_controls_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_pacing_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tool_store_win32.cpp
)
