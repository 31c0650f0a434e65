# Configuring with a Python that lacks the pefile module stops with a message
# that says so and what to do. The Python here is this build's own, started
# without its site packages (-S), where Debian's python3-pefile lives.
# Usage: cmake -DSOURCE_DIR=... -DWORK=... -DTOOLCHAIN=... -DGENERATOR=... -DMAKE_PROGRAM=...
#        -DPYTHON=... -P python_without_pefile.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/steps.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PYTHON} -S -c "import pefile" RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(status EQUAL 0)
  message(FATAL_ERROR "${PYTHON} -S still imports pefile: this test cannot take it away")
endif()
file(WRITE ${WORK}/python3 "#!/bin/sh\nexec ${PYTHON} -S \"$@\"\n")
file(CHMOD ${WORK}/python3 PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

failing_step("Configuring with a Python without pefile"
  EXPECT "needs Python's pefile module; ${WORK}/python3 (Python3_EXECUTABLE) lacks it"
         "apt-get install python3-pefile"
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK}/build -G ${GENERATOR} -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
          -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DBUILD_TESTING=OFF -DPython3_EXECUTABLE=${WORK}/python3)
