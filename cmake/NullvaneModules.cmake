# One static library per module below src/, each naming the modules it may
# include from. A module's sources are checked when the build is configured:
# an #include of a module that is neither the module itself nor among its
# declared dependencies (directly or through them) stops the configuration,
# so the layers stay as declared and a new cycle cannot be written. Only
# platform/ and removal/ list folders.

# nullvane_module(NAME [DEPENDS module ...] [SOURCE_DIRS dir ...] [EXCLUDE regex] [LIBS lib ...])
function(nullvane_module name)
    cmake_parse_arguments(M "" "EXCLUDE" "DEPENDS;SOURCE_DIRS;LIBS" ${ARGN})
    set(dirs ${CMAKE_SOURCE_DIR}/src/${name} ${M_SOURCE_DIRS})
    set(sources)
    set(headers)
    foreach(dir IN LISTS dirs)
        file(GLOB dirSources CONFIGURE_DEPENDS ${dir}/*.cpp)
        file(GLOB dirHeaders CONFIGURE_DEPENDS ${dir}/*.h)
        list(APPEND sources ${dirSources})
        list(APPEND headers ${dirHeaders})
    endforeach()
    if(M_EXCLUDE)
        list(FILTER sources EXCLUDE REGEX "${M_EXCLUDE}")
    endif()

    # What the module may include: itself and its dependencies' allowances.
    set(allowed ${name})
    foreach(dependency IN LISTS M_DEPENDS)
        get_property(inherited GLOBAL PROPERTY NULLVANE_ALLOWED_${dependency})
        if(NOT inherited)
            message(FATAL_ERROR "module ${name} depends on ${dependency}, which is not declared before it")
        endif()
        list(APPEND allowed ${inherited})
    endforeach()
    list(REMOVE_DUPLICATES allowed)
    set_property(GLOBAL PROPERTY NULLVANE_ALLOWED_${name} ${allowed})

    foreach(file IN LISTS sources headers)
        file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" used "${line}")
            if(NOT used IN_LIST allowed)
                file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${file})
                message(FATAL_ERROR "${shown} includes from ${used}/, which module ${name} does not depend on "
                                    "(it may use: ${allowed})")
            endif()
        endforeach()
    endforeach()

    # Folders are listed in one place: the platform's listing and the walk and
    # listings of removal/, which leave out links and never give the dots.
    if(NOT name STREQUAL "platform" AND NOT name STREQUAL "removal")
        foreach(file IN LISTS sources headers)
            file(STRINGS ${file} listings REGEX "(\\.|->)List\\(")
            if(listings)
                file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${file})
                message(FATAL_ERROR "${shown} lists a folder itself; use the listings of removal/ "
                                    "(Subfolders, FilesIn, FileSizeOf, the walk)")
            endif()
        endforeach()
    endif()

    add_library(nullvane_${name} STATIC ${sources})
    target_include_directories(nullvane_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    set(links)
    foreach(dependency IN LISTS M_DEPENDS)
        list(APPEND links nullvane_${dependency})
    endforeach()
    target_link_libraries(nullvane_${name} PUBLIC ${links} ${M_LIBS})
endfunction()
