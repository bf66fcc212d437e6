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

if(TAVRO_BUILD_BENCH)
  find_package(benchmark QUIET)
  file(GLOB TAVRO_BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  if(benchmark_FOUND AND TAVRO_BENCH_SOURCES)
    add_executable(tavro_bench ${TAVRO_BENCH_SOURCES})
    target_link_libraries(tavro_bench PRIVATE tavro_app benchmark::benchmark_main)
    target_compile_definitions(tavro_bench PRIVATE TAVRO_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  endif()
endif()
