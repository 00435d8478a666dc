# What `cmake --install` puts where, and the files other projects find it by:
# the CMake package "flamer" (targets flamer::d3dxmath, flamer::zorengine and
# the programs) and the pkg-config module "d3dxmath".
#
#   include/flamer/        d3dx_math.h and its parts, the plug-in headers
#   lib/                   libd3dxmath.a, libzorengine.so
#   lib/flamer/            the Flamer plug-in, libplFlamer.so
#   lib/cmake/flamer/      the package files
#   lib/pkgconfig/         d3dxmath.pc
#   bin/                   flamer_host, mipchain
#   share/doc/flamer/      README.md, LICENSE
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(FLAMER_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/flamer)
set(FLAMER_INSTALL_PLUGINDIR ${CMAKE_INSTALL_LIBDIR}/flamer)
set(FLAMER_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/flamer)

# The installed tree finds its own parts relative to where it lies, so it can
# be moved as a whole.
function(flamer_relative_path var from to)
  cmake_path(ABSOLUTE_PATH from BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX} NORMALIZE)
  cmake_path(ABSOLUTE_PATH to BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX} NORMALIZE)
  file(RELATIVE_PATH relative ${from} ${to})
  string(REGEX REPLACE "/$" "" relative "${relative}")
  if(relative STREQUAL "")
    set(relative .)
  endif()
  set(${var} ${relative} PARENT_SCOPE)
endfunction()

# --- The math library ---------------------------------------------------------
# Static only: every module that uses it keeps a private, hidden copy (the
# plug-in exports none of it), and the dispatch state is per copy anyway. Its
# link interface carries the C++ runtime for C programs (math/CMakeLists.txt).
install(TARGETS d3dxmath EXPORT flamerTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${FLAMER_INSTALL_INCLUDEDIR})
install(FILES
    ${PROJECT_SOURCE_DIR}/math/include/d3dx_math.h
    ${PROJECT_SOURCE_DIR}/math/include/d3dx_math_slots.def
    ${FLAMER_GENERATED_INCLUDE_DIR}/d3dx_math_version.h
  DESTINATION ${FLAMER_INSTALL_INCLUDEDIR})

# --- The engine library and the plug-in interface -----------------------------
set_target_properties(zorengine PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})
install(TARGETS zorengine EXPORT flamerTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${FLAMER_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/CODE/_INCLUDE/
  DESTINATION ${FLAMER_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.h")

# The plug-in is loaded by path, not linked: it gets a folder of its own and
# finds the engine library one level up.
flamer_relative_path(plugin_to_libdir ${FLAMER_INSTALL_PLUGINDIR} ${CMAKE_INSTALL_LIBDIR})
set_target_properties(plFlamer PROPERTIES INSTALL_RPATH "$ORIGIN/${plugin_to_libdir}")
install(TARGETS plFlamer LIBRARY DESTINATION ${FLAMER_INSTALL_PLUGINDIR})

# --- The programs -------------------------------------------------------------
flamer_relative_path(bin_to_libdir ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR})
if(TARGET flamer_host)
  # The installed host program loads the installed plug-in by default.
  flamer_relative_path(bin_to_plugindir ${CMAKE_INSTALL_BINDIR} ${FLAMER_INSTALL_PLUGINDIR})
  target_compile_definitions(flamer_host PRIVATE
    FLAMER_INSTALLED_PLUGIN_PATH="${bin_to_plugindir}/$<TARGET_FILE_NAME:plFlamer>")
  set_target_properties(flamer_host PROPERTIES INSTALL_RPATH "$ORIGIN/${bin_to_libdir}")
  install(TARGETS flamer_host EXPORT flamerTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET mipchain)
  install(TARGETS mipchain EXPORT flamerTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

# --- Package files ------------------------------------------------------------
install(EXPORT flamerTargets
  NAMESPACE flamer::
  DESTINATION ${FLAMER_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/flamerConfig.cmake.in
  ${PROJECT_BINARY_DIR}/flamerConfig.cmake
  INSTALL_DESTINATION ${FLAMER_INSTALL_CMAKEDIR}
  PATH_VARS FLAMER_INSTALL_PLUGINDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/flamerConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/flamerConfig.cmake ${PROJECT_BINARY_DIR}/flamerConfigVersion.cmake
  DESTINATION ${FLAMER_INSTALL_CMAKEDIR})

# pkg-config: the C++ runtime is only needed when linking statically, which
# is the only way this library links (pkg-config --static).
list(TRANSFORM FLAMER_CXX_RUNTIME_LIBS PREPEND "-l" OUTPUT_VARIABLE runtime_flags)
list(JOIN runtime_flags " " FLAMER_PC_LIBS_PRIVATE)
flamer_relative_path(pc_to_prefix ${CMAKE_INSTALL_LIBDIR}/pkgconfig .)
flamer_relative_path(prefix_to_libdir . ${CMAKE_INSTALL_LIBDIR})
flamer_relative_path(prefix_to_includedir . ${FLAMER_INSTALL_INCLUDEDIR})
configure_file(${PROJECT_SOURCE_DIR}/math/d3dxmath.pc.in ${PROJECT_BINARY_DIR}/d3dxmath.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/d3dxmath.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
