# A room is a folder of src/ and its libraries: tavro_<room>, its portable files, and on Windows
# tavro_<room>_win32, its Win32 bindings. Each links only the rooms the room names as USES (and
# base/, which every room may use), and those must be rooms declared before it, that is below it.
# A room sees the headers of the rooms it links and no others: it includes them through include
# roots of their own (build/rooms/<room>/<room> stands for src/<room>), so that an include of any
# other room fails the build with "No such file or directory". A room may have no files yet; the
# files added later are found at the next build.
set(TAVRO_ROOMS "")

# The exe's own files, which no library takes: WinMain, and the load configuration the linker
# would drop from a library.
set(TAVRO_EXE_ONLY_SOURCES "/app/(win_main|load_config)_win32\\.cpp$")

add_library(tavro_options INTERFACE)
if(MSVC)
  target_compile_options(tavro_options INTERFACE /W4 /utf-8)
else()
  target_compile_options(tavro_options INTERFACE -Wall -Wextra -finput-charset=UTF-8)
endif()
if(TAVRO_WERROR)
  target_compile_options(tavro_options INTERFACE $<IF:$<BOOL:${MSVC}>,/WX,-Werror>)
endif()

# build/rooms/<room>/<room> -> src/<room>; a junction where Windows allows no symbolic link.
function(tavro_room_include_root room out)
  set(root ${CMAKE_BINARY_DIR}/rooms/${room})
  set(${out} ${root} PARENT_SCOPE)
  if(IS_SYMLINK ${root}/${room} OR IS_DIRECTORY ${root}/${room})
    return()
  endif()
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${room} ${root}/${room} RESULT failed SYMBOLIC)
  if(failed AND CMAKE_HOST_WIN32)
    file(TO_NATIVE_PATH ${root}/${room} link)
    file(TO_NATIVE_PATH ${CMAKE_SOURCE_DIR}/src/${room} target)
    execute_process(COMMAND cmd /c mklink /J ${link} ${target} OUTPUT_QUIET RESULT_VARIABLE failed)
  endif()
  if(failed)
    message(FATAL_ERROR "cannot link ${root}/${room} to src/${room}: ${failed}")
  endif()
endfunction()

# A static library of the files, or, while there are none, an interface library; with its usage
# requirements PUBLIC or INTERFACE accordingly, in the scope variable named by scope_out.
function(tavro_room_library target sources scope_out)
  if(sources)
    add_library(${target} STATIC ${sources})
    set(scope PUBLIC)
    if(MINGW)  # the same bytes from any folder: no build folder in the code
      target_compile_options(${target} PRIVATE -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
    endif()
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_link_libraries(${target} ${scope} tavro_options)
  set(${scope_out} ${scope} PARENT_SCOPE)
endfunction()

# tavro_room(<room> [USES <room>...] [WIN32_LIBS <system library>...])
function(tavro_room room)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "USES;WIN32_LIBS")
  set(uses ${arg_USES})
  if(NOT room STREQUAL "base")
    list(PREPEND uses base)
  endif()
  foreach(used ${uses})
    if(NOT used IN_LIST TAVRO_ROOMS)
      message(FATAL_ERROR "The room ${room} uses ${used}, which is not a room below it")
    endif()
  endforeach()
  tavro_room_include_root(${room} root)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${room}/*.cpp)

  set(portable ${sources})
  list(FILTER portable EXCLUDE REGEX "_win32\\.cpp$")
  tavro_room_library(tavro_${room} "${portable}" scope)
  target_include_directories(tavro_${room} ${scope} ${root})
  foreach(used ${uses})
    target_link_libraries(tavro_${room} ${scope} tavro_${used})
  endforeach()

  if(WIN32)
    set(bindings ${sources})
    list(FILTER bindings INCLUDE REGEX "_win32\\.cpp$")
    list(FILTER bindings EXCLUDE REGEX "${TAVRO_EXE_ONLY_SOURCES}")
    tavro_room_library(tavro_${room}_win32 "${bindings}" scope)
    target_link_libraries(tavro_${room}_win32 ${scope} tavro_${room} ${arg_WIN32_LIBS})
    foreach(used ${uses})
      target_link_libraries(tavro_${room}_win32 ${scope} tavro_${used}_win32)
    endforeach()
    target_compile_definitions(tavro_${room}_win32 ${scope} UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                               _WIN32_WINNT=0x0601)
  endif()
  set(TAVRO_ROOMS ${TAVRO_ROOMS} ${room} PARENT_SCOPE)
endfunction()
