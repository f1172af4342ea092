# Writes the installer's WiX source for one platform and builds it with wixl.
#   cmake -DVERSION=1.0.0 -DPLATFORM=x64|x86 -DOCX64=<64-bit Jornavista.ocx>
#         [-DOCX32=<32-bit Jornavista.ocx> [-DOCX32_OPTIONAL=ON]] -DOUTPUT=<file.msi>
#         -P make-msi.cmake
# x64: the 64-bit library in the 64-bit Program Files and, given OCX32, the 32-bit
# one in the 32-bit Program Files, each registered by regsvr32 of its own bitness
# (so into its own registry view). x86: the 32-bit library only (OCX32).
cmake_minimum_required(VERSION 3.25)
foreach(var VERSION PLATFORM OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-msi: ${var} is not given")
  endif()
endforeach()
if(NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "make-msi: version '${VERSION}' is not major.minor.patch")
endif()

# The identities that stay across versions: a product line per platform, and one
# component per library file, so an upgrade keeps the component installed.
set(upgrade_x64 "{6B0F3B58-5E0B-4C2E-9B7C-2E51A7D0C901}")
set(upgrade_x86 "{6B0F3B58-5E0B-4C2E-9B7C-2E51A7D0C902}")
set(component_64 "{6B0F3B58-5E0B-4C2E-9B7C-2E51A7D0C964}")
set(component_32 "{6B0F3B58-5E0B-4C2E-9B7C-2E51A7D0C932}")

# One library: its folder, its component, and the actions that call its entry
# points through the system's regsvr32 of its bitness. BITS 64 or 32; PROGRAMS and
# SYSTEM are the folders of that bitness; FIRST numbers its place in the sequence.
# wixl takes files by relative name only: each is staged under the output's folder.
set(JV_MSI_DIRECTORIES "")
set(JV_MSI_COMPONENT_REFS "")
set(JV_MSI_ACTIONS "")
set(JV_MSI_SEQUENCE "")
macro(jv_msi_library bits file programs system win64)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "make-msi: no ${bits}-bit library at '${file}'")
  endif()
  file(MAKE_DIRECTORY "${stage}/${bits}")
  file(COPY_FILE "${file}" "${stage}/${bits}/Jornavista.ocx")
  string(APPEND JV_MSI_DIRECTORIES
"      <Directory Id=\"${programs}\">
        <Directory Id=\"INSTALLDIR${bits}\" Name=\"Jornavista\">
          <Component Id=\"Library${bits}\" Guid=\"${component_${bits}}\" Win64=\"${win64}\">
            <File Id=\"Ocx${bits}\" Name=\"Jornavista.ocx\" Source=\"${bits}/Jornavista.ocx\" KeyPath=\"yes\"/>
          </Component>
        </Directory>
      </Directory>
")
  string(APPEND JV_MSI_COMPONENT_REFS "      <ComponentRef Id=\"Library${bits}\"/>\n")
  string(APPEND JV_MSI_ACTIONS
"    <CustomAction Id=\"FindRegsvr${bits}\" Property=\"JV_REGSVR${bits}\" Value=\"[${system}]regsvr32.exe\"/>
    <CustomAction Id=\"Register${bits}\" Property=\"JV_REGSVR${bits}\" ExeCommand='/s \"[#Ocx${bits}]\"'
                  Execute=\"deferred\" Impersonate=\"no\" Return=\"check\"/>
    <CustomAction Id=\"Unregister${bits}\" Property=\"JV_REGSVR${bits}\" ExeCommand='/s /u \"[#Ocx${bits}]\"'
                  Execute=\"deferred\" Impersonate=\"no\" Return=\"ignore\"/>
")
  # After CostFinalize (1000) the folders are known. Unregistration runs before
  # RemoveFiles (3500) only when the library's component is really leaving
  # ($Library=2, absent): when a newer version removes this one, the component has
  # that product as a client and stays, and so does its registration, whichever
  # order the installer removes the old product in. Registration runs after
  # InstallFiles (4000) whenever the component is installed locally ($Library=3).
  # WiX reads "$$" as one "$".
  math(EXPR find_at "1010 + ${bits}")
  math(EXPR unregister_at "3400 + ${bits}")
  math(EXPR register_at "4100 + ${bits}")
  string(APPEND JV_MSI_SEQUENCE
"      <Custom Action=\"FindRegsvr${bits}\" Sequence=\"${find_at}\"/>
      <Custom Action=\"Unregister${bits}\" Sequence=\"${unregister_at}\">$$Library${bits}=2</Custom>
      <Custom Action=\"Register${bits}\" Sequence=\"${register_at}\">$$Library${bits}=3</Custom>
")
endmacro()

get_filename_component(dir "${OUTPUT}" DIRECTORY)
get_filename_component(name "${OUTPUT}" NAME_WLE)
set(stage "${dir}/${name}.files")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
if(PLATFORM STREQUAL "x64")
  jv_msi_library(64 "${OCX64}" ProgramFiles64Folder System64Folder yes)
  # OCX32_OPTIONAL: the 32-bit build may not be there; say so loudly.
  if(OCX32 AND (EXISTS "${OCX32}" OR NOT OCX32_OPTIONAL))
    jv_msi_library(32 "${OCX32}" ProgramFilesFolder SystemFolder no)
  else()
    message(WARNING "make-msi: no 32-bit library at '${OCX32}': the x64 installer carries the 64-bit one only "
                    "(build the windows-x86 preset first)")
  endif()
elseif(PLATFORM STREQUAL "x86")
  jv_msi_library(32 "${OCX32}" ProgramFilesFolder SystemFolder no)
else()
  message(FATAL_ERROR "make-msi: platform '${PLATFORM}' is neither x64 nor x86")
endif()
set(JV_MSI_VERSION ${VERSION})
set(JV_MSI_PLATFORM ${PLATFORM})
set(JV_MSI_UPGRADE_CODE ${upgrade_${PLATFORM}})

set(wxs "${stage}/${name}.wxs")
configure_file(${CMAKE_CURRENT_LIST_DIR}/Jornavista.wxs.in "${wxs}" @ONLY)
# Written beside and moved into place: a failed build leaves no installer behind.
file(REMOVE "${OUTPUT}" "${OUTPUT}.part")
execute_process(COMMAND wixl --arch ${PLATFORM} -o "${OUTPUT}.part" "${wxs}" WORKING_DIRECTORY "${stage}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE "${OUTPUT}.part")
  message(FATAL_ERROR "make-msi: wixl failed on ${wxs}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
message(STATUS "make-msi: ${OUTPUT}")
