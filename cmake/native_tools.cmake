# Native build: the portable code's unit tests, the picture generator and the benchmarks.
file(GLOB TAVRO_TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/picture_generator/*.cpp)
if(TAVRO_TOOL_SOURCES)
  add_executable(make_pictures ${TAVRO_TOOL_SOURCES})
  target_link_libraries(make_pictures PRIVATE tavro_render)
endif()

# The almanac's events and days as text, for the cross-check against python3-ephem.
add_executable(almanac_dump ${CMAKE_SOURCE_DIR}/tools/almanac_dump/almanac_dump.cpp)
target_link_libraries(almanac_dump PRIVATE tavro_almanac)
# What the reminders' reader and rules make of a file, for the cross-check against python3-dateutil.
add_executable(reminders_dump ${CMAKE_SOURCE_DIR}/tools/reminders_dump/reminders_dump.cpp)
target_link_libraries(reminders_dump PRIVATE tavro_reminders)

if(TAVRO_BUILD_TESTS)
  find_package(GTest REQUIRED)
  enable_testing()
  file(GLOB TAVRO_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
  add_executable(unit_tests ${TAVRO_UNIT_TESTS})
  target_link_libraries(unit_tests PRIVATE tavro_app GTest::gtest_main GTest::gmock)
  target_compile_definitions(unit_tests PRIVATE
    TAVRO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(TAVRO_SANITIZE)
    # The picture generator's own drawing, which the pictures' test runs, is not the program's code
    # and takes most of the tests' time under the sanitizers; the program's drawing it calls stays
    # checked.
    set_source_files_properties(${CMAKE_SOURCE_DIR}/tests/unit/pictures_test.cpp PROPERTIES COMPILE_OPTIONS -fno-sanitize=all)
  endif()
  include(GoogleTest)
  gtest_discover_tests(unit_tests WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} DISCOVERY_TIMEOUT 60)
  # New moons, solar terms and old-calendar days of 1900 to 2100 against Debian's python3-ephem.
  add_test(NAME almanac_against_ephem
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/almanac/check_against_ephem.py
                   $<TARGET_FILE:almanac_dump> 1900 2100)
  # The reminders' rules against python3-dateutil, their file against python3-icalendar.
  add_test(NAME reminders_against_dateutil
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/reminders/check_against_dateutil.py
                   $<TARGET_FILE:reminders_dump>)
endif()

# The fuzzers (tools/run_fuzz.sh runs them): libFuzzer is clang's, so the sanitizer build has them.
# Each is built from the files of the rooms it fuzzes, compiled with the fuzzer's coverage (the
# unit tests run faster without it), and takes anything else from the rooms' libraries.
if(TAVRO_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_custom_target(fuzzers)
  foreach(fuzzer happy_scan_fuzz:holidays,datetime holiday_list_fuzz:holidays,datetime
                 reminder_file_fuzz:reminders,almanac,datetime)
    string(REPLACE ":" ";" fuzzer ${fuzzer})
    list(GET fuzzer 0 name)
    list(GET fuzzer 1 rooms)
    string(REPLACE "," ";" rooms ${rooms})
    set(sources ${CMAKE_SOURCE_DIR}/tests/fuzz/${name}.cpp)
    set(libraries "")
    foreach(room ${rooms})
      file(GLOB room_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${room}/*.cpp)
      list(FILTER room_sources EXCLUDE REGEX "_win32\\.cpp$")
      list(APPEND sources ${room_sources})
      list(APPEND libraries tavro_${room})
    endforeach()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${libraries})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    add_dependencies(fuzzers ${name})
  endforeach()
endif()

if(TAVRO_BUILD_BENCH)
  find_package(benchmark QUIET)
  file(GLOB TAVRO_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(benchmark_FOUND AND TAVRO_BENCH_SOURCES)
    add_executable(tavro_bench ${TAVRO_BENCH_SOURCES})
    target_link_libraries(tavro_bench PRIVATE tavro_app benchmark::benchmark_main)
    target_compile_definitions(tavro_bench PRIVATE TAVRO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endif()
