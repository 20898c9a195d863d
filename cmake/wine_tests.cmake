# Tests of the Win32 code in real windows under Wine, on a virtual X display
# that the wine_session fixture starts before them and stops after them.
include(cmake/googletest.cmake)

set(wine_session_dir ${CMAKE_BINARY_DIR}/wine-session)
set(wine_session ${PROJECT_SOURCE_DIR}/tests/support/wine-session)
set(wine_run ${PROJECT_SOURCE_DIR}/tests/support/wine-run ${wine_session_dir})

add_test(NAME wine_session.start COMMAND ${wine_session} start ${wine_session_dir})
add_test(NAME wine_session.stop COMMAND ${wine_session} stop ${wine_session_dir})
set_tests_properties(wine_session.start PROPERTIES FIXTURES_SETUP wine_session)
set_tests_properties(wine_session.stop PROPERTIES FIXTURES_CLEANUP wine_session)

# Every Wine test runs under an English and a Chinese system locale: code
# pages 1252 and 936.
function(add_wine_test name)
    foreach(locale en_US zh_CN)
        add_test(NAME ${name}.${locale} COMMAND ${wine_run} ${ARGN})
        set_tests_properties(${name}.${locale} PROPERTIES
            FIXTURES_REQUIRED wine_session
            RESOURCE_LOCK display
            ENVIRONMENT "LC_ALL=${locale}.UTF-8")
    endforeach()
endfunction()

add_library(win32_test_support INTERFACE)
target_include_directories(win32_test_support INTERFACE ${PROJECT_SOURCE_DIR})
target_link_libraries(win32_test_support INTERFACE GTest::gtest homeclick_options)

add_executable(platform_tests
    tests/platform/window_runtime_test.cpp
    tests/platform/desktop_input_test.cpp
    tests/platform/timer_resolution_test.cpp
    tests/platform/test_icon.rc)
target_link_libraries(platform_tests PRIVATE homeclick_platform win32_test_support GTest::gtest_main)
add_wine_test(platform_tests $<TARGET_FILE:platform_tests>)

# A build of the program whose window cannot be created, for the start-up
# failure path; the shipped program has no such switch.
add_executable(homeclick_unloadable WIN32 tests/app/unloadable_main_window.cpp platform/win_main.cpp)
target_link_libraries(homeclick_unloadable PRIVATE homeclick_app)
target_link_options(homeclick_unloadable PRIVATE -municode)

add_executable(program_tests tests/app/program_test.cpp)
target_link_libraries(program_tests PRIVATE win32_test_support)
add_dependencies(program_tests homeclick homeclick_unloadable)
add_wine_test(program_tests $<TARGET_FILE:program_tests>
    --homeclick=$<TARGET_FILE:homeclick> --unloadable=$<TARGET_FILE:homeclick_unloadable>)

# The 32-bit program as it ships, checked as a file and run under Wine.
set(HOMECLICK_SHIPPED_EXE "" CACHE FILEPATH "The 32-bit homeclick.exe to check as it ships")
if(HOMECLICK_SHIPPED_EXE)
    add_test(NAME shipped_program.file
        COMMAND ${PROJECT_SOURCE_DIR}/tests/support/check-shipped-exe ${HOMECLICK_SHIPPED_EXE})
    add_test(NAME shipped_program.runs
        COMMAND ${wine_run} $<TARGET_FILE:program_tests>
            --homeclick=${HOMECLICK_SHIPPED_EXE} --unloadable=$<TARGET_FILE:homeclick_unloadable>
            --gtest_filter=Program.ShowsItsCentredWindowWithTheLabelAndTheBox:ProgramFile.*:Routes/ProgramClose.*/escape_in_the_box)
    set_tests_properties(shipped_program.runs PROPERTIES
        FIXTURES_REQUIRED wine_session RESOURCE_LOCK display ENVIRONMENT "LC_ALL=zh_CN.UTF-8")
endif()

# End to end: the real program driven with the X keyboard and mouse, its clicks
# counted by a window of the tests' own.
add_executable(click_counter tests/e2e/click_counter.cpp)
target_link_libraries(click_counter PRIVATE homeclick_options psapi)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_dependencies(click_counter homeclick)
foreach(locale en_US zh_CN)
    add_test(NAME end_to_end.${locale}
        COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/test_homeclick.py
            --session ${wine_session_dir} --homeclick $<TARGET_FILE:homeclick> --counter $<TARGET_FILE:click_counter>)
    set_tests_properties(end_to_end.${locale} PROPERTIES
        FIXTURES_REQUIRED wine_session RESOURCE_LOCK display ENVIRONMENT "LC_ALL=${locale}.UTF-8")
endforeach()
add_test(NAME reliability
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/test_reliability.py
        --session ${wine_session_dir} --homeclick $<TARGET_FILE:homeclick> --counter $<TARGET_FILE:click_counter>)
set_tests_properties(reliability PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK display ENVIRONMENT "LC_ALL=zh_CN.UTF-8")
