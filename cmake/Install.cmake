# The TorvaLink package: the resource library torvalink::resdll with what it
# needs (torvalink::common, the headers of both, the system libraries they
# link), for another project's find_package(TorvaLink):
#   <prefix>/include/torvalink/                       CResDll.h and the common headers,
#                                                     as <torvalink/CResDll.h>
#   <prefix>/lib/libtorvalink_resdll.a, libtorvalink_common.a
#   <prefix>/lib/cmake/TorvaLink/                     config, version and targets files
# The package is for the machine it was built for: the version file refuses a
# project of the other pointer size.
include(CMakePackageConfigHelpers)
set(TORVALINK_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/TorvaLink)

install(TARGETS torvalink_common torvalink_resdll EXPORT TorvaLinkTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT torvalink_development)
install(FILES ${torvalink_common_headers} ${torvalink_resdll_headers}
  DESTINATION ${TORVALINK_INSTALL_INCLUDEDIR} COMPONENT torvalink_development)
install(EXPORT TorvaLinkTargets NAMESPACE torvalink:: DESTINATION ${TORVALINK_INSTALL_CMAKEDIR}
  COMPONENT torvalink_development)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TorvaLinkConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/TorvaLinkConfig.cmake INSTALL_DESTINATION ${TORVALINK_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/TorvaLinkConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/TorvaLinkConfig.cmake ${PROJECT_BINARY_DIR}/package/TorvaLinkConfigVersion.cmake
  DESTINATION ${TORVALINK_INSTALL_CMAKEDIR} COMPONENT torvalink_development)
