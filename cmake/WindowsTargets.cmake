# Windows builds, cross-compiled with mingw-w64 (cmake/toolchains/). The 32-bit build
# makes the real DLL pair and checks its exports and, where 32-bit Wine runs, runs the
# tests under it through CTest's emulator. The 64-bit build runs under Wine what the
# 32-bit run leaves out: the Windows backend with 64-bit handles and sizes, or all of the
# tests where 32-bit Wine does not run.

enable_language(RC)
# The compiler, the tool, fuzzing and benchmarks need POSIX libraries.
set(ORVIADIC_TOOLS OFF CACHE BOOL "" FORCE)
set(ORVIADIC_BENCH OFF CACHE BOOL "" FORCE)

# Programs and DLLs side by side, where Windows looks for a program's DLLs.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_SHARED_LIBRARY_PREFIX "")

find_program(ORVIADIC_DLLTOOL NAMES ${ORVIADIC_MINGW_TRIPLE}-dlltool REQUIRED)
find_program(ORVIADIC_OBJDUMP NAMES ${ORVIADIC_MINGW_TRIPLE}-objdump REQUIRED)

# Debian's 32-bit Wine loader, when installed and when this kernel runs it.
find_program(ORVIADIC_WINE32 NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
set(ORVIADIC_WINE32_RUNS OFF)
if(ORVIADIC_WINE32)
  execute_process(COMMAND ${ORVIADIC_WINE32} --version RESULT_VARIABLE wine32_status
    OUTPUT_QUIET ERROR_QUIET)
  if(wine32_status EQUAL 0)
    set(ORVIADIC_WINE32_RUNS ON)
  endif()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  find_program(ORVIADIC_WINE NAMES wine REQUIRED)
  set(ORVIADIC_WINEARCH win64)
  set(ORVIADIC_WINDOWS_RUNS_TESTS ON)
  set(ORVIADIC_WINDOWS_BACKEND_TESTS_ONLY ${ORVIADIC_WINE32_RUNS})
elseif(ORVIADIC_WINE32_RUNS)
  set(ORVIADIC_WINE ${ORVIADIC_WINE32})
  # A prefix of its own architecture: 32-bit Windows, as the DLLs' users run them.
  set(ORVIADIC_WINEARCH win32)
  set(ORVIADIC_WINDOWS_RUNS_TESTS ON)
  set(ORVIADIC_WINDOWS_BACKEND_TESTS_ONLY OFF)
else()
  message(STATUS "No 32-bit Wine runs here: the 32-bit tests are not built")
  set(ORVIADIC_WINDOWS_RUNS_TESTS OFF)
endif()

if(ORVIADIC_WINDOWS_RUNS_TESTS)
  find_program(ORVIADIC_WINESERVER NAMES wineserver REQUIRED)
  # Programs run through a script that gives them a Wine prefix of their own in the
  # build folder, made on first use without prompts or network.
  set(ORVIADIC_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/WindowsRun.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

  # GoogleTest compiled from the sources Debian ships; they define GTest::gtest and
  # GTest::gtest_main as find_package does.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# The version numbers for the version resource, from the project's version.
set(ORVIADIC_VERSION_HEADER_DIR ${CMAKE_BINARY_DIR}/generated)
file(CONFIGURE OUTPUT ${ORVIADIC_VERSION_HEADER_DIR}/orviadic_version.h CONTENT
"#define ORVIADIC_VERSION_NUMBERS ${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}
#define ORVIADIC_VERSION_TEXT \"${PROJECT_VERSION_MAJOR}, ${PROJECT_VERSION_MINOR}, ${PROJECT_VERSION_PATCH}, ${PROJECT_VERSION_TWEAK}\"
")

# A module-definition file as this target needs it: the 32-bit names keep their stdcall
# decoration (the link strips it from the exports), 64-bit names have none; with
# NONAME, every export by ordinal only, for an import library.
function(orvia_windows_def def out noname)
  file(READ ${def} text)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(REGEX REPLACE "([A-Za-z0-9_])@[0-9]+" "\\1" text "${text}")
  endif()
  if(noname)
    string(REGEX REPLACE "( @[0-9]+)\n" "\\1 NONAME\n" text "${text}")
  endif()
  file(CONFIGURE OUTPUT ${out} CONTENT "${text}" @ONLY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
endfunction()

# orvia_windows_exports(TARGET DEF): the DLL exports exactly what DEF lists.
function(orvia_windows_exports target def)
  get_filename_component(name ${def} NAME)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name})
  orvia_windows_def(${def} ${out} OFF)
  target_sources(${target} PRIVATE ${out})
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
  endif()
endfunction()

# orvia_windows_import_by_ordinal(IMPORTER DLL DEF): IMPORTER links DLL through an import
# library made from DEF with NONAME entries, so it imports by ordinal only; a DEF without
# ordinals gives imports by name. Either way the library's symbols keep their 32-bit
# stdcall decoration, which callers' objects refer to, while the names it imports have
# none, as the DLL exports them.
function(orvia_windows_import_by_ordinal importer dll def)
  set(noname ${CMAKE_BINARY_DIR}/generated/${dll}_ordinals.def)
  set(library ${CMAKE_BINARY_DIR}/generated/lib${dll}_ordinals.a)
  orvia_windows_def(${def} ${noname} ON)
  if(NOT TARGET ${dll}_ordinals)
    add_custom_command(OUTPUT ${library}
      COMMAND ${ORVIADIC_DLLTOOL} --kill-at -d ${noname} -l ${library} -D ${dll}.dll
      DEPENDS ${noname} VERBATIM)
    add_custom_target(${dll}_ordinals DEPENDS ${library})
  endif()
  get_target_property(libraries ${importer} LINK_LIBRARIES)
  list(TRANSFORM libraries REPLACE "^${dll}$" "${library}")
  set_property(TARGET ${importer} PROPERTY LINK_LIBRARIES ${libraries})
  add_dependencies(${importer} ${dll}_ordinals ${dll})
endfunction()

# OrviaDB.dll and OrviaDic.dll as the system expects them: exports by module-definition
# file, OrviaDic.dll importing OrviaDB.dll by ordinal, and a version resource.
function(orvia_windows_dlls)
  orvia_windows_exports(OrviaDB ${PROJECT_SOURCE_DIR}/src/db/OrviaDB.def)
  orvia_windows_exports(OrviaDic ${PROJECT_SOURCE_DIR}/src/api/OrviaDic.def)
  orvia_windows_import_by_ordinal(OrviaDic OrviaDB ${PROJECT_SOURCE_DIR}/src/db/OrviaDB.def)
  target_sources(OrviaDic PRIVATE ${PROJECT_SOURCE_DIR}/src/api/OrviaDic.rc)
  target_include_directories(OrviaDic PRIVATE ${ORVIADIC_VERSION_HEADER_DIR})
endfunction()
