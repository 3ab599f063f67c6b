# TAVIR_SANITIZE holds the -fsanitize list for every target (the sanitize preset sets it).
set(TAVIR_SANITIZE "" CACHE STRING "Sanitizers, e.g. address,undefined")
if(TAVIR_SANITIZE)
  add_compile_options(-fsanitize=${TAVIR_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TAVIR_SANITIZE})
endif()
