# What cmake --install lays out: the programs, the desktop entry with its icons and file type,
# and the offline help page.
include(GNUInstallDirs)

install(TARGETS tandel-skin-editor tdskn TandelConfig RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(desktop ${PROJECT_SOURCE_DIR}/assets/desktop)
install(FILES ${desktop}/tandel-skin-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/tandel-skin.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
file(GLOB icons ${PROJECT_SOURCE_DIR}/assets/pictures/icons/tandel-skin-editor-*.png)
foreach(icon ${icons})
    string(REGEX REPLACE ".*-([0-9]+)\\.png$" "\\1" size ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME tandel-skin-editor.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/assets/help/skinhelp.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tandel-skin-editor)

# The desktop's caches of file types, entries and icons, refreshed for an install into a live
# system when their tools are there; a staged install (DESTDIR) leaves them to its package. A
# tool that fails never fails the install.
install(CODE "set(tandel_datadir [[${CMAKE_INSTALL_DATADIR}]])")
install(CODE [[
    function(tandel_refresh tool)
        find_program(program ${tool} NO_CACHE)
        if(program)
            execute_process(COMMAND ${program} ${ARGN} OUTPUT_QUIET ERROR_QUIET)
        endif()
    endfunction()
    if("$ENV{DESTDIR}" STREQUAL "")
        cmake_path(ABSOLUTE_PATH tandel_datadir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
        tandel_refresh(update-mime-database "${tandel_datadir}/mime")
        tandel_refresh(update-desktop-database -q "${tandel_datadir}/applications")
        tandel_refresh(gtk-update-icon-cache -q -t -f "${tandel_datadir}/icons/hicolor")
    endif()
]])
