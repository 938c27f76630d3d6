# The native flavour: portable code and its tests, with sanitizers.
set(ZUVO_SANITIZE "address" CACHE STRING "Sanitizers of the native build: address, thread or none")
set_property(CACHE ZUVO_SANITIZE PROPERTY STRINGS address thread none)

if(ZUVO_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
elseif(ZUVO_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

# The utility library is linked statically into native programs.
add_compile_definitions(ZUVO_STATIC_COMMON ZUVO_STATIC_DATAPROCESS)

find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(pugixml REQUIRED)
find_package(benchmark QUIET)
