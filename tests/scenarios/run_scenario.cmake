# Runs kipo-sim on one scenario and checks its exit status and, when the scenario asks for it,
# its output. A scenario states what it expects in comment lines of its own:
#   # expect-exit: 1                      (default 0)
#   # expect-output: <regular expression> (any number; each must match the output)
# Called as: cmake -DKIPO_SIM=<exe> -DSCENARIO=<file> [-DARGS=a;b] [-DSTDIN=1] [-DCHECK=1] -P run_scenario.cmake
# With CHECK the file is a .reg file for `kipo-sim check --registry`, whose comments begin
# with ";".
set(MARK "#")
if(CHECK)
  set(MARK ";")
  set(ARGS check --registry)
endif()
file(STRINGS "${SCENARIO}" header REGEX "^${MARK} expect-(exit|output): ")
set(expected_exit 0)
set(patterns "")
foreach(line IN LISTS header)
  if(line MATCHES "^${MARK} expect-exit: ([0-9]+)")
    set(expected_exit "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^${MARK} expect-output: (.*)$")
    list(APPEND patterns "${CMAKE_MATCH_1}")
  endif()
endforeach()

if(STDIN)
  execute_process(COMMAND "${KIPO_SIM}" ${ARGS} -
                  INPUT_FILE "${SCENARIO}"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
else()
  execute_process(COMMAND "${KIPO_SIM}" ${ARGS} "${SCENARIO}"
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
endif()
set(all "${out}${err}")
message("${all}")
if(NOT "${code}" STREQUAL "${expected_exit}")
  message(FATAL_ERROR "kipo-sim exited with ${code}, expected ${expected_exit}")
endif()
foreach(pattern IN LISTS patterns)
  if(NOT all MATCHES "${pattern}")
    message(FATAL_ERROR "output does not match: ${pattern}")
  endif()
endforeach()
