# The same sources for 64-bit Windows, which Wine runs natively where the
# kernel cannot run 32-bit Linux processes.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(mingw_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
