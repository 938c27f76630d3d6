# Helpers shared by every folder.
include(GoogleTest)

set(ZUVO_ROOT "${CMAKE_CURRENT_LIST_DIR}/..")
get_filename_component(ZUVO_ROOT "${ZUVO_ROOT}" ABSOLUTE)

# pugixml 1.13 compiled from Debian's source package, which tools/setup.sh fetches into the
# build cache: the Windows build has no other, and the fuzz build wants it instrumented.
function(zuvo_pugixml_from_sources)
    set(ZUVO_PUGIXML_DIR "${ZUVO_ROOT}/build/cache/pugixml-1.13" CACHE PATH "pugixml sources")
    if(NOT EXISTS "${ZUVO_PUGIXML_DIR}/src/pugixml.cpp")
        message(FATAL_ERROR "pugixml sources missing in ${ZUVO_PUGIXML_DIR}: run tools/setup.sh")
    endif()
    add_library(pugixml STATIC "${ZUVO_PUGIXML_DIR}/src/pugixml.cpp")
    target_include_directories(pugixml SYSTEM PUBLIC "${ZUVO_PUGIXML_DIR}/src")
    add_library(pugixml::pugixml ALIAS pugixml)
endfunction()

# Warnings are errors in our own code (never in third-party code).
function(zuvo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wformat=2 -Werror)
endfunction()

