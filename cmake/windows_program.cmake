# The Windows program, the helpers the tests run beside it, and the Windows-side tests.
if(MINGW)
  # One exe that runs on a clean Windows: no libgcc/libstdc++/winpthread DLLs beside it.
  set(TAVRO_STATIC_LINK -static -static-libgcc -static-libstdc++)
endif()

# WinMain lives in a file of its own so that the test exe can link every binding without it.
add_executable(tavroclock WIN32 ${CMAKE_SOURCE_DIR}/src/app/win_main_win32.cpp
               ${CMAKE_SOURCE_DIR}/src/app/load_config_win32.cpp ${CMAKE_SOURCE_DIR}/src/app/tavroclock.rc)
target_link_libraries(tavroclock PRIVATE tavro_app_win32 ${TAVRO_STATIC_LINK})
if(MINGW)
  # Stripped of the debug data the static runtime brings (about 690 KB), and the same bytes from
  # any folder at any time: no link time stamp in the PE header, no build folder in the code.
  target_link_options(tavroclock PRIVATE -municode -s -Wl,--no-insert-timestamp)
  target_compile_options(tavroclock PRIVATE -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
endif()
set_target_properties(tavroclock PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The load configuration's entry, which GNU ld does not set (src/app/load_config_win32.cpp).
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_custom_command(TARGET tavroclock POST_BUILD
                     COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pe_load_config.py $<TARGET_FILE:tavroclock>
                     VERBATIM)
else()
  message(WARNING "No Python 3: the exe gets no load configuration, and Windows looks for its DLLs beside it too")
endif()
configure_file(${CMAKE_SOURCE_DIR}/src/app/tavro_version.h.in ${CMAKE_BINARY_DIR}/generated/tavro_version.h @ONLY)
target_include_directories(tavroclock PRIVATE ${CMAKE_BINARY_DIR}/generated)

# The helper that runs inside Wine beside the clock: stand-in shells, the desktop report and
# more, for the end-to-end tests, tools/run_clock.sh and the idle benchmark; and the watchers
# that only the end-to-end tests use.
file(GLOB TAVRO_WINE_HELPERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/wine_helper/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/e2e/helpers/*.cpp)
foreach(helper ${TAVRO_WINE_HELPERS})
  get_filename_component(name ${helper} NAME_WE)
  add_executable(${name} WIN32 ${helper})
  target_compile_definitions(${name} PRIVATE UNICODE _UNICODE)
  # The desktop report times the clock's own snapshot of the shell's windows.
  target_link_libraries(${name} PRIVATE tavro_desktop_win32 ${TAVRO_STATIC_LINK})
  if(MINGW)
    target_link_options(${name} PRIVATE -municode)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/helpers)
endforeach()

if(TAVRO_BUILD_TESTS)
  file(GLOB TAVRO_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
  if(TAVRO_WIN_TESTS)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${TAVRO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    add_executable(win_tests ${TAVRO_WIN_TESTS})
    # gtest_main brings main(); the suites need no wide entry point.
    target_link_libraries(win_tests PRIVATE tavro_app_win32 gtest_main gmock ws2_32 ${TAVRO_STATIC_LINK})
    set_target_properties(win_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  endif()
endif()
