# Plays one scenario script: a fresh demo program folder, then configura --script in it.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${INITDB} ${WORK}/hotel --demo RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configura-initdb failed: ${rc}")
endif()
execute_process(COMMAND ${CONFIGURA} --home ${WORK}/hotel --script ${SCRIPT}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "scenario ${SCRIPT} failed with status ${rc}")
endif()
