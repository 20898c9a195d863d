# The pure rules and the click controller, built for this machine with
# sanitizers; nothing here touches Win32.
option(HOMECLICK_SANITIZE "Build the native tests with AddressSanitizer and UBSan" ON)
if(HOMECLICK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

include(cmake/googletest.cmake)

add_library(homeclick_controller STATIC app/click_controller.cpp)
target_include_directories(homeclick_controller PUBLIC ${PROJECT_SOURCE_DIR})

add_executable(native_tests
    tests/platform/rules/text_to_integer_test.cpp
    tests/platform/rules/integer_input_test.cpp
    tests/platform/rules/small_rules_test.cpp
    tests/platform/callback_test.cpp
    tests/app/click_controller_test.cpp)
target_link_libraries(native_tests PRIVATE homeclick_controller GTest::gtest_main)
add_test(NAME native_tests COMMAND native_tests)

# Its own program: it replaces the global operator new to count allocations.
add_executable(tick_cost_test tests/app/tick_cost_test.cpp)
target_link_libraries(tick_cost_test PRIVATE homeclick_controller GTest::gtest_main)
add_test(NAME tick_cost_test COMMAND tick_cost_test)

include(cmake/fuzz.cmake OPTIONAL)

# The sources stay as clang-format leaves them.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
if(CLANG_FORMAT)
    file(GLOB_RECURSE formatted_sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
        ${PROJECT_SOURCE_DIR}/platform/*.cpp ${PROJECT_SOURCE_DIR}/platform/*.h
        ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h ${PROJECT_SOURCE_DIR}/bench/*.cpp)
    add_test(NAME clang_format COMMAND ${CLANG_FORMAT} --dry-run -Werror ${formatted_sources})
endif()
