# The Windows build as its users get it: a zip with the DLL pair and the example client
# side by side in bin/ (where Windows looks for a program's DLLs), both headers, and for
# mingw-w64 users the import libraries and the module-definition files the DLLs were
# linked with (32-bit names keep their stdcall decoration there).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(ORVIADIC_WINDOWS_ARCH win32)
else()
  set(ORVIADIC_WINDOWS_ARCH win64)
endif()
install(TARGETS OrviaDic OrviaDB lookup RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/include/orviadic.h ${PROJECT_SOURCE_DIR}/include/orviadb.h
  DESTINATION include)
install(FILES ${CMAKE_BINARY_DIR}/OrviaDic.def ${CMAKE_BINARY_DIR}/OrviaDB.def DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/examples/windows/lookup.c DESTINATION examples)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME OrviaDic)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME OrviaDic-${PROJECT_VERSION}-${ORVIADIC_WINDOWS_ARCH})
set(CPACK_STRIP_FILES ON)
include(CPack)
