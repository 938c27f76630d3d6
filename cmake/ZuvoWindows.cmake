# The Windows flavour: x64, Unicode, static runtime, run under Wine.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX)
# A fully static runtime: without it the posix toolchain still needs libwinpthread-1.dll and
# the program exits with code 53 and no message.
add_link_options(-static -static-libgcc -static-libstdc++)

# The program folder: the program, the three DLLs and their data files.
set(ZUVO_PROGRAM_DIR "${CMAKE_BINARY_DIR}/bin")
set(ZUVO_TEST_DIR "${CMAKE_BINARY_DIR}/testbin")
file(MAKE_DIRECTORY "${ZUVO_PROGRAM_DIR}" "${ZUVO_TEST_DIR}")

# GoogleTest compiled from Debian's sources with mingw.
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL)

# pugixml 1.13 from Debian's source package, fetched by tools/setup.sh into the build cache.
set(ZUVO_PUGIXML_DIR "${ZUVO_ROOT}/build/cache/pugixml-1.13" CACHE PATH "pugixml sources")
if(NOT EXISTS "${ZUVO_PUGIXML_DIR}/src/pugixml.cpp")
    message(FATAL_ERROR "pugixml sources missing in ${ZUVO_PUGIXML_DIR}: run tools/setup.sh")
endif()
add_library(pugixml STATIC "${ZUVO_PUGIXML_DIR}/src/pugixml.cpp")
target_include_directories(pugixml SYSTEM PUBLIC "${ZUVO_PUGIXML_DIR}/src")
add_library(pugixml::pugixml ALIAS pugixml)

# Wine runs for the whole test session: a wineserver started by a test would keep ctest's
# output pipe open, so the fixture starts it with all output sent to /dev/null.
add_test(NAME wine_start COMMAND sh -c
    "\"${ZUVO_ROOT}/tools/wine-run\" --start-server </dev/null >/dev/null 2>&1")
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine LABELS wine)
add_test(NAME wine_stop COMMAND sh -c
    "\"${ZUVO_ROOT}/tools/wine-run\" --stop-server </dev/null >/dev/null 2>&1")
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)

# A DLL of the family: named exactly <name>.dll in the program folder, with undecorated
# exports and its import library beside it.
function(zuvo_family_dll name)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        RUNTIME_OUTPUT_DIRECTORY "${ZUVO_PROGRAM_DIR}"
        ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")
    target_link_options(${name} PRIVATE -Wl,--kill-at)
endfunction()
