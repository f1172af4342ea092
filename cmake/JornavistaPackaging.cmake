# The Debian packages, made by CPack's DEB generator from the install components
# of cmake/JornavistaInstall.cmake:
#   cmake --build --preset release --target deb     # -> build/release/packages/*.deb
#
#   libjornavista-widget1       runtime   the widget library and Jornavista.ocx
#   libjornavista-dev           dev       headers, link name, CMake package configuration
#   jornavista-host             host      the scripting host, /usr/bin/jornavista-host
#   jornavista-designer-plugin  designer  the Qt Designer plugin, in Qt's plugin folder
#
# The packages install under /usr; their library dependencies come from
# dpkg-shlibdeps. Only what it cannot see is written here: the packages' need of
# one another (the host and the widget load Jornavista.ocx, they do not link it)
# and the development package's need of Qt's development files.
set(JV_DEB_PACKAGES
  "runtime:libjornavista-widget${PROJECT_VERSION_MAJOR}"
  "dev:libjornavista-dev"
  "host:jornavista-host"
  "designer:jornavista-designer-plugin")
set(JV_MAINTAINER "Jornavista maintainers <maintainers@users.noreply.c-seed-59969c21.example>")

# Each package carries its copyright and its changelog, compressed as Debian
# wants it (gzip -9n: no name, no time stamp, so the same bytes every build).
# Only packages install them: a plain `cmake --install` leaves them out.
set(jv_doc ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${jv_doc})
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/changelog.in ${jv_doc}/changelog @ONLY)
foreach(jv_plain IN ITEMS ${jv_doc}/changelog ${CMAKE_CURRENT_LIST_DIR}/packaging/jornavista-host.1)
  get_filename_component(jv_name ${jv_plain} NAME)
  execute_process(COMMAND gzip -9n -c ${jv_plain} OUTPUT_FILE ${jv_doc}/${jv_name}.gz RESULT_VARIABLE jv_gzip_result)
  if(NOT jv_gzip_result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${jv_plain}")
  endif()
endforeach()
foreach(entry IN LISTS JV_DEB_PACKAGES)
  string(REPLACE ":" ";" entry "${entry}")
  list(GET entry 0 component)
  list(GET entry 1 package)
  string(TOUPPER ${component} upper)
  set(CPACK_DEBIAN_${upper}_PACKAGE_NAME ${package})
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/packaging/copyright ${jv_doc}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jornavista)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Jornavista")
set(CPACK_PACKAGE_CONTACT "${JV_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
# The package version is the project's: a native package, made by its authors.
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE jornavista)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev host designer)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The plugin needs the widget library of its sibling package: dpkg-shlibdeps finds
# it in the build tree, and the sibling dependency below names the package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/widgets/qt)
# The library package declares its library for dpkg-shlibdeps of other packages,
# and has dpkg run ldconfig through its trigger.
configure_file(${CMAKE_CURRENT_LIST_DIR}/packaging/shlibs.in ${jv_doc}/runtime/shlibs @ONLY)
file(WRITE ${jv_doc}/runtime/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${jv_doc}/runtime/shlibs ${jv_doc}/runtime/triggers)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Binaries are stripped as Debian ships them.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_HOST_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_DESIGNER_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qt6-base-dev")
set(CPACK_DEBIAN_DESIGNER_PACKAGE_ENHANCES "designer-qt6")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "month-calendar control for C++ hosts (runtime)
Jornavista is a month-calendar control: a month as a grid of day cells, paged
with two buttons, a day picked with the mouse or the arrow keys.
.
This package holds the Qt widget library and the component library
Jornavista.ocx, which hosts load to create the control.")
set(CPACK_DEBIAN_DEV_DESCRIPTION "month-calendar control for C++ hosts (development files)
Jornavista is a month-calendar control: a month as a grid of day cells, paged
with two buttons, a day picked with the mouse or the arrow keys.
.
This package holds the headers and the CMake package configuration:
find_package(Jornavista) and the target Jornavista::Widget.")
set(CPACK_DEBIAN_HOST_DESCRIPTION "month-calendar control for C++ hosts (scripting host)
Jornavista is a month-calendar control: a month as a grid of day cells, paged
with two buttons, a day picked with the mouse or the arrow keys.
.
This package holds jornavista-host, which drives the control from a script
and shows it in a window.")
set(CPACK_DEBIAN_DESIGNER_DESCRIPTION "month-calendar control for C++ hosts (Qt Designer plugin)
Jornavista is a month-calendar control: a month as a grid of day cells, paged
with two buttons, a day picked with the mouse or the arrow keys.
.
This package puts the calendar in Qt Designer's widget box and lets
QUiLoader build forms that hold it.")

include(CPack)
cpack_add_component(runtime)
cpack_add_component(dev DEPENDS runtime)
cpack_add_component(host DEPENDS runtime)
cpack_add_component(designer DEPENDS runtime)

# The packages, from the built tree: only the products are built, not the tests.
add_custom_target(deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  COMMENT "Making the Debian packages in ${CPACK_PACKAGE_DIRECTORY}"
  USES_TERMINAL VERBATIM)
add_dependencies(deb jornavista_ocx jornavista-host)
if(TARGET jornavista_widget)
  add_dependencies(deb jornavista_widget jornavista_designer)
endif()
