# The product's version has one source, project(... VERSION ...). From it come the
# library's version record (both resource writers), `jornavista-host --version`, the
# package configuration's version file and the packages' names. The type library's
# own version is not derived from it: callers bind to that one, and it stays 1.0.
#
# jv_version carries it as compile definitions:
#   JV_VERSION        "1.0.0"      the project's version
#   JV_VERSION_MAJOR, JV_VERSION_MINOR, JV_VERSION_PATCH   its numbers
#   JV_VERSION_RECORD "1.00"       the record's text form: major, a dot, two minor digits
if(PROJECT_VERSION_MINOR GREATER 99 OR PROJECT_VERSION_PATCH GREATER 65535 OR PROJECT_VERSION_MAJOR GREATER 65535)
  message(FATAL_ERROR "version ${PROJECT_VERSION} does not fit the version record (major and patch "
                      "below 65536, minor below 100)")
endif()
string(LENGTH "${PROJECT_VERSION_MINOR}" jv_minor_digits)
if(jv_minor_digits EQUAL 1)
  set(JV_VERSION_RECORD "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
  set(JV_VERSION_RECORD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
# The record's description names the release as major.minor.
set(JV_VERSION_SHORT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")

add_library(jv_version INTERFACE)
target_compile_definitions(jv_version INTERFACE
  JV_VERSION="${PROJECT_VERSION}"
  JV_VERSION_SHORT="${JV_VERSION_SHORT}"
  JV_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  JV_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  JV_VERSION_PATCH=${PROJECT_VERSION_PATCH}
  JV_VERSION_RECORD="${JV_VERSION_RECORD}")
