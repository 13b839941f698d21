# Two Debian packages from one build: twinfold-cli (component cli), which needs no Qt, and
# twinfold (component gui), the desktop program. `cpack` in the build directory writes both.
include(GNUInstallDirs)

set(TWINFOLD_PACKAGE_MAINTAINER "Twinfold developers <twinfold@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian packages and their changelog: NAME <ADDRESS>")

set(twinfold_components cli)
if(TWINFOLD_BUILD_GUI)
  list(APPEND twinfold_components gui)
endif()

# Every package carries the copyright file and the changelog in its own documentation directory.
set(TWINFOLD_DEBIAN ${PROJECT_SOURCE_DIR}/data/debian)
configure_file(${TWINFOLD_DEBIAN}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
set(twinfold_package_cli twinfold-cli)
set(twinfold_package_gui twinfold)
foreach(component IN LISTS twinfold_components)
  set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${twinfold_package_${component}})
  install(FILES ${TWINFOLD_DEBIAN}/copyright DESTINATION ${docdir} COMPONENT ${component})
  twinfold_install_gzipped(${CMAKE_CURRENT_BINARY_DIR}/changelog ${docdir} ${component})
endforeach()

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "twinfold")
set(CPACK_PACKAGE_CONTACT "${TWINFOLD_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TWINFOLD_PACKAGE_MAINTAINER}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${twinfold_components})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/twinfold/twinfold")
set(CPACK_DEBIAN_PACKAGE_SOURCE "twinfold")
# Files 0644 and directories 0755 whatever the umask of the build.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# Debug builds can be packaged for a try-out without shipping their symbols.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_CLI_PACKAGE_NAME "twinfold-cli")
string(CONCAT CPACK_DEBIAN_CLI_DESCRIPTION
    "one-way directory synchronisation for scripts\n"
    "twinfold-cli copies the files of a source directory to a destination\n"
    "directory when the source file is newer or the destination has none, with\n"
    "include and exclude masks, settings files and batch runs. It never changes\n"
    "the source, never deletes a destination file and never leaves a torn copy.\n"
    "Its exit status and quiet mode suit cron jobs and systemd timers.")

set(CPACK_DEBIAN_GUI_PACKAGE_NAME "twinfold")
# The desktop program starts only with a platform plugin, which Qt merely recommends.
set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_GUI_PACKAGE_SUGGESTS "twinfold-cli")
string(CONCAT CPACK_DEBIAN_GUI_DESCRIPTION
    "one-way directory synchronisation, desktop program\n"
    "Twinfold copies the files of a source directory to a destination directory\n"
    "when the source file is newer or the destination has none. Its window shows\n"
    "both directories, the filters and the three result lists (copied, not\n"
    "copied, failed); it keeps jobs in settings files and runs lists of them as\n"
    "batches. The command-line program is in the package twinfold-cli.")

include(CPack)
