# Installs what a program built on the library needs: the public headers, the static libraries,
# the server with its type library, the form tool, and the TesselOCX CMake package.
include(CMakePackageConfigHelpers)

get_property(tessel_exported GLOBAL PROPERTY TESSEL_EXPORTED_TARGETS)
install(TARGETS ${tessel_exported} tessel_controls EXPORT TesselOCXTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS TesselOCX EXPORT TesselOCXTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${TESSEL_TLB} DESTINATION ${CMAKE_INSTALL_BINDIR})
# The controls' interfaces for C++ clients of the ActiveX controls (its Base.h includes the system's).
install(FILES ${TESSEL_CONTROLS_HEADER_DIR}/TesselOCXControls.h ${TESSEL_CONTROLS_HEADER_DIR}/Base.h
        DESTINATION ${TESSEL_INCLUDE_DESTINATION})
if(TARGET formtool)
  install(TARGETS formtool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

get_property(tessel_headers GLOBAL PROPERTY TESSEL_PUBLIC_HEADERS)
tessel_header_closure(tessel_installed_headers ${tessel_headers})
foreach(h ${tessel_installed_headers})
  get_filename_component(dir ${h} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/${h} DESTINATION ${TESSEL_INCLUDE_DESTINATION}/${dir})
endforeach()

install(EXPORT TesselOCXTargets NAMESPACE TesselOCX:: DESTINATION ${TESSEL_CMAKE_DESTINATION})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TesselOCXConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/TesselOCXConfig.cmake
                              INSTALL_DESTINATION ${TESSEL_CMAKE_DESTINATION}
                              PATH_VARS CMAKE_INSTALL_BINDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TesselOCXConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TesselOCXConfig.cmake ${PROJECT_BINARY_DIR}/TesselOCXConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/TesselOCXManifest.cmake ${PROJECT_SOURCE_DIR}/cmake/tessel-app.manifest
        DESTINATION ${TESSEL_CMAKE_DESTINATION})
