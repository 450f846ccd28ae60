# Writes the version header: the project version, and the commit when the sources
# are a git checkout (with ", modified" when they differ from it). Run at every
# build so a new commit shows without reconfiguring; the header is rewritten only
# when its text changes.
#   cmake -DSOURCE_DIR=... -DVERSION=... -DOUTPUT=... -P version.cmake
set(text "${VERSION}")
find_program(GIT git)
if(GIT)
    execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --show-toplevel
                    OUTPUT_VARIABLE top RESULT_VARIABLE top_rc
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    # Only our own checkout: a source tarball unpacked inside some other repository
    # must not take that repository's commit.
    if(top_rc EQUAL 0)
        file(REAL_PATH "${top}" top)
        file(REAL_PATH "${SOURCE_DIR}" source)
    endif()
    if(top_rc EQUAL 0 AND top STREQUAL source)
        execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse --short=10 HEAD
                        OUTPUT_VARIABLE commit RESULT_VARIABLE commit_rc
                        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(commit_rc EQUAL 0)
            execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} diff --quiet HEAD --
                            RESULT_VARIABLE dirty ERROR_QUIET)
            if(dirty EQUAL 0)
                set(text "${VERSION} (commit ${commit})")
            else()
                set(text "${VERSION} (commit ${commit}, modified)")
            endif()
        endif()
    endif()
endif()
set(content "// Generated at build time by packaging/version.cmake.
#pragma once
#define BALDO7_VERSION \"${VERSION}\"
#define BALDO7_VERSION_TEXT \"${text}\"
")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL content)
    file(WRITE "${OUTPUT}" "${content}")
endif()
