# The Windows installer: both programs with the Qt and libxml2 libraries, the
# platform plugin, the language modules and a Start-menu entry for the window
# program, made by CPack's NSIS generator (`cmake --build . --target package`).
if(NOT WIN32)
  return()
endif()

set(ORV_RUNTIME_DIR ${ORV_WINDOWS_PREFIX}/bin)
set(orv_runtime_dlls
  Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
  libxml2-2.dll
  libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
foreach(dll IN LISTS orv_runtime_dlls)
  install(FILES ${ORV_RUNTIME_DIR}/${dll} DESTINATION . COMPONENT runtime)
endforeach()
install(FILES ${ORV_WINDOWS_PREFIX}/plugins/platforms/qwindows.dll
  DESTINATION platforms COMPONENT runtime)
if(EXISTS ${ORV_WINDOWS_PREFIX}/plugins/styles/qwindowsvistastyle.dll)
  install(FILES ${ORV_WINDOWS_PREFIX}/plugins/styles/qwindowsvistastyle.dll
    DESTINATION styles COMPONENT runtime)
endif()
# Qt looks for its plugins beside the program, not in the build's prefix.
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\n")
install(FILES ${CMAKE_BINARY_DIR}/qt.conf DESTINATION . COMPONENT runtime)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME "ORV Duriza")
set(CPACK_PACKAGE_VENDOR "Kelmar Tirsa, a.s.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Client of the ORV submission portal")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ORV Duriza")
set(CPACK_PACKAGE_FILE_NAME "orv-duriza-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_EXECUTABLES "orv-duriza;ORV Duriza")
set(CPACK_NSIS_DISPLAY_NAME "ORV Duriza")
set(CPACK_NSIS_PACKAGE_NAME "ORV Duriza")
set(CPACK_NSIS_INSTALLED_ICON_NAME "orv-duriza.exe")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/src/forms/images/orv-duriza.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/src/forms/images/orv-duriza.ico)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer, as the programs are; it runs where they run.
set(CPACK_NSIS_EXECUTABLE ${CMAKE_SOURCE_DIR}/cmake/makensis-amd64)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/share/windows/License.txt)
include(CPack)
