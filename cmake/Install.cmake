# What `cmake --install` puts where, and the files other projects find it by:
# the CMake package "flamer" (targets flamer::d3dxmath, flamer::zorengine and
# the programs) and the pkg-config modules "d3dxmath" and "zorengine".
#
#   include/flamer/        d3dx_math.h and its version header, the plug-in headers
#   lib/                   libd3dxmath.a, libzorengine.so
#   lib/flamer/            the Flamer plug-in, libplFlamer.so
#   lib/cmake/flamer/      the package files
#   lib/pkgconfig/         d3dxmath.pc, zorengine.pc
#   bin/                   flamer_host, mipchain
#   share/doc/flamer/      README.md, CHANGELOG.md, LICENSE, docs/, examples/
#   share/man/man1/        flamer_host.1, mipchain.1
#
# A math-only build (FLAMER_BUILD_ENGINE=OFF, FLAMER_BUILD_TOOLS=OFF) installs
# the math library, its headers, its package files and the documents.
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
    ${FLAMER_GENERATED_INCLUDE_DIR}/d3dx_math_version.h
  DESTINATION ${FLAMER_INSTALL_INCLUDEDIR})

# --- The engine library and the plug-in interface -----------------------------
if(FLAMER_BUILD_ENGINE)
  set_target_properties(zorengine PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  install(TARGETS zorengine EXPORT flamerTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${FLAMER_INSTALL_INCLUDEDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/CODE/_INCLUDE/
    DESTINATION ${FLAMER_INSTALL_INCLUDEDIR}
    FILES_MATCHING PATTERN "*.h")

  # The plug-in is loaded by path, not linked: it gets a folder of its own
  # and finds the engine library one level up.
  flamer_relative_path(plugin_to_libdir ${FLAMER_INSTALL_PLUGINDIR} ${CMAKE_INSTALL_LIBDIR})
  set_target_properties(plFlamer PROPERTIES INSTALL_RPATH "$ORIGIN/${plugin_to_libdir}")
  install(TARGETS plFlamer LIBRARY DESTINATION ${FLAMER_INSTALL_PLUGINDIR})
endif()

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

# --- Documents ----------------------------------------------------------------
# The README links to docs/ and examples/ beside it, as in the source tree.
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
    ${PROJECT_SOURCE_DIR}/LICENSE
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs ${PROJECT_SOURCE_DIR}/examples
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(TARGET flamer_host)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/flamer_host.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(TARGET mipchain)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/man/mipchain.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# --- Package files ------------------------------------------------------------
install(EXPORT flamerTargets
  NAMESPACE flamer::
  DESTINATION ${FLAMER_INSTALL_CMAKEDIR})
set(FLAMER_HAS_ENGINE ${FLAMER_BUILD_ENGINE})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/flamerConfig.cmake.in
  ${PROJECT_BINARY_DIR}/flamerConfig.cmake
  INSTALL_DESTINATION ${FLAMER_INSTALL_CMAKEDIR}
  PATH_VARS FLAMER_INSTALL_PLUGINDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/flamerConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/flamerConfig.cmake ${PROJECT_BINARY_DIR}/flamerConfigVersion.cmake
  DESTINATION ${FLAMER_INSTALL_CMAKEDIR})

# pkg-config. The math library is static only, so the C++ runtime it needs
# is among its plain Libs: a C program links it without --static.
list(TRANSFORM FLAMER_CXX_RUNTIME_LIBS PREPEND "-l" OUTPUT_VARIABLE runtime_flags)
list(JOIN runtime_flags " " FLAMER_PC_RUNTIME_LIBS)
flamer_relative_path(pc_to_prefix ${CMAKE_INSTALL_LIBDIR}/pkgconfig .)
flamer_relative_path(prefix_to_libdir . ${CMAKE_INSTALL_LIBDIR})
flamer_relative_path(prefix_to_includedir . ${FLAMER_INSTALL_INCLUDEDIR})
set(pc_modules d3dxmath)
if(FLAMER_BUILD_ENGINE)
  list(APPEND pc_modules zorengine)
endif()
foreach(module ${pc_modules})
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${module}.pc.in ${PROJECT_BINARY_DIR}/${module}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${module}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
