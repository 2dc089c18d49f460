# Installation: the library, its headers, a CMake package config
# (find_package(kynbasepack)) and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS kynbasepack EXPORT kynbasepackTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT kynbasepackTargets NAMESPACE kyn::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kynbasepack)

configure_package_config_file(cmake/kynbasepackConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/kynbasepackConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kynbasepack)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/kynbasepackConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/kynbasepackConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/kynbasepackConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/kynbasepack)

configure_file(cmake/kynbasepack.pc.in ${CMAKE_CURRENT_BINARY_DIR}/kynbasepack.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kynbasepack.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
