# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack after it made the packages. The package has no maintainer scripts of its own: the postinst
# and postrm in a Debian package made here are CPack's ldconfig calls, which the package does not need, as
# its libraries, the modules and those they share with the program, sit in a private folder that the program
# and the modules reach through their RUNPATH. Each such package is built again without them.
find_program(DPKG_DEB dpkg-deb REQUIRED)
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    set(tree ${CPACK_TOPLEVEL_DIRECTORY}/without-ldconfig)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND ${DPKG_DEB} --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE ${tree}/DEBIAN/postinst ${tree}/DEBIAN/postrm)
    execute_process(COMMAND ${DPKG_DEB} --root-owner-group --build ${tree} ${package}
                    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE ${tree})
endforeach()
