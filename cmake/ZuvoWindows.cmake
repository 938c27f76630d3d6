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
target_compile_options(gtest PRIVATE -O0 -g0)
target_compile_options(gtest_main PRIVATE -O0 -g0)

# The precompiled header the Windows test programs share (see zuvo_windows_test_code).
file(WRITE "${CMAKE_BINARY_DIR}/zuvo_wintest_pch.cpp" "// The precompiled header of the Windows tests.\n")
add_library(zuvo_wintest_pch OBJECT "${CMAKE_BINARY_DIR}/zuvo_wintest_pch.cpp")
target_link_libraries(zuvo_wintest_pch PRIVATE GTest::gtest)
target_include_directories(zuvo_wintest_pch PRIVATE "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
target_precompile_headers(zuvo_wintest_pch PRIVATE
    <windows.h> <gtest/gtest.h> <algorithm> <atomic> <cstdint> <functional> <memory> <optional>
    <string> <thread> <vector>)
zuvo_warnings(zuvo_wintest_pch)
zuvo_windows_test_code(zuvo_wintest_pch)

zuvo_pugixml_from_sources()

# Windows tests run in parallel, each inside one Wine shard: a private copy of the prefix with
# its own wineserver, X screen and program folders (tools/wine-shards). ctest hands out the
# shards as a resource, so no two tests ever share one; the fixture sets them up before the
# first Windows test and stops them after the last. Its processes live for the whole run and
# send their output to files: one that kept ctest's output pipe open would hang ctest.
set(ZUVO_WINE_SHARDS 4 CACHE STRING "Wine shards of a test run (Windows tests running at once)")
set(ZUVO_WINE_SHARD_SPEC "${CMAKE_BINARY_DIR}/wine-shards.json")
set(shard_list "")
math(EXPR last_shard "${ZUVO_WINE_SHARDS} - 1")
foreach(shard RANGE ${last_shard})
    if(shard GREATER 0)
        string(APPEND shard_list ",")
    endif()
    string(APPEND shard_list "{\"id\": \"${shard}\", \"slots\": 1}")
endforeach()
file(WRITE "${ZUVO_WINE_SHARD_SPEC}.new"
    "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{\"shard\": [${shard_list}]}]}\n")
file(COPY_FILE "${ZUVO_WINE_SHARD_SPEC}.new" "${ZUVO_WINE_SHARD_SPEC}" ONLY_IF_DIFFERENT)
file(REMOVE "${ZUVO_WINE_SHARD_SPEC}.new")

add_test(NAME wine_start COMMAND "${ZUVO_ROOT}/tools/wine-shards" start ${ZUVO_WINE_SHARDS})
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine LABELS wine TIMEOUT 120)
add_test(NAME wine_stop COMMAND "${ZUVO_ROOT}/tools/wine-shards" stop)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)

# What every test that runs a Windows program needs: the fixture, a shard of its own, and the
# utility library's flavour it runs with (tools/wine-run, tests/support/UtilityFlavour.h):
# the normal one, or for the Strict.* tests the strict one.
set(ZUVO_WINE_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS "shard:1"
    ENVIRONMENT ZUVO_UTILITY_FLAVOUR=normal)
set(ZUVO_WINE_STRICT_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS "shard:1"
    ENVIRONMENT ZUVO_UTILITY_FLAVOUR=strict)
# The BareFonts.* tests run in a shard without the font substitutions and the Chinese fonts
# (ZUVO_WINE_FONTS, tools/wine-run).
set(ZUVO_WINE_BARE_FONTS_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS "shard:1"
    ENVIRONMENT ZUVO_UTILITY_FLAVOUR=normal ENVIRONMENT_MODIFICATION ZUVO_WINE_FONTS=set:bare)
# The Scale150.* tests run in a shard whose screen has 144 dots per inch, a Windows display
# scale of 150 % (ZUVO_WINE_DPI, tools/wine-run).
set(ZUVO_WINE_SCALE150_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS "shard:1"
    ENVIRONMENT ZUVO_UTILITY_FLAVOUR=normal ENVIRONMENT_MODIFICATION ZUVO_WINE_DPI=set:144)
# The Scale200.* tests: 192 dots per inch, 200 %.
set(ZUVO_WINE_SCALE200_TEST_PROPERTIES FIXTURES_REQUIRED wine RESOURCE_GROUPS "shard:1"
    ENVIRONMENT ZUVO_UTILITY_FLAVOUR=normal ENVIRONMENT_MODIFICATION ZUVO_WINE_DPI=set:192)

# The version resource of target, with the version of the VERSION file and a description in
# English and in Simplified Chinese.
#   zuvo_version_resource(target FILE ZUVO_MTT.exe DESCRIPTION "..." DESCRIPTION_ZH "...")
function(zuvo_version_resource target)
    cmake_parse_arguments(ARG "" "FILE;DESCRIPTION;DESCRIPTION_ZH" "" ${ARGN})
    set(ZUVO_VERSION_FILE "${ARG_FILE}")
    get_filename_component(ZUVO_VERSION_NAME "${ARG_FILE}" NAME_WE)
    set(ZUVO_VERSION_DESCRIPTION "${ARG_DESCRIPTION}")
    set(ZUVO_VERSION_DESCRIPTION_ZH "${ARG_DESCRIPTION_ZH}")
    if(ARG_FILE MATCHES "\\.dll$")
        set(ZUVO_VERSION_FILETYPE VFT_DLL)
    else()
        set(ZUVO_VERSION_FILETYPE VFT_APP)
    endif()
    set(rc "${CMAKE_BINARY_DIR}/version/${target}.version.rc")
    configure_file("${ZUVO_ROOT}/resources/VersionInfo.rc.in" "${rc}" @ONLY)
    target_sources(${target} PRIVATE "${rc}")
endfunction()

# A DLL of the family: named exactly <name>.dll in the program folder, with undecorated
# exports and its import library beside it.
function(zuvo_family_dll name)
    set_target_properties(${name} PROPERTIES
        PREFIX ""
        RUNTIME_OUTPUT_DIRECTORY "${ZUVO_PROGRAM_DIR}"
        ARCHIVE_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/lib")
    target_link_options(${name} PRIVATE -Wl,--kill-at)
endfunction()
