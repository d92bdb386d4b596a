# SPDX-License-Identifier: GPL-3.0-or-later
# The layers' rules, held by what the compiler read: after a library's sources are compiled, the headers each
# object was built from (the compiler's own dependency list, so a quoted, angled, relative or indented include
# counts alike) are checked against two rules, and the build fails with the file and the rule broken.
#  - A library includes only its own headers and those of the libraries it links (through their public
#    links; a private link is the linked library's own business), and only the Qt modules it links. So the
#    model reads Qt Core alone and nothing of the views or the app, the sync (src/sync) Qt Core and Network,
#    the model and nothing above them, no folder reaches up a floor, and the panel's own code never reaches
#    into a module that loads at run time, nor into the sync, which only the calendar sync's module links.
#  - Within the app, where one library gathers several folders, a folder includes only the app folders it
#    uses (mirel_app_folder_rule) besides the app's top-level files.

# The sources of `target` under `folder/` (all of them, where the target gathers no other folder) include, of
# the app's folders, only `folder`, the USES folders and the top-level files.
function(mirel_app_folder_rule target folder)
    cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
    list(JOIN ARG_USES "," uses)
    set_property(TARGET ${target} APPEND PROPERTY MIREL_APP_FOLDER_RULES "app/${folder}=${uses}")
endfunction()

# The project's libraries and the Qt modules that `target` may include: itself, what it links, and what those
# link publicly, over and over.
function(mirel_included_targets target out_targets out_qt)
    get_target_property(pending ${target} LINK_LIBRARIES)
    if(NOT pending)
        set(pending)
    endif()
    set(seen ${target})
    set(qt)
    while(pending)
        list(POP_FRONT pending next)
        # A private link of a static library stands as $<LINK_ONLY:…>; it and the other expressions are
        # the linker's business, not the compiler's.
        if(next MATCHES "^\\$<|^::@" OR next IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${next})
        if(next MATCHES "^Qt6::(.+)$")
            # Only the modules with headers of their own; Qt6::Platform and the like carry flags.
            set(module ${CMAKE_MATCH_1})
            if(IS_DIRECTORY ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}/Qt${module})
                list(APPEND qt ${module})
            endif()
        endif()
        if(TARGET ${next})
            get_target_property(links ${next} INTERFACE_LINK_LIBRARIES)
            if(links)
                list(APPEND pending ${links})
            endif()
        endif()
    endwhile()
    set(targets)
    foreach(candidate IN LISTS seen)
        if(TARGET ${candidate} AND NOT candidate MATCHES "::")
            get_target_property(folder ${candidate} SOURCE_DIR)
            if(folder MATCHES "^${CMAKE_SOURCE_DIR}/src(/|$)")
                list(APPEND targets ${candidate})
            endif()
        endif()
    endforeach()
    set(${out_targets} ${targets} PARENT_SCOPE)
    set(${out_qt} ${qt} PARENT_SCOPE)
endfunction()

# Checks every library, module and executable defined under `directory` and its subfolders.
function(mirel_check_includes directory)
    get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
    foreach(subdirectory IN LISTS subdirectories)
        mirel_check_includes(${subdirectory})
    endforeach()
    get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|MODULE_LIBRARY|SHARED_LIBRARY|EXECUTABLE)$")
            mirel_check_includes_of(${target})
        endif()
    endforeach()
endfunction()

function(mirel_check_includes_of target)
    mirel_included_targets(${target} included qt)
    set(rules "target ${target}\nsource-root ${CMAKE_SOURCE_DIR}/src\nqt-root ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS}\n")
    list(JOIN included " " included_names)
    list(JOIN qt " " qt_names)
    string(APPEND rules "links ${included_names}\nqt ${qt_names}\n")
    foreach(library IN LISTS included)
        get_target_property(folder ${library} SOURCE_DIR)
        get_target_property(sources ${library} SOURCES)
        if(NOT sources)
            continue()
        endif()
        foreach(source IN LISTS sources)
            if(NOT IS_ABSOLUTE ${source})
                set(source ${folder}/${source})
            endif()
            string(APPEND rules "file ${source}\n")
        endforeach()
    endforeach()
    get_target_property(folder_rules ${target} MIREL_APP_FOLDER_RULES)
    if(folder_rules)
        foreach(rule IN LISTS folder_rules)
            string(REPLACE "=" ";" rule "${rule}")
            list(GET rule 0 folder)
            list(GET rule 1 uses)
            string(REPLACE "," ";" uses "${uses}")
            list(TRANSFORM uses PREPEND "app/")
            list(JOIN uses " " uses)
            string(APPEND rules "folder ${folder} ${uses}\n")
        endforeach()
    endif()
    set(rules_file ${CMAKE_BINARY_DIR}/include-rules/${target}.txt)
    file(GENERATE OUTPUT ${rules_file} CONTENT "${rules}")
    set(checked ${CMAKE_BINARY_DIR}/include-rules/${target}.checked)
    # Ninja keeps the compiler's lists in its log; the Makefile generators leave them beside the objects.
    set(ninja -)
    if(CMAKE_GENERATOR MATCHES "Ninja")
        set(ninja ${CMAKE_MAKE_PROGRAM})
    endif()
    add_custom_command(OUTPUT ${checked}
        COMMAND ${CMAKE_SOURCE_DIR}/cmake/checkincludes.sh ${rules_file} ${CMAKE_BINARY_DIR} ${ninja}
            "$<TARGET_OBJECTS:${target}>"
        COMMAND ${CMAKE_COMMAND} -E touch ${checked}
        DEPENDS "$<TARGET_OBJECTS:${target}>" ${rules_file} ${CMAKE_SOURCE_DIR}/cmake/checkincludes.sh
        COMMAND_EXPAND_LISTS VERBATIM)
    add_custom_target(${target}_includes ALL DEPENDS ${checked})
    # The Makefile generators know another folder's objects only once their target is built.
    add_dependencies(${target}_includes ${target})
endfunction()
