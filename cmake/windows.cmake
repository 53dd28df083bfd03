# The Windows build (cross-compiled with MinGW-w64, see scripts/build-windows.sh): the game
# with its icon and version information, the zip a Windows player unzips, and the headless
# test program that CI runs under Wine.

configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/tarvex.rc.in ${CMAKE_BINARY_DIR}/tarvex.rc @ONLY)
target_sources(tarvex PRIVATE ${CMAKE_BINARY_DIR}/tarvex.rc)
add_dependencies(tarvex media)  # the icon comes from the media generator

# The fonts the zip carries for a Windows without Microsoft YaHei or Segoe UI Symbol, and
# their licences (Debian's fonts-wqy-microhei: Apache-2.0; fonts-symbola: free for any use).
set(TARVEX_SHIPPED_FONT /usr/share/fonts/truetype/wqy/wqy-microhei.ttc CACHE FILEPATH
  "The free CJK font the Windows zip carries")
set(TARVEX_SHIPPED_FONT_COPYRIGHT /usr/share/doc/fonts-wqy-microhei/copyright CACHE FILEPATH
  "Its copyright file")
set(TARVEX_SHIPPED_SYMBOL_FONT /usr/share/fonts/truetype/ancient-scripts/Symbola_hint.ttf CACHE FILEPATH
  "The pictograph font the Windows zip carries")
set(TARVEX_SHIPPED_SYMBOL_FONT_COPYRIGHT /usr/share/doc/fonts-symbola/copyright CACHE FILEPATH
  "Its copyright file")
# The licences of what the exe links in, which their terms ask a binary to carry
# (scripts/build-sfml-windows.sh gathers SFML's and its libraries').
set(TARVEX_WINDOWS_LICENSES "" CACHE PATH "Folder of licence texts for the libraries linked into the exe")

set(TARVEX_ZIP_NAME tarvex-${PROJECT_VERSION}-windows-x64)
set(TARVEX_ZIP_DIR ${CMAKE_BINARY_DIR}/zip/${TARVEX_ZIP_NAME})
set(TARVEX_ZIP ${CMAKE_BINARY_DIR}/${TARVEX_ZIP_NAME}.zip)
set(TARVEX_ZIP_MEDIA cannon_fire.wav rocket.wav explosion.wav dead.wav press.ogg create.wav bgm.wav)
foreach(faction red yellow blue purple white)
  list(APPEND TARVEX_ZIP_MEDIA ${faction}_normal.png ${faction}_hover.png)
endforeach()
list(TRANSFORM TARVEX_ZIP_MEDIA PREPEND ${TARVEX_RUN_DIR}/)
add_custom_command(
  OUTPUT ${TARVEX_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TARVEX_ZIP_DIR}/licenses
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarvex> ${CMAKE_SOURCE_DIR}/data/config.json
    ${CMAKE_SOURCE_DIR}/data/levels.json ${TARVEX_ZIP_MEDIA} ${CMAKE_SOURCE_DIR}/LICENSE
    ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${TARVEX_SHIPPED_FONT} ${TARVEX_SHIPPED_SYMBOL_FONT}
    ${TARVEX_ZIP_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${TARVEX_SHIPPED_FONT_COPYRIGHT} ${TARVEX_ZIP_DIR}/licenses/wqy-microhei.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${TARVEX_SHIPPED_SYMBOL_FONT_COPYRIGHT} ${TARVEX_ZIP_DIR}/licenses/Symbola.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/common-licenses/Apache-2.0 ${TARVEX_ZIP_DIR}/licenses/Apache-2.0.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/mingw-w64-x86-64-dev/copyright ${TARVEX_ZIP_DIR}/licenses/MinGW-w64.txt
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright
    ${TARVEX_ZIP_DIR}/licenses/GCC-runtime.txt
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${TARVEX_WINDOWS_LICENSES} ${TARVEX_ZIP_DIR}/licenses
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip ${CMAKE_COMMAND} -E tar cf ${TARVEX_ZIP} --format=zip
    "--mtime=2000-01-01 00:00:00 UTC" ${TARVEX_ZIP_NAME}
  DEPENDS tarvex media ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_SOURCE_DIR}/LICENSE
  COMMENT "Packing ${TARVEX_ZIP_NAME}.zip")
add_custom_target(windows_zip ALL DEPENDS ${TARVEX_ZIP})

# The headless tests, run under Wine: GoogleTest is built from Debian's source of it, as no
# Windows build of it is packaged. Paths the tests open are given with Wine's Z: drive,
# which is the Linux root.
option(TARVEX_WINDOWS_TESTS "Build the headless test program for Windows" ON)
if(NOT TARVEX_WINDOWS_TESTS OR NOT EXISTS /usr/src/googletest/CMakeLists.txt)
  return()
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
file(GLOB_RECURSE TARVEX_WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*_test.cpp)
# The test programs of the display, the listening sound card and the machine's package tools
# stay on Linux; the real exe is driven under Wine by the Linux end-to-end tests.
list(FILTER TARVEX_WINDOWS_TEST_SOURCES EXCLUDE REGEX "/fuzz/|_e2e_test|_wave_test|_draw_test|_window_test|install_deps_test")
add_executable(tarvex_tests ${TARVEX_WINDOWS_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support.cpp)
target_link_libraries(tarvex_tests PRIVATE tarvex_app gtest gtest_main)
target_include_directories(tarvex_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/tools)
target_compile_definitions(tarvex_tests PRIVATE
  TARVEX_BINARY="Z:$<TARGET_FILE:tarvex>"
  TARVEX_RUN_DIR="Z:${TARVEX_RUN_DIR}"
  TARVEX_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}"
  TARVEX_BUILD_DIR="Z:${CMAKE_BINARY_DIR}"
  TARVEX_VERSION_TEXT="${PROJECT_VERSION}")
# Away from the game's data files, as on Linux: a test game with no files of its own plays
# on the built-in defaults.
set_target_properties(tarvex_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(tarvex_tests tarvex media)
