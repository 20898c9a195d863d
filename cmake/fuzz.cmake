# libFuzzer targets for the pure rules, each against a reference of its own;
# built with clang (the fuzz preset). A short run is a test.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    return()
endif()
set(HOMECLICK_FUZZ_SECONDS 20 CACHE STRING "How long each fuzzer runs as a test")
foreach(fuzzer text_to_integer integer_input)
    add_executable(${fuzzer}_fuzzer tests/fuzz/${fuzzer}_fuzzer.cpp)
    target_include_directories(${fuzzer}_fuzzer PRIVATE ${PROJECT_SOURCE_DIR})
    target_compile_options(${fuzzer}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(${fuzzer}_fuzzer PRIVATE -fsanitize=fuzzer)
    # New inputs go to the build tree's corpus; the committed seeds are only read.
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/corpus/${fuzzer})
    add_test(NAME fuzz.${fuzzer}
        COMMAND ${fuzzer}_fuzzer -max_total_time=${HOMECLICK_FUZZ_SECONDS} -print_final_stats=1
            ${CMAKE_BINARY_DIR}/corpus/${fuzzer} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${fuzzer})
endforeach()
