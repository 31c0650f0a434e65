# The machine of this build's binaries, as check_pe.py names it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(TORVALINK_PE_MACHINE I386)
else()
  set(TORVALINK_PE_MACHINE AMD64)
endif()

# check_payload(INSTALLER PAYLOAD_FILE [PAYLOAD_TARGET] [WITHOUT_VERSION]):
# INSTALLER is built only after its payload has passed the payload check: a
# self-registering library (it exports DllRegisterServer and
# DllUnregisterServer) for the installer's machine, with a file version.
# WITHOUT_VERSION: a test's payload that has none. The check is the target
# INSTALLER_payload_check.
function(check_payload installer payload)
  cmake_parse_arguments(CHECK "WITHOUT_VERSION" "" "" ${ARGN})
  set(options)
  if(CHECK_WITHOUT_VERSION)
    set(options --without-version)
  endif()
  set(check ${PROJECT_SOURCE_DIR}/cmake/check_pe.py)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${installer}_payload_checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${Python3_EXECUTABLE} ${check} payload ${payload} --machine ${TORVALINK_PE_MACHINE} ${options}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${payload} ${CHECK_UNPARSED_ARGUMENTS} ${check}
    COMMENT "Checking the payload of ${installer}: ${payload}"
    VERBATIM)
  add_custom_target(${installer}_payload_check DEPENDS ${stamp})
  add_dependencies(${installer} ${installer}_payload_check)
endfunction()

# check_payload_file(VARIABLE): the same check at configure time, of the file
# that the cache entry VARIABLE names; a payload that fails it stops the configure.
function(check_payload_file variable)
  set(payload ${${variable}})
  if(NOT EXISTS ${payload} OR IS_DIRECTORY ${payload})
    message(FATAL_ERROR "${variable}: no such file: ${payload}")
  endif()
  execute_process(COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_pe.py payload ${payload}
                          --machine ${TORVALINK_PE_MACHINE}
    RESULT_VARIABLE status OUTPUT_VARIABLE problems ERROR_VARIABLE problems)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${variable} names a file that this build's installer cannot carry:\n${problems}"
      "The setting stays in this build folder's cache (${CMAKE_BINARY_DIR}) until it is changed: give another "
      "file, or -D${variable}= for the control built here.")
  endif()
endfunction()

# check_exports(TARGET NAME...): the build fails unless TARGET exports exactly
# these names, undecorated (what Wine would not refuse, Windows would).
function(check_exports target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_pe.py exports $<TARGET_FILE:${target}> ${ARGN}
    VERBATIM)
endfunction()

# export_undecorated(TARGET DEF_FILE): exports a library's stdcall entries under
# their plain names, as the .def file lists them (on i686 the compiler decorates
# them as NAME@BYTES; the fix-up maps the plain names onto those).
function(export_undecorated target def)
  target_sources(${target} PRIVATE ${def})
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# check_windows95(TARGET DLLS DLL... [OWN_ENTRY MAP_FILE]): the build fails unless
# TARGET loads and works on Windows 95: it imports by name, only from these DLLs
# and only functions on cmake/windows95_imports.txt, and has no TLS directory.
# OWN_ENTRY: TARGET starts at an entry point of its own, without the C run time's
# start-up; its linker map MAP_FILE then shows whether it still has a .CRT
# section, runtime pseudo-relocations or global constructors or destructors,
# which nothing would run.
function(check_windows95 target)
  cmake_parse_arguments(W95 "" "OWN_ENTRY" "DLLS" ${ARGN})
  set(own_entry)
  if(W95_OWN_ENTRY)
    set(own_entry --own-entry ${W95_OWN_ENTRY})
  endif()
  set(list ${PROJECT_SOURCE_DIR}/cmake/windows95_imports.txt)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_pe.py windows95 $<TARGET_FILE:${target}> ${list}
            --dlls ${W95_DLLS} ${own_entry} --objdump ${CMAKE_OBJDUMP}
    VERBATIM)
  # A check runs after linking only: an edited list or check links again.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${list} ${PROJECT_SOURCE_DIR}/cmake/check_pe.py)
endfunction()

# check_release(TARGET): the build fails unless TARGET is as it is released:
# the same bytes from every build of the same sources (no build time, no path
# of the sources' or the build's folder) and, when the build signs
# (TORVALINK_SIGN_COMMAND), signed: it runs on the signed file.
function(check_release target)
  set(signed)
  if(TORVALINK_SIGN_COMMAND)
    set(signed --signed)
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/check_pe.py release $<TARGET_FILE:${target}>
            --paths ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR} ${signed}
    VERBATIM)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/check_pe.py)
endfunction()
