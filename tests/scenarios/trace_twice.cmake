# Runs kipo-sim twice on one scenario with --trace and fails unless the two outputs are the
# same byte for byte: a trace names handles and host pointers stably, never by address.
# Called as: cmake -DKIPO_SIM=<exe> [-DSCENARIO=<file>] -DWORK=<dir> -P trace_twice.cmake
set(args --trace)
if(SCENARIO)
  list(APPEND args "${SCENARIO}")
endif()
foreach(run 1 2)
  execute_process(COMMAND "${KIPO_SIM}" ${args} RESULT_VARIABLE code
                  OUTPUT_FILE "${WORK}/trace${run}.txt" ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "run ${run}: kipo-sim exited with ${code}: ${err}")
  endif()
endforeach()
file(READ "${WORK}/trace1.txt" first)
file(READ "${WORK}/trace2.txt" second)
if(NOT first STREQUAL second)
  execute_process(COMMAND diff "${WORK}/trace1.txt" "${WORK}/trace2.txt" OUTPUT_VARIABLE diff)
  message(FATAL_ERROR "the two traces differ:\n${diff}")
endif()
if(NOT first MATCHES "WM_[A-Z]+ \\(0x[0-9A-F][0-9A-F][0-9A-F][0-9A-F]\\)")
  message(FATAL_ERROR "the trace names no window message")
endif()
