# Builds the example program examples/resource_reader against this build of
# TorvaLink (STEP=build), or runs the built one under Wine (STEP=run): it reads
# a resource of its own with CResDll and fails unless the bytes are right. The
# build is a step of this project's build (tests/package/CMakeLists.txt); the
# run is a test.
#   MODE=installed:     cmake --install of this build into WORK/prefix, then the
#                       example with find_package(TorvaLink) and CMAKE_PREFIX_PATH
#   MODE=subdirectory:  the example with add_subdirectory of these sources
# The example links only what the package's targets declare: no default
# Windows libraries (CMAKE_CXX_STANDARD_LIBRARIES empty).
# Usage: cmake -DSTEP=build -DMODE=... -DSOURCE_DIR=... -DBINARY_DIR=... -DWORK=... -DTOOLCHAIN=...
#        -DGENERATOR=... -DMAKE_PROGRAM=... -DBUILD_TYPE=... -P consumer.cmake
#        cmake -DSTEP=run -DSOURCE_DIR=... -DBINARY_DIR=... -DWORK=... -P consumer.cmake
cmake_minimum_required(VERSION 3.21) # quoted arguments of if() are no variables
include(${CMAKE_CURRENT_LIST_DIR}/../support/steps.cmake)

set(build ${WORK}/build)
if(STEP STREQUAL "run")
  step("Running the example under Wine" ${SOURCE_DIR}/scripts/wine-run.sh ${BINARY_DIR} ${build}/resource_reader.exe)
  return()
elseif(NOT STEP STREQUAL "build")
  message(FATAL_ERROR "STEP: build or run, not ${STEP}")
endif()

file(REMOVE_RECURSE ${WORK})
set(example ${SOURCE_DIR}/examples/resource_reader)
set(configure ${CMAKE_COMMAND} -S ${example} -B ${build} -G ${GENERATOR} -DCMAKE_MAKE_PROGRAM=${MAKE_PROGRAM}
  -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_CXX_STANDARD_LIBRARIES=)

if(MODE STREQUAL "installed")
  step("Installing the package into ${WORK}/prefix"
    ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${WORK}/prefix --component torvalink_development)
  step("Configuring the example with find_package(TorvaLink)" ${configure} -DCMAKE_PREFIX_PATH=${WORK}/prefix)
  # The package found must be the one just installed.
  load_cache(${build} READ_WITH_PREFIX found_ TorvaLink_DIR)
  if(NOT found_TorvaLink_DIR STREQUAL "${WORK}/prefix/lib/cmake/TorvaLink")
    message(FATAL_ERROR "find_package(TorvaLink) found ${found_TorvaLink_DIR}, not the package in ${WORK}/prefix")
  endif()
elseif(MODE STREQUAL "subdirectory")
  step("Configuring the example with add_subdirectory(${SOURCE_DIR})" ${configure} -DTORVALINK_SOURCE_DIR=${SOURCE_DIR})
else()
  message(FATAL_ERROR "MODE: installed or subdirectory, not ${MODE}")
endif()
step("Building the example" ${CMAKE_COMMAND} --build ${build})
