# A build of this project around a custom payload (TORVALINK_PAYLOAD) refuses a
# file that its installer cannot carry, in a build folder of its own (WORK):
#  1. configuring for i686 with this x86-64 build's control fails, naming both machines;
#  2. configuring for this build's machine with a self-registering library
#     succeeds; once that file is replaced with a library that cannot
#     unregister itself, the installer's payload check fails the build; and
#     building the installer runs that check (Ninja lists it among its commands).
# Usage: cmake -DSOURCE_DIR=... -DBIN=... -DWORK=... -DTOOLCHAIN_DIR=... -DGENERATOR=...
#        -DMAKE_PROGRAM=... -P custom_payload.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/steps.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR} -G ${GENERATOR} -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
  -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF)

file(COPY_FILE ${BIN}/TORVALINK.ocx ${WORK}/x86_64.ocx)
failing_step("An i686 build refuses an x86-64 payload when it is configured"
  EXPECT "x86_64.ocx: built for x86-64 (AMD64), but the installer is built for x86 (I386)"
         "TORVALINK_PAYLOAD names a file that this build's installer cannot carry"
  COMMAND ${configure} -B ${WORK}/i686 -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_DIR}/i686-w64-mingw32.cmake
          -DTORVALINK_PAYLOAD=${WORK}/x86_64.ocx)

file(COPY_FILE ${BIN}/selfreg_both.dll ${WORK}/payload.dll)
step("An x86-64 build takes a self-registering library for x86-64"
  ${configure} -B ${WORK}/x86_64 -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_DIR}/x86_64-w64-mingw32.cmake
  -DTORVALINK_PAYLOAD=${WORK}/payload.dll)
file(COPY_FILE ${BIN}/selfreg_register_only.dll ${WORK}/payload.dll)
failing_step("Its build refuses the payload once the file cannot unregister itself"
  EXPECT "payload.dll: does not export DllUnregisterServer: not a self-registering library"
  COMMAND ${CMAKE_COMMAND} --build ${WORK}/x86_64 --target Setup_TORVALINK_payload_check)
if(GENERATOR STREQUAL "Ninja")
  execute_process(COMMAND ${MAKE_PROGRAM} -C ${WORK}/x86_64 -t commands Setup_TORVALINK OUTPUT_VARIABLE commands)
  string(FIND "${commands}" "check_pe.py payload ${WORK}/payload.dll --machine AMD64" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Building Setup_TORVALINK does not run the payload check:\n${commands}")
  endif()
endif()
