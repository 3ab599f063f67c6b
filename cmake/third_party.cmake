# CLI11 and nlohmann-json are header-only. The Windows build gets only their two header folders,
# never the rest of the build machine's /usr/include.
if(CMAKE_CROSSCOMPILING)
  set(TAVIR_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party_include)
  file(MAKE_DIRECTORY ${TAVIR_THIRD_PARTY_INCLUDE})
  foreach(folder CLI nlohmann)
    if(NOT EXISTS ${TAVIR_THIRD_PARTY_INCLUDE}/${folder})
      file(CREATE_LINK /usr/include/${folder} ${TAVIR_THIRD_PARTY_INCLUDE}/${folder} SYMBOLIC)
    endif()
  endforeach()
endif()
