# Toolchain of the Qt for Windows that scripts/windows-qt builds.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-base.cmake)
