find_package(PkgConfig REQUIRED)
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
find_package(nlohmann_json REQUIRED)
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
# cpp-httplib ships no CMake package; its pkg-config file brings the OpenSSL define with it.
pkg_check_modules(HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
find_package(OpenSSL REQUIRED)
find_package(CURL REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
# Text is measured (and later drawn) with Pango over Cairo.
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
# GLib comes with Pango; the pane upper-cases text with it.
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
# The SpringBoard host writes animated GIFs of the follow prompt.
find_package(GIF REQUIRED)
# GLPK is the layout solver's exact reference in the tests and the fuzz target; nothing shipped links it.
find_path(GLPK_INCLUDE_DIR glpk.h REQUIRED)
find_library(GLPK_LIBRARY glpk REQUIRED)
add_library(GLPK::GLPK UNKNOWN IMPORTED)
set_target_properties(GLPK::GLPK PROPERTIES
    IMPORTED_LOCATION ${GLPK_LIBRARY} INTERFACE_INCLUDE_DIRECTORIES ${GLPK_INCLUDE_DIR})