# A static library of portable code (no <windows.h>), built in every flavour.
#   zuvo_portable_library(name SOURCES ... [LIBS ...])
function(zuvo_portable_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    zuvo_warnings(${name})
endfunction()

# A static (or, with OBJECT, object) library of Windows code, built only in the cross-build:
# the project's include folders for it and for whatever links it, and our warnings. The static
# runtime is a link option of the whole Windows flavour (ZuvoWindows.cmake), so every program
# and DLL such a library ends up in has it.
#   zuvo_windows_library(name [OBJECT] SOURCES ... [LIBS ...] [DEFINITIONS ...])
# LIBS are public (they reach whatever links the library), DEFINITIONS private.
function(zuvo_windows_library name)
    cmake_parse_arguments(ARG "OBJECT" "" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "zuvo_windows_library(${name}): unknown ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT WIN32)
        message(FATAL_ERROR "zuvo_windows_library(${name}): Windows code in the native build")
    endif()
    if(ARG_OBJECT)
        add_library(${name} OBJECT ${ARG_SOURCES})
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
    endif()
    target_include_directories(${name} PUBLIC "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
    zuvo_warnings(${name})
endfunction()

# A GoogleTest program of the native flavour; each test case becomes one ctest test.
#   zuvo_native_test(name SOURCES ... [LIBS ...] [LABELS ...] [PREFIX text])
# Tests labelled "concurrency" are the only ones built (and run) in the native-tsan flavour.
# PREFIX goes in front of every ctest name, for a second build of the same cases (Strict.).
function(zuvo_native_test name)
    if(WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "PREFIX" "SOURCES;LIBS;LABELS" ${ARGN})
    # The ThreadSanitizer flavour builds only the tests of concurrent code.
    if(ZUVO_SANITIZE STREQUAL "thread" AND NOT "concurrency" IN_LIST ARG_LABELS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
    target_precompile_headers(${name} REUSE_FROM zuvo_test_pch)
    zuvo_warnings(${name})
    # A ctest name is exactly the GoogleTest name, without the printed parameter: printed
    # values hold spaces, may repeat and need not be the same from one build to the next.
    gtest_discover_tests(${name}
        TEST_PREFIX "${ARG_PREFIX}"
        WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
        NO_PRETTY_VALUES
        PROPERTIES LABELS native
        DISCOVERY_TIMEOUT 60)
endfunction()

# Test code of the Windows flavour is compiled without optimisation and with line tables only:
# that halves its compile time, which is most of the build, and the product code under test
# keeps the optimised build it ships with.
# They share one precompiled header of the Windows API, GoogleTest and the standard library.
function(zuvo_windows_test_code target)
    target_compile_options(${target} PRIVATE -O0 -g1)
    if(NOT target STREQUAL "zuvo_wintest_pch")
        target_precompile_headers(${target} REUSE_FROM zuvo_wintest_pch)
    endif()
endfunction()

# A GoogleTest program of the Windows flavour, run under Wine; one ctest test per case.
#   zuvo_windows_test(name SOURCES ... [LIBS ...] [TIMEOUT seconds] [ONLY_BARE_FONTS])
# ONLY_BARE_FONTS: its cases are about a machine without the project's fonts and run only
# as BareFonts.* (zuvo_windows_test_bare_fonts).
# Every one has the shared main of the Wine tests (tests/support/WineMain.h), which starts
# GDI+ for the whole program and takes the program's hooks (for example to act as a child
# process).
function(zuvo_windows_test name)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "ONLY_BARE_FONTS" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(ARG_UNPARSED_ARGUMENTS)
        # OWN_MAIN is gone: a program's own needs go through the hooks of the shared main.
        message(FATAL_ERROR "zuvo_windows_test(${name}): unknown ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 60)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    set_target_properties(${name} PROPERTIES ZUVO_TEST_TIMEOUT ${ARG_TIMEOUT})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zuvo_test_main GTest::gtest)
    target_include_directories(${name} PRIVATE "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${ZUVO_TEST_DIR}")
    zuvo_warnings(${name})
    zuvo_windows_test_code(${name})
    if(ARG_ONLY_BARE_FONTS)
        zuvo_windows_test_bare_fonts(${name})
    else()
        zuvo_discover_windows_tests(${name} "" "*" "${ZUVO_WINE_TEST_PROPERTIES}")
    endif()
endfunction()

# One ctest test per case of a Windows test program: the GoogleTest name (as in
# zuvo_native_test) after prefix, for the cases the filter selects, with the program's time
# limit and the given properties of a Wine test.
function(zuvo_discover_windows_tests name prefix filter properties)
    get_target_property(timeout ${name} ZUVO_TEST_TIMEOUT)
    gtest_discover_tests(${name}
        TEST_PREFIX "${prefix}"
        TEST_FILTER "${filter}"
        WORKING_DIRECTORY "${ZUVO_TEST_DIR}"
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        NO_PRETTY_VALUES
        PROPERTIES LABELS wine ${properties} TIMEOUT ${timeout})
endfunction()

# The cases of a Windows test program (zuvo_windows_test) once more, with the strict utility
# library (libs/ZUVO_Common/strict/) in place of ours: each as its own ctest test named
# Strict.<GoogleTest name>, with the same time limit.
#   zuvo_windows_test_strict(name [FILTER gtest-filter])
# The program must import only what the family promises (the strict library has nothing
# else); a program that ran with the other flavour fails in its main (UtilityFlavour.h).
function(zuvo_windows_test_strict name)
    zuvo_windows_test_again(zuvo_windows_test_strict ${name} "Strict."
                            "${ZUVO_WINE_STRICT_TEST_PROPERTIES}" ${ARGN})
    if(WIN32)
        add_dependencies(${name} ZUVO_Common_strict)
    endif()
endfunction()

# The cases of a Windows test program (zuvo_windows_test) once more on a machine without the
# project's fonts: no font substitutions and no font with Chinese glyphs, as on an English
# Windows without the Chinese supplemental fonts (tools/wine-run, ZUVO_WINE_FONTS). Each is
# its own ctest test named BareFonts.<GoogleTest name>, with the same time limit.
#   zuvo_windows_test_bare_fonts(name [FILTER gtest-filter])
function(zuvo_windows_test_bare_fonts name)
    zuvo_windows_test_again(zuvo_windows_test_bare_fonts ${name} "BareFonts."
                            "${ZUVO_WINE_BARE_FONTS_TEST_PROPERTIES}" ${ARGN})
endfunction()

# The cases of a Windows test program (zuvo_windows_test) once more on a screen of 144 dots
# per inch, a display scale of 150 % (tools/wine-run, ZUVO_WINE_DPI). Each is its own ctest
# test named Scale150.<GoogleTest name>, with the same time limit.
#   zuvo_windows_test_scale150(name [FILTER gtest-filter])
function(zuvo_windows_test_scale150 name)
    zuvo_windows_test_again(zuvo_windows_test_scale150 ${name} "Scale150."
                            "${ZUVO_WINE_SCALE150_TEST_PROPERTIES}" ${ARGN})
endfunction()

# The same on a screen of 192 dots per inch, 200 % (Scale200.<GoogleTest name>).
#   zuvo_windows_test_scale200(name [FILTER gtest-filter])
function(zuvo_windows_test_scale200 name)
    zuvo_windows_test_again(zuvo_windows_test_scale200 ${name} "Scale200."
                            "${ZUVO_WINE_SCALE200_TEST_PROPERTIES}" ${ARGN})
endfunction()

# The second registration of a Windows test program's cases: [FILTER gtest-filter] of the
# caller's arguments, the names after prefix, the properties of that kind of run.
function(zuvo_windows_test_again caller name prefix properties)
    if(NOT WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "FILTER" "" ${ARGN})
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "${caller}(${name}): unknown ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT ARG_FILTER)
        set(ARG_FILTER "*")
    endif()
    zuvo_discover_windows_tests(${name} "${prefix}" "${ARG_FILTER}" "${properties}")
endfunction()
