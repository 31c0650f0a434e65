# The Python interpreter that runs the build's own scripts (cmake/check_pe.py,
# the fixture data and icon writers): Python3_EXECUTABLE, with the pefile
# module. Debian packages that module (python3-pefile) for its own
# /usr/bin/python3, while a python3 found first on PATH (pyenv, a virtual
# environment) may lack it; so, unless Python3_EXECUTABLE is given, the first
# of these two that has the module is taken.

function(_torvalink_has_pefile python result)
  execute_process(COMMAND ${python} -c "import pefile" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    set(${result} ON PARENT_SCOPE)
  else()
    set(${result} OFF PARENT_SCOPE)
  endif()
endfunction()

if(NOT DEFINED Python3_EXECUTABLE)
  find_program(_torvalink_path_python NAMES python3 NO_CACHE)
  foreach(candidate IN ITEMS ${_torvalink_path_python} /usr/bin/python3)
    if(EXISTS ${candidate})
      _torvalink_has_pefile(${candidate} has_pefile)
      if(has_pefile)
        set(Python3_EXECUTABLE ${candidate} CACHE FILEPATH "Python 3 with the pefile module, for the build's checks")
        break()
      endif()
    endif()
  endforeach()
endif()

find_package(Python3 3.9 COMPONENTS Interpreter REQUIRED)
_torvalink_has_pefile(${Python3_EXECUTABLE} has_pefile)
if(NOT has_pefile)
  message(FATAL_ERROR "The build checks its Windows binaries with cmake/check_pe.py, which needs Python's pefile "
    "module; ${Python3_EXECUTABLE} (Python3_EXECUTABLE) lacks it. Install it (Debian: apt-get install "
    "python3-pefile, for /usr/bin/python3; elsewhere: python3 -m pip install pefile), or set Python3_EXECUTABLE "
    "to an interpreter that has it.")
endif()
