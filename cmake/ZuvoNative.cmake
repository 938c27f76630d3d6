# The native flavour: portable code and its tests, with sanitizers.
set(ZUVO_SANITIZE "address" CACHE STRING
    "Sanitizers of the native build: address, thread, fuzzer (clang, libFuzzer harnesses) or none")
set_property(CACHE ZUVO_SANITIZE PROPERTY STRINGS address thread fuzzer none)

if(ZUVO_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(ZUVO_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
elseif(ZUVO_SANITIZE STREQUAL "fuzzer")
    # The code under test gets libFuzzer's coverage hooks; only the harnesses link libFuzzer
    # itself (fuzz/CMakeLists.txt), since it brings its own main.
    add_compile_options(-O1 -fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# The utility library is linked statically into native programs.
add_compile_definitions(ZUVO_STATIC_COMMON ZUVO_STATIC_DATAPROCESS)

find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
if(ZUVO_SANITIZE STREQUAL "fuzzer")
    # Debian's pugixml is not instrumented: the fuzz build compiles its sources, so the fuzzer
    # sees inside the XML parser too.
    zuvo_pugixml_from_sources()
else()
    find_package(pugixml REQUIRED)
endif()
find_package(benchmark QUIET)

# The native tests share one precompiled header of GoogleTest and the standard library: parsing
# them again for every test file was the larger part of the native build.
file(WRITE "${CMAKE_BINARY_DIR}/zuvo_test_pch.cpp" "// The precompiled header of the native tests.\n")
add_library(zuvo_test_pch OBJECT "${CMAKE_BINARY_DIR}/zuvo_test_pch.cpp")
target_link_libraries(zuvo_test_pch PRIVATE GTest::gtest)
target_include_directories(zuvo_test_pch PRIVATE "${ZUVO_ROOT}" "${ZUVO_ROOT}/boundary")
target_precompile_headers(zuvo_test_pch PRIVATE
    <gtest/gtest.h> <algorithm> <atomic> <cstdint> <filesystem> <functional> <map> <memory>
    <mutex> <optional> <string> <thread> <vector>)
zuvo_warnings(zuvo_test_pch)
