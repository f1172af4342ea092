# Jornavista.ocx for Windows: a DLL whose exports the module definition file fixes,
# with its type library, version record and toolbox bitmap as Windows resources.

# The type library is compiled from Jornavista.idl as written from the table (the
# copy in the tree, which the Linux tests keep equal to the table). The base IDL
# files that declare IDispatch, OLE_COLOR and the font come with Wine's headers.
find_program(JV_WIDL NAMES widl-stable widl REQUIRED)
find_path(JV_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
# The imported stdole2.tlb, which widl reads for IDispatch, Font and OLE_COLOR:
# Wine's own, this bitness's first (the other one declares the same types).
find_path(JV_WINE_STDOLE_DIR stdole2.tlb
          PATHS /usr/lib/${CMAKE_SYSTEM_PROCESSOR}-linux-gnu/wine/${CMAKE_SYSTEM_PROCESSOR}-windows
                /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/x86_64-linux-gnu/wine/x86_64-windows
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(jv_tlb ${CMAKE_CURRENT_BINARY_DIR}/Jornavista.tlb)
# The library's system kind follows the build's bitness: RegisterTypeLib files it
# under win32 or win64, and each bitness's clients look for their own.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(jv_widl_syskind --win64)
else()
  set(jv_widl_syskind --win32)
endif()
add_custom_command(
  OUTPUT ${jv_tlb}
  COMMAND ${JV_WIDL} -I${JV_WINE_IDL_DIR} -L${JV_WINE_STDOLE_DIR} ${jv_widl_syskind} -t -o ${jv_tlb} ${CMAKE_CURRENT_SOURCE_DIR}/Jornavista.idl
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/Jornavista.idl
  COMMENT "Compiling the type library Jornavista.tlb")

add_library(jornavista_ocx SHARED entry_points.cpp ${CMAKE_CURRENT_BINARY_DIR}/Jornavista.rc Jornavista.def)
target_link_libraries(jornavista_ocx PRIVATE jv_housing jv_options)
# The resource script names the type library and the bitmap by file name.
target_include_directories(jornavista_ocx PRIVATE ${CMAKE_CURRENT_BINARY_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/Jornavista.rc PROPERTIES OBJECT_DEPENDS
                            "${jv_tlb};${CMAKE_CURRENT_SOURCE_DIR}/toolbox.bmp")
# The C++ runtime is linked in (the toolchain file's -static flags), so the file
# loads in a bare system; the .def file alone decides the exports.
target_link_options(jornavista_ocx PRIVATE -Wl,--no-undefined)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # The entry points are __stdcall, which decorates their symbols on 32-bit
  # Windows (_DllCanUnloadNow@0). The .def file exports them by their plain names,
  # as every bitness does; the fix-up links each name to its decorated symbol.
  target_link_options(jornavista_ocx PRIVATE -Wl,--enable-stdcall-fixup)
endif()
set_target_properties(jornavista_ocx PROPERTIES
  OUTPUT_NAME Jornavista
  PREFIX ""
  SUFFIX .ocx)
