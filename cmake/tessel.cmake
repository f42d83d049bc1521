# The library's targets: every static library is made by tessel_library, which gives it the
# usage requirements a consumer needs, a TesselOCX::<name> alias and a place in the export set.
include(GNUInstallDirs)

# Headers are installed below include/TesselOCX, keeping their folders: #include "host/Form.h".
set(TESSEL_INCLUDE_DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/TesselOCX)
set(TESSEL_CMAKE_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/TesselOCX)

# Windows libraries the library code uses.
set(TESSEL_WIN_LIBS ole32 oleaut32 uuid comctl32 gdi32 user32 shell32 shlwapi windowscodecs msimg32 advapi32 oleacc)
# What every translation unit including a library header is compiled with.
set(TESSEL_PUBLIC_DEFINITIONS UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN
    _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)

# tessel_library(<name> DIRS <folders...> [LIBS <libs...>] [EXPORT <short name>] [HEADERS <headers...>]
#                [CONTROLS])
# A static library of every .cpp in the folders (found again whenever a file is added). EXPORT
# names it TesselOCX::<short name> in the tree and in the installed package; HEADERS are its public
# headers, installed with every header of the tree they include; CONTROLS makes it part of
# TesselOCX::controls. A new library folder is one call in its CMakeLists.txt and one
# add_subdirectory line in the top-level file.
function(tessel_library name)
  cmake_parse_arguments(L "CONTROLS" "EXPORT" "DIRS;LIBS;HEADERS" ${ARGN})
  set(srcs "")
  foreach(d ${L_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${d}/*.cpp)
    list(APPEND srcs ${found})
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_link_libraries(${name} PUBLIC ${L_LIBS})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${L_LIBS})
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                               $<INSTALL_INTERFACE:${TESSEL_INCLUDE_DESTINATION}>)
  target_compile_features(${name} ${scope} cxx_std_20)
  target_compile_definitions(${name} ${scope} ${TESSEL_PUBLIC_DEFINITIONS})
  if(L_EXPORT)
    set_target_properties(${name} PROPERTIES EXPORT_NAME ${L_EXPORT})
    add_library(TesselOCX::${L_EXPORT} ALIAS ${name})
    set_property(GLOBAL APPEND PROPERTY TESSEL_EXPORTED_TARGETS ${name})
  endif()
  if(L_CONTROLS)
    set_property(GLOBAL APPEND PROPERTY TESSEL_CONTROL_TARGETS ${name})
  endif()
  foreach(h ${L_HEADERS})
    set_property(GLOBAL APPEND PROPERTY TESSEL_PUBLIC_HEADERS ${PROJECT_SOURCE_DIR}/${h})
  endforeach()
endfunction()

# tessel_header_closure(<out> <headers...>): the headers with every header of the tree they include
# with quotes, directly or through others, as paths below the project's folder.
function(tessel_header_closure out)
  set(todo ${ARGN})
  set(seen "")
  while(todo)
    list(POP_FRONT todo h)
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${h})
    if(rel IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${rel})
    file(STRINGS ${h} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line ${lines})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" inc "${line}")
      if(EXISTS ${PROJECT_SOURCE_DIR}/${inc})
        list(APPEND todo ${PROJECT_SOURCE_DIR}/${inc})
      else()
        message(FATAL_ERROR "${rel} includes \"${inc}\", which is not a path below ${PROJECT_SOURCE_DIR}")
      endif()
    endforeach()
  endwhile()
  list(SORT seen)
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/TesselOCXManifest.cmake)

# CI builds with every warning an error (scripts pass TESSEL_WARNINGS_AS_ERRORS from the environment).
option(TESSEL_WARNINGS_AS_ERRORS "Stop the build at any compiler warning" OFF)
if(TESSEL_WARNINGS_AS_ERRORS)
  add_compile_options(-Werror)
endif()
