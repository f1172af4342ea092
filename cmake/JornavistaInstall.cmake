# What `cmake --install` puts under the prefix, and the package configuration
# through which another project finds it:
#   find_package(Jornavista 1.0 REQUIRED)
#   target_link_libraries(app PRIVATE Jornavista::Widget)
include(CMakePackageConfigHelpers)

set(JV_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Jornavista)
# The component library and the host sit side by side: the host looks for
# Jornavista.ocx in its own folder. bin/ holds a link to the host.
set(JV_PRIVATE_DIR ${CMAKE_INSTALL_LIBDIR}/jornavista)

set(jv_exported jornavista_ocx jornavista-host)
set_target_properties(jornavista_ocx PROPERTIES EXPORT_NAME Component)
set_target_properties(jornavista-host PROPERTIES EXPORT_NAME Host)
install(TARGETS jornavista_ocx jornavista-host EXPORT JornavistaTargets
  RUNTIME DESTINATION ${JV_PRIVATE_DIR}
  LIBRARY DESTINATION ${JV_PRIVATE_DIR})
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(MAKE_DIRECTORY \"\${bin}\")
  file(RELATIVE_PATH target \"\${bin}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${JV_PRIVATE_DIR}/jornavista-host\")
  file(CREATE_LINK \"\${target}\" \"\${bin}/jornavista-host\" SYMBOLIC)
  message(STATUS \"Installing: \${bin}/jornavista-host -> \${target}\")")

if(TARGET jornavista_widget)
  find_package(Qt6 REQUIRED COMPONENTS Core)
  # The headers a program needs for the widget and, through control(), for the
  # control's members; paths as in the source tree, so the includes read alike.
  foreach(dir control platform/automation platform/runtime platform/dates platform/face platform/qt widgets/qt)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/jornavista/${dir}
      FILES_MATCHING PATTERN "*.h" PATTERN "designer" EXCLUDE)
  endforeach()
  install(TARGETS jornavista_widget EXPORT JornavistaTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  list(APPEND jv_exported jornavista_widget)

  # Into Qt's Designer plugin folder under our prefix: Designer and QUiLoader
  # find it with QT_PLUGIN_PATH=<prefix>/${QT6_INSTALL_PLUGINS}, or by themselves
  # when the prefix is Qt's own. It finds the widget library from where it lies.
  set(jv_plugin_dir ${QT6_INSTALL_PLUGINS}/designer)
  file(RELATIVE_PATH jv_plugin_to_lib /${jv_plugin_dir} /${CMAKE_INSTALL_LIBDIR})
  set_target_properties(jornavista_designer PROPERTIES INSTALL_RPATH "$ORIGIN/${jv_plugin_to_lib}")
  install(TARGETS jornavista_designer EXPORT JornavistaTargets LIBRARY DESTINATION ${jv_plugin_dir})
endif()

install(EXPORT JornavistaTargets NAMESPACE Jornavista:: DESTINATION ${JV_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/JornavistaConfig.cmake.in
  ${PROJECT_BINARY_DIR}/JornavistaConfig.cmake INSTALL_DESTINATION ${JV_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/JornavistaConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/JornavistaConfig.cmake ${PROJECT_BINARY_DIR}/JornavistaConfigVersion.cmake
  DESTINATION ${JV_PACKAGE_DIR})
