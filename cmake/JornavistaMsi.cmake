# The Windows installer, built here with wixl (msitools) from the cross-built
# library:  cmake --build --preset windows --target msi
#   64-bit build: Jornavista-<version>-x64.msi, the 64-bit library and, when the
#                 32-bit build is there (JV_MSI_X86_LIBRARY, by default the
#                 windows-x86 preset's), the 32-bit one beside it in its own view
#   32-bit build: Jornavista-<version>-x86.msi, the 32-bit library
# packaging/msi/make-msi.cmake (beside this file) writes the WiX source and runs wixl.
set(JV_MSI_X86_LIBRARY ${PROJECT_SOURCE_DIR}/build/windows-x86/housing/Jornavista.ocx
    CACHE FILEPATH "The 32-bit Jornavista.ocx that the 64-bit installer carries beside the 64-bit one")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(jv_msi_platform x64)
  set(jv_msi_files -DOCX64=$<TARGET_FILE:jornavista_ocx> -DOCX32=${JV_MSI_X86_LIBRARY} -DOCX32_OPTIONAL=ON)
else()
  set(jv_msi_platform x86)
  set(jv_msi_files -DOCX32=$<TARGET_FILE:jornavista_ocx>)
endif()
add_custom_target(msi
  COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DPLATFORM=${jv_msi_platform} ${jv_msi_files}
          -DOUTPUT=${PROJECT_BINARY_DIR}/packages/Jornavista-${PROJECT_VERSION}-${jv_msi_platform}.msi
          -P ${CMAKE_CURRENT_LIST_DIR}/packaging/msi/make-msi.cmake
  DEPENDS jornavista_ocx
  COMMENT "Making the Windows installer Jornavista-${PROJECT_VERSION}-${jv_msi_platform}.msi"
  VERBATIM)
