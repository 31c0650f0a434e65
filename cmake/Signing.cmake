# Signing at build time. TORVALINK_SIGN_COMMAND names the command that signs a
# Windows binary; the build runs it with two more arguments, the file as linked
# and the signed file to write, e.g. with osslsigncode:
#   -DTORVALINK_SIGN_COMMAND="osslsigncode sign -pkcs12 signing.p12 -readpass pass.txt -h sha256 -time 1700000000"
# It signs the control right after linking it, before the installer carries it
# (Windows checks the copy in the system folder when it loads it), and the
# installer after linking it; the build's checks then run on the signed files.
# A fixed signing time (-time) keeps the build reproducible. A payload given
# by TORVALINK_PAYLOAD is carried as it is: its signature is its maker's.
# Empty: nothing is signed.
set(TORVALINK_SIGN_COMMAND "" CACHE STRING
  "Command that signs a product binary, given the file as linked and the signed file to write; empty: no signing")

# sign_after_link(TARGET): TARGET is signed right after linking, before any
# other step after linking (call it first).
function(sign_after_link target)
  if(NOT TORVALINK_SIGN_COMMAND)
    return()
  endif()
  separate_arguments(command UNIX_COMMAND "${TORVALINK_SIGN_COMMAND}")
  set(file $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E rm -f ${file}.signed
    COMMAND ${command} ${file} ${file}.signed
    COMMAND ${CMAKE_COMMAND} -E rename ${file}.signed ${file}
    COMMENT "Signing $<TARGET_FILE_NAME:${target}>"
    VERBATIM)
endfunction()
