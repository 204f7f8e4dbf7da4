# SPDX-License-Identifier: MIT
# Runs PROGRAM on CASE.in and checks that it writes exactly CASE.out and
# exits with STATUS. On a mismatch it shows both outputs and their diff.
# EMULATOR, a list, is the command that runs a cross-built PROGRAM.
execute_process(COMMAND ${EMULATOR} ${PROGRAM}
                INPUT_FILE ${CASE}.in
                OUTPUT_FILE ${ACTUAL}
                RESULT_VARIABLE status)

file(READ ${CASE}.out expected HEX)
file(READ ${ACTUAL} actual HEX)
if(NOT actual STREQUAL expected)
  file(READ ${CASE}.out expected_text)
  file(READ ${ACTUAL} actual_text)
  message("--- expected (${CASE}.out)\n${expected_text}")
  message("--- actual (${ACTUAL})\n${actual_text}")
  execute_process(COMMAND diff -a ${CASE}.out ${ACTUAL})
  message(FATAL_ERROR "output differs")
endif()
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}")
endif()
