# check_exports(TARGET NAME...): the build fails unless TARGET exports exactly
# these names, undecorated (the i686 build cannot be run here, only read).
function(check_exports target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${SYSTEM_PYTHON} ${PROJECT_SOURCE_DIR}/cmake/check_pe.py exports $<TARGET_FILE:${target}> ${ARGN}
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
