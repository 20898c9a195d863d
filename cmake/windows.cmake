# The Windows program, and its tests run under Wine on a virtual display.
enable_language(RC)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${PROJECT_SOURCE_DIR} -c 65001")

add_library(homeclick_options INTERFACE)
target_include_directories(homeclick_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_definitions(homeclick_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_options(homeclick_options INTERFACE -static)

# What ships is built small: no exceptions or RTTI, unused code dropped.
add_library(homeclick_shipped_options INTERFACE)
target_compile_options(homeclick_shipped_options INTERFACE
    -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables -ffunction-sections -fdata-sections)
target_link_options(homeclick_shipped_options INTERFACE -Wl,--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)

add_library(homeclick_platform STATIC
    platform/window_runtime.cpp
    platform/desktop_input.cpp
    platform/timer_resolution.cpp)
target_link_libraries(homeclick_platform
    PUBLIC homeclick_options comctl32
    PRIVATE homeclick_shipped_options)

add_library(homeclick_app STATIC app/click_controller.cpp app/entry.cpp)
target_link_libraries(homeclick_app PUBLIC homeclick_platform PRIVATE homeclick_shipped_options)

add_executable(homeclick WIN32 app/main_window.cpp platform/win_main.cpp app/homeclick.rc)
target_link_libraries(homeclick PRIVATE homeclick_app homeclick_shipped_options)
target_link_options(homeclick PRIVATE -municode)
set_source_files_properties(app/homeclick.rc PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/app/homeclick.manifest;${PROJECT_SOURCE_DIR}/app/homeclick.ico")

# Baselines that the benchmark measures the program against, built alike.
add_executable(baseline_clicker bench/baseline_clicker.cpp)
add_executable(baseline_window WIN32 bench/baseline_window.cpp)
add_executable(baseline_styled_window WIN32 bench/baseline_window.cpp bench/baseline_styled_window.rc)
target_compile_definitions(baseline_styled_window PRIVATE STYLED)
target_link_libraries(baseline_styled_window PRIVATE comctl32)
foreach(baseline baseline_clicker baseline_window baseline_styled_window)
    target_link_libraries(${baseline} PRIVATE homeclick_options homeclick_shipped_options)
endforeach()
target_link_options(baseline_window PRIVATE -municode)
target_link_options(baseline_styled_window PRIVATE -municode)

if(BUILD_TESTING)
    include(cmake/wine_tests.cmake)
endif()
