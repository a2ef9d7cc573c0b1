# The Win32 backend of src/platform: included from src/platform/CMakeLists.txt when
# building for Windows, in place of the POSIX one, with the same targets.
add_library(orvia_file STATIC win32/file_win32.cc)
target_include_directories(orvia_file PUBLIC ${PROJECT_SOURCE_DIR}/src)

add_library(orvia_heap STATIC win32/heap_win32.cc)
target_include_directories(orvia_heap PUBLIC ${PROJECT_SOURCE_DIR}/src)

add_library(orvia_platform STATIC
  win32/mutex_win32.cc
  win32/registry_win32.cc
  win32/version_win32.cc
  win32/probe_win32.cc
  win32/message_win32.cc)
target_include_directories(orvia_platform PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(orvia_platform PUBLIC orvia_base orvia_file advapi32 version user32
  $<$<NOT:$<BOOL:$<TARGET_PROPERTY:ORVIA_HEAP_FAILURES>>>:orvia_heap>)

add_library(orvia_registry_setup STATIC win32/registry_setup_win32.cc)
target_link_libraries(orvia_registry_setup PUBLIC orvia_platform)

add_library(orvia_platform_entry OBJECT win32/module_entry_win32.cc)
target_include_directories(orvia_platform_entry PUBLIC ${PROJECT_SOURCE_DIR}/src)
