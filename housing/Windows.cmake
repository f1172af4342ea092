# Jornavista.ocx for Windows: a DLL whose exports the module definition file fixes,
# with its type library, version record and toolbox bitmap as Windows resources.

# The type library is compiled from Jornavista.idl as written from the table (the
# copy in the tree, which the Linux tests keep equal to the table). The base IDL
# files that declare IDispatch, OLE_COLOR and the font come with Wine's headers.
find_program(JV_WIDL NAMES widl-stable widl REQUIRED)
find_path(JV_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(jv_tlb ${CMAKE_CURRENT_BINARY_DIR}/Jornavista.tlb)
add_custom_command(
  OUTPUT ${jv_tlb}
  COMMAND ${JV_WIDL} -I${JV_WINE_IDL_DIR} --win64 -t -o ${jv_tlb} ${CMAKE_CURRENT_SOURCE_DIR}/Jornavista.idl
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Jornavista.idl
  COMMENT "Compiling the type library Jornavista.tlb")

add_library(jornavista_ocx SHARED entry_points.cpp Jornavista.rc Jornavista.def)
target_link_libraries(jornavista_ocx PRIVATE jv_housing jv_options)
# The resource script names the type library and the bitmap by file name.
target_include_directories(jornavista_ocx PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
set_source_files_properties(Jornavista.rc PROPERTIES OBJECT_DEPENDS
                            "${jv_tlb};${CMAKE_CURRENT_SOURCE_DIR}/toolbox.bmp")
# The C++ runtime is linked in (the toolchain file's -static flags), so the file
# loads in a bare system; the .def file alone decides the exports.
target_link_options(jornavista_ocx PRIVATE -Wl,--no-undefined)
set_target_properties(jornavista_ocx PROPERTIES
  OUTPUT_NAME Jornavista
  PREFIX ""
  SUFFIX .ocx)
