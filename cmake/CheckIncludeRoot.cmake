# Fails when a quoted include does not name an existing file from the repository root, so that
# "settings/StepRunner.h" cannot quietly mean hosts/settings/ for one target and something else for another.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp
    ${SOURCE_DIR}/settings/*.h ${SOURCE_DIR}/settings/*.cpp
    ${SOURCE_DIR}/followprompt/*.h ${SOURCE_DIR}/followprompt/*.cpp
    ${SOURCE_DIR}/hosts/*.h ${SOURCE_DIR}/hosts/*.cpp
    ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp
    ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp)
set(problems "")
foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([^\"]+)\".*" "\\1" included "${line}")
        if(NOT EXISTS ${SOURCE_DIR}/${included} OR included MATCHES "(^|/)\\.\\.?/")
            string(APPEND problems "  ${source}: \"${included}\"\n")
        endif()
    endforeach()
endforeach()
if(problems)
    message(FATAL_ERROR "Includes must name their file from the repository root:\n${problems}")
endif()
