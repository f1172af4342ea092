# What `cmake --install` puts under the prefix, and the package configuration
# through which another project finds it:
#   find_package(Jornavista 1.0 REQUIRED)
#   target_link_libraries(app PRIVATE Jornavista::Widget)
#
# Every file belongs to one of four install components, which are also the Debian
# packages (cmake/JornavistaPackaging.cmake):
#   runtime   libjornavista-widget.so.N and Jornavista.ocx
#   dev       headers, the library's link name, the package configuration
#   host      jornavista-host, its link in bin/, its manual page
#   designer  the Qt Designer plugin
include(CMakePackageConfigHelpers)

# Libraries go to the multiarch folder under any prefix on a multiarch system, as
# Qt's plugin folder already does: one layout for /usr (the Debian package),
# /usr/local and a private prefix, each in the loader's and CMake's search paths.
set(JV_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR})
if(CMAKE_LIBRARY_ARCHITECTURE AND CMAKE_INSTALL_LIBDIR STREQUAL "lib")
  set(JV_INSTALL_LIBDIR lib/${CMAKE_LIBRARY_ARCHITECTURE})
endif()
set(JV_PACKAGE_DIR ${JV_INSTALL_LIBDIR}/cmake/Jornavista)
# The component library and the host sit side by side: the host looks for
# Jornavista.ocx in its own folder. bin/ holds a link to the host.
set(JV_PRIVATE_DIR ${JV_INSTALL_LIBDIR}/jornavista)

set_target_properties(jornavista_ocx PROPERTIES EXPORT_NAME Component)
set_target_properties(jornavista-host PROPERTIES EXPORT_NAME Host)
install(TARGETS jornavista_ocx EXPORT JornavistaTargets
  LIBRARY DESTINATION ${JV_PRIVATE_DIR} COMPONENT runtime)
# The host's targets are a file of their own, shipped with the host: the package
# configuration loads it when it is there.
install(TARGETS jornavista-host EXPORT JornavistaHostTargets
  RUNTIME DESTINATION ${JV_PRIVATE_DIR} COMPONENT host)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(RELATIVE_PATH target \"\${bin}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${JV_PRIVATE_DIR}/jornavista-host\")
  file(CREATE_LINK \"\${target}\" \"\${bin}/jornavista-host\" SYMBOLIC)
  message(STATUS \"Installing: \${bin}/jornavista-host -> \${target}\")" COMPONENT host)
install(EXPORT JornavistaHostTargets NAMESPACE Jornavista:: DESTINATION ${JV_PACKAGE_DIR} COMPONENT host)

if(TARGET jornavista_widget)
  find_package(Qt6 REQUIRED COMPONENTS Core)
  # The headers a program needs for the widget and, through control(), for the
  # control's members; paths as in the source tree, so the includes read alike.
  foreach(dir control platform/automation platform/runtime platform/dates platform/face platform/qt widgets/qt)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/jornavista/${dir}
      COMPONENT dev FILES_MATCHING PATTERN "*.h" PATTERN "designer" EXCLUDE)
  endforeach()
  install(TARGETS jornavista_widget EXPORT JornavistaTargets
    LIBRARY DESTINATION ${JV_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev)

  # Into Qt's Designer plugin folder under our prefix: Designer and QUiLoader
  # find it with QT_PLUGIN_PATH=<prefix>/${QT6_INSTALL_PLUGINS}, or by themselves
  # when the prefix is Qt's own (/usr). It finds the widget library from where it
  # lies, ahead of any other copy the loader knows (one under /usr/local).
  set(jv_plugin_dir ${QT6_INSTALL_PLUGINS}/designer)
  file(RELATIVE_PATH jv_plugin_to_lib /${jv_plugin_dir} /${JV_INSTALL_LIBDIR})
  set_target_properties(jornavista_designer PROPERTIES INSTALL_RPATH "$ORIGIN/${jv_plugin_to_lib}")
  install(TARGETS jornavista_designer EXPORT JornavistaDesignerTargets
    LIBRARY DESTINATION ${jv_plugin_dir} COMPONENT designer)
  install(EXPORT JornavistaDesignerTargets NAMESPACE Jornavista:: DESTINATION ${JV_PACKAGE_DIR}
    COMPONENT designer)
endif()

install(EXPORT JornavistaTargets NAMESPACE Jornavista:: DESTINATION ${JV_PACKAGE_DIR} COMPONENT dev)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/JornavistaConfig.cmake.in
  ${PROJECT_BINARY_DIR}/JornavistaConfig.cmake INSTALL_DESTINATION ${JV_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/JornavistaConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/JornavistaConfig.cmake ${PROJECT_BINARY_DIR}/JornavistaConfigVersion.cmake
  DESTINATION ${JV_PACKAGE_DIR} COMPONENT dev)

include(${CMAKE_CURRENT_LIST_DIR}/JornavistaPackaging.cmake)
# Its manual page, compressed there.
install(FILES ${PROJECT_BINARY_DIR}/packaging/jornavista-host.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
  COMPONENT host)
