# Cross build for 64-bit Windows with Debian's MinGW-w64; the programs run here under
# wine64. Without a Qt for Windows the build holds only the units without Qt and their
# tests (BALDO7_PURE_ONLY); with BALDO7_QT_WINDOWS, the prefix scripts/windows-qt
# builds, the whole program (make windows-app).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-base.cmake)

if(BALDO7_QT_WINDOWS)
    # Qt's DLLs need the MinGW runtime's beside them anyway; the programs share it.
    list(APPEND CMAKE_FIND_ROOT_PATH ${BALDO7_QT_WINDOWS})
    list(APPEND CMAKE_PREFIX_PATH ${BALDO7_QT_WINDOWS})
    set(BALDO7_MINGW_RUNTIME /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
else()
    # One .exe each, no runtime DLLs to carry beside it.
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# Debian's wine64 package puts the loader outside PATH; the wine package adds a wrapper.
find_program(BALDO7_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
