# Helpers for the tests that are CMake scripts (cmake -P): each step runs one
# command and ends the test, with the command's output, when it goes wrong.

# step(WHAT COMMAND...): COMMAND must succeed.
function(step what)
  message(STATUS "${what}")
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what}: failed (${status}):\n${output}")
  endif()
endfunction()

# failing_step(WHAT EXPECT TEXT... COMMAND ...): COMMAND must fail, and its
# output must hold every TEXT (blanks and line breaks count as one space, since
# CMake wraps its messages).
function(failing_step what)
  cmake_parse_arguments(STEP "" "" "EXPECT;COMMAND" ${ARGN})
  message(STATUS "${what}")
  execute_process(COMMAND ${STEP_COMMAND} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(status EQUAL 0)
    message(FATAL_ERROR "${what}: succeeded, but should have failed:\n${output}")
  endif()
  string(REGEX REPLACE "[ \t\r\n]+" " " flat "${output}")
  foreach(text IN LISTS STEP_EXPECT)
    string(FIND "${flat}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${what}: failed, but without saying \"${text}\":\n${output}")
    endif()
  endforeach()
endfunction()
