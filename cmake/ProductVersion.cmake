# The version is the project's, stated once in project() of the top-level
# CMakeLists.txt: the version resources, the manifest, the build's checks and
# the test controls' names follow from it. Windows keeps a file version as
# four numbers of 16 bits each, so it must have four parts of 0 to 65535.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "project(${PROJECT_NAME} VERSION ${PROJECT_VERSION}): a Windows file version has four parts, "
    "e.g. 1.0.0.23")
endif()
string(REPLACE "." ";" _torvalink_version_parts ${PROJECT_VERSION})
foreach(_torvalink_version_part IN LISTS _torvalink_version_parts)
  if(_torvalink_version_part GREATER 65535)
    message(FATAL_ERROR "project(${PROJECT_NAME} VERSION ${PROJECT_VERSION}): each part is 65535 at most")
  endif()
endforeach()
unset(_torvalink_version_parts)
unset(_torvalink_version_part)

# version_offset(OUT VERSION DELTA): the four-part VERSION moved by DELTA in
# its last part, carrying into the others as a file version's parts do
# (1.0.1.0 - 1 = 1.0.0.65535).
function(version_offset out version delta)
  string(REPLACE "." ";" parts ${version})
  list(REVERSE parts)
  set(carry ${delta})
  set(moved)
  foreach(part IN LISTS parts)
    math(EXPR sum "${part} + ${carry}")
    math(EXPR carry "${sum} / 65536")
    math(EXPR part "${sum} % 65536")
    if(part LESS 0)
      math(EXPR part "${part} + 65536")
      math(EXPR carry "${carry} - 1")
    endif()
    list(PREPEND moved ${part})
  endforeach()
  if(NOT carry EQUAL 0)
    message(FATAL_ERROR "${version} moved by ${delta} is no file version")
  endif()
  list(JOIN moved "." moved)
  set(${out} ${moved} PARENT_SCOPE)
endfunction()
