# mxc9_windows_resources(TARGET NAME DESCRIPTION [ICON] [CONSOLE])
#   Gives a Windows program its version information (file and product version from
#   PROJECT_VERSION), its manifest and, with ICON, the program's icon
#   (packaging/windows/mxc9.ico) as icon group 1, the one Explorer shows.
#   NAME is the program file's name ("mxc9.exe"), DESCRIPTION its FileDescription.
#   The manifest asks for no elevation, allows long paths and names Windows 7 to 11; a
#   window program also gets version 6 of the Common Controls and per-monitor DPI
#   awareness. CONSOLE leaves both out: a console program draws nothing of its own.
#   There is no UTF-8 code page in it: the programs use the wide calls, and settings
#   files are read as bytes.
set(MXC9_WINDOWS_RESOURCE_FOLDER ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows)
cmake_path(NORMAL_PATH MXC9_WINDOWS_RESOURCE_FOLDER)

function(mxc9_windows_resources target name description)
  cmake_parse_arguments(R "ICON;CONSOLE" "" "" ${ARGN})
  if(R_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "mxc9_windows_resources: unknown arguments ${R_UNPARSED_ARGUMENTS}")
  endif()
  set(folder ${MXC9_WINDOWS_RESOURCE_FOLDER})
  get_filename_component(MXC9_RES_STEM ${name} NAME_WE)
  set(MXC9_RES_NAME ${name})
  set(MXC9_RES_DESCRIPTION ${description})
  set(MXC9_VERSION_QUAD ${PROJECT_VERSION}.0)
  set(MXC9_RES_COMMON_CONTROLS "")
  set(MXC9_RES_DPI "")
  if(NOT R_CONSOLE)
    string(CONCAT MXC9_RES_COMMON_CONTROLS
      "  <dependency>\n"
      "    <dependentAssembly>\n"
      "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
      "    </dependentAssembly>\n"
      "  </dependency>\n")
    string(CONCAT MXC9_RES_DPI
      "      <!-- Per-monitor DPI awareness: V2 where there is, else the first kind. -->\n"
      "      <dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>\n"
      "      <dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>\n")
  endif()
  set(MXC9_RES_ICON_LINE "")
  set(depends ${folder}/program.manifest.in)
  if(R_ICON)
    set(MXC9_RES_ICON_LINE "1 ICON \"${folder}/mxc9.ico\"\n")
    list(APPEND depends ${folder}/mxc9.ico)
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${MXC9_RES_STEM}_resources)
  set(MXC9_RES_MANIFEST ${out}.manifest)
  configure_file(${folder}/program.manifest.in ${MXC9_RES_MANIFEST} @ONLY)
  configure_file(${folder}/program.rc.in ${out}.rc @ONLY)
  # windres reads the manifest and the icon itself: a change to either builds it again.
  set_source_files_properties(${out}.rc PROPERTIES OBJECT_DEPENDS "${depends};${MXC9_RES_MANIFEST}")
  target_sources(${target} PRIVATE ${out}.rc)
endfunction()
