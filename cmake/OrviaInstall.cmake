# What `cmake --install` puts on a POSIX system: the libraries with versioned names,
# their headers, the tool with its bash completion, and the files other builds find them
# by (a CMake package and pkg-config files). Everything is placed relative to the prefix,
# so an installed tree still works after it is moved.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ORVIADIC_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OrviaDic)

# libOrviaDic.so.2 loads libOrviaDB.so.2 from beside itself; the tool has their code linked
# in and loads neither. None keeps a path into the build folder once installed.
set_target_properties(OrviaDic OrviaDB OrviaText PROPERTIES
  VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
  SOVERSION ${PROJECT_VERSION_MAJOR})
set_target_properties(OrviaDic PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS OrviaDic OrviaDB OrviaText EXPORT OrviaDicTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/orviadic.h ${PROJECT_SOURCE_DIR}/include/orviadb.h
  ${PROJECT_SOURCE_DIR}/include/orviatext.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT OrviaDicTargets NAMESPACE OrviaDic:: DESTINATION ${ORVIADIC_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/install/OrviaDicConfig.cmake.in
  ${CMAKE_BINARY_DIR}/OrviaDicConfig.cmake INSTALL_DESTINATION ${ORVIADIC_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/OrviaDicConfigVersion.cmake
  VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/OrviaDicConfig.cmake
  ${CMAKE_BINARY_DIR}/OrviaDicConfigVersion.cmake DESTINATION ${ORVIADIC_CMAKE_DIR})

if(TARGET api_docs)
  install(DIRECTORY ${ORVIADIC_API_DOCS_DIR}/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/api)
endif()

# pkg-config files find the prefix from their own place (${pcfiledir}), so that a moved
# tree needs only PKG_CONFIG_PATH.
file(RELATIVE_PATH ORVIADIC_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
foreach(pc orviadic orviadb orviatext)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/install/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

if(TARGET orviadic)
  install(TARGETS orviadic RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/tools/completion/orviadic.bash
    DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME orviadic)
  if(ORVIADIC_MAN_PAGE)
    install(FILES ${ORVIADIC_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endif()

# A Debian package of the same tree under /usr. Its dependencies are what dpkg-shlibdeps
# finds the installed programs and libraries need; the package's own libraries answer for
# themselves through the shlibs file it carries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orviadic)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "OrviaDic developers <orviadic@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Dictionary access library and tool: look up, read, browse and compile dictionaries")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/src/api ${CMAKE_BINARY_DIR}/src/db
  ${CMAKE_BINARY_DIR}/src/text)
include(CPack)
