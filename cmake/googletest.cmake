# GoogleTest from source (Debian's googletest package puts it here), so that it
# is built with the same compiler and flags as the tests.
set(HOMECLICK_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${HOMECLICK_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
