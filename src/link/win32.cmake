# The debugger's serial and TCP links with their reader threads.
target_sources(tavir_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/reader_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/serial_link_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tcp_transport_win32.cpp
)
