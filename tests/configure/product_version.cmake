# The product's version (cmake/ProductVersion.cmake): the versions of the test
# controls around it, which carry from part to part as a file version's do,
# and the versions that a build refuses.
# Usage: cmake -DSOURCE_DIR=... -P product_version.cmake
include(${CMAKE_CURRENT_LIST_DIR}/../support/steps.cmake)
set(version_file ${SOURCE_DIR}/cmake/ProductVersion.cmake)

set(PROJECT_NAME TorvaLink)
set(PROJECT_VERSION 1.0.0.23)
include(${version_file})
foreach(case "1.0.0.23 -1 1.0.0.22" "1.0.0.23 2 1.0.0.25" "1.0.1.0 -1 1.0.0.65535" "2.7.0.0 -1 2.6.65535.65535"
             "1.0.0.65535 1 1.0.1.0" "1.65535.65535.65534 2 2.0.0.0")
  separate_arguments(case)
  list(GET case 0 version)
  list(GET case 1 delta)
  list(GET case 2 expected)
  version_offset(found ${version} ${delta})
  if(NOT found STREQUAL expected)
    message(FATAL_ERROR "${version} moved by ${delta}: ${found}, expected ${expected}")
  endif()
endforeach()

failing_step("A version of three parts is refused" EXPECT "project(TorvaLink VERSION 1.0.0): a Windows file version has four parts"
  COMMAND ${CMAKE_COMMAND} -DPROJECT_NAME=TorvaLink -DPROJECT_VERSION=1.0.0 -P ${version_file})
failing_step("A part above 65535 is refused" EXPECT "project(TorvaLink VERSION 1.65536.0.1): each part is 65535 at most"
  COMMAND ${CMAKE_COMMAND} -DPROJECT_NAME=TorvaLink -DPROJECT_VERSION=1.65536.0.1 -P ${version_file})
