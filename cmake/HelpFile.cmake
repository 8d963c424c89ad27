# The help file NVane.chm, compiled from docs/help into the Windows build's
# folder: the Help command opens it beside the programs, and the packages
# take it from there.
if(NULLVANE_WINDOWS)
    find_program(NULLVANE_CHMCMD chmcmd REQUIRED)
    file(GLOB helpSources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/help/*)
    set(helpProject ${CMAKE_BINARY_DIR}/help-project)
    # chmcmd writes beside its project file: a copy in the build folder keeps
    # the sources clean, and a fresh copy drops pages that were removed.
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/NVane.chm
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${helpProject}
        COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/docs/help ${helpProject}
        COMMAND ${CMAKE_COMMAND} -E chdir ${helpProject} ${NULLVANE_CHMCMD} --verbosity 0 NVane.hhp
        COMMAND ${CMAKE_COMMAND} -E copy ${helpProject}/NVane.chm ${CMAKE_BINARY_DIR}/NVane.chm
        DEPENDS ${helpSources}
        COMMENT "Compiling the help file NVane.chm"
        VERBATIM)
    add_custom_target(help_file ALL DEPENDS ${CMAKE_BINARY_DIR}/NVane.chm)
endif()

# The help's own contract, where nullvane-cli runs on the host: every
# category and item of the catalogue and every shipped application section
# is described, and every page is in the project, its contents and its index.
find_program(NULLVANE_PYTHON python3)
if(NOT NULLVANE_WINDOWS AND NULLVANE_PYTHON)
    add_test(NAME help_pages
             COMMAND ${NULLVANE_PYTHON} ${CMAKE_SOURCE_DIR}/tests/help/check_help_pages.py
                     --cli $<TARGET_FILE:nullvane-cli> --help-dir ${CMAKE_SOURCE_DIR}/docs/help
                     --data ${CMAKE_SOURCE_DIR}/data/NVane.dat --guide ${CMAKE_SOURCE_DIR}/docs/user-guide.md)
endif()
