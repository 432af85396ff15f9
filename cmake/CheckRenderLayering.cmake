# Fails when the drawing code includes a preferences header: views draw themselves, so render/ knows
# UIKit's views and nothing of the pages built on them.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/platform/render/*.h ${SOURCE_DIR}/platform/render/*.cpp)
set(problems "")
foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]+[\"<][^\">]*preferences/")
    foreach(line IN LISTS lines)
        string(APPEND problems "  ${source}: ${line}\n")
    endforeach()
endforeach()
if(problems)
    message(FATAL_ERROR "platform/render must not include preferences headers:\n${problems}")
endif()
