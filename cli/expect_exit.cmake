# cmake -DCLI=tavir-cli -DDIR=directory -DEXPECTED=code -P expect_exit.cmake: check on
# DIR must end with exactly the exit code EXPECTED.
execute_process(COMMAND ${CLI} check ${DIR} RESULT_VARIABLE code)
if(NOT code EQUAL EXPECTED)
  message(FATAL_ERROR "check ${DIR} ended with ${code}, not ${EXPECTED}")
endif()
