# SPDX-License-Identifier: GPL-3.0-or-later
# Desktop integration and the Debian package: what `make install` puts where,
# and `make package` (CPack's DEB generator) around the same files.

# Directories the package makes are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(K3N_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(K3N_DOC_DIR share/doc/k3n)

# The device rule for programming cables; the permission error names its path.
set(K3N_UDEV_RULES_DIR "/usr/lib/udev/rules.d" CACHE PATH "Folder the cable rule is installed into")
set(K3N_CABLE_RULE_PATH "${K3N_UDEV_RULES_DIR}/60-k3n-cables.rules")
set_property(SOURCE src/core/programming/port_failure_text.cpp DIRECTORY src/core/programming APPEND PROPERTY
             COMPILE_DEFINITIONS K3N_CABLE_RULE_PATH="${K3N_CABLE_RULE_PATH}")
install(FILES ${K3N_PACKAGING_DIR}/60-k3n-cables.rules DESTINATION ${K3N_UDEV_RULES_DIR})

install(FILES resources/k3n-cps.desktop DESTINATION share/applications)
install(FILES ${K3N_PACKAGING_DIR}/k3n-mime.xml DESTINATION share/mime/packages RENAME k3n.xml)
install(FILES ${K3N_PACKAGING_DIR}/invalid.k3n.cps.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES resources/icons/hicolor/${size}x${size}/k3n.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages, compressed as Debian wants them (gzip -9n: no name, no time).
# k3n(1) and the bash completion are written by the tool from its command
# table when it is built, so they say what its --help says.
set(K3N_MAN_DIR ${CMAKE_BINARY_DIR}/man)
configure_file(${K3N_PACKAGING_DIR}/k3n-cps.1 ${K3N_MAN_DIR}/k3n-cps.1 @ONLY)
add_custom_command(
  OUTPUT ${K3N_MAN_DIR}/k3n.1.gz ${K3N_MAN_DIR}/k3n-cps.1.gz ${K3N_MAN_DIR}/k3n.bash-completion
  COMMAND $<TARGET_FILE:k3n> --man-page > ${K3N_MAN_DIR}/k3n.1
  COMMAND gzip -9nf ${K3N_MAN_DIR}/k3n.1
  COMMAND gzip -9nc ${K3N_MAN_DIR}/k3n-cps.1 > ${K3N_MAN_DIR}/k3n-cps.1.gz
  COMMAND $<TARGET_FILE:k3n> --bash-completion > ${K3N_MAN_DIR}/k3n.bash-completion
  DEPENDS k3n ${K3N_MAN_DIR}/k3n-cps.1
  COMMENT "Writing the manual pages and the bash completion"
  VERBATIM)
install(FILES ${K3N_MAN_DIR}/k3n.bash-completion DESTINATION share/bash-completion/completions RENAME k3n)
# The changelog, gzip -9n too, under the name a native package's changelog has.
add_custom_command(
  OUTPUT ${K3N_MAN_DIR}/changelog.gz
  COMMAND gzip -9nc ${K3N_PACKAGING_DIR}/changelog > ${K3N_MAN_DIR}/changelog.gz
  DEPENDS ${K3N_PACKAGING_DIR}/changelog
  VERBATIM)
add_custom_target(k3n_package_docs ALL
  DEPENDS ${K3N_MAN_DIR}/k3n.1.gz ${K3N_MAN_DIR}/k3n-cps.1.gz ${K3N_MAN_DIR}/k3n.bash-completion
          ${K3N_MAN_DIR}/changelog.gz)
install(FILES ${K3N_MAN_DIR}/k3n.1.gz ${K3N_MAN_DIR}/k3n-cps.1.gz DESTINATION share/man/man1)
install(FILES ${K3N_PACKAGING_DIR}/copyright ${K3N_MAN_DIR}/changelog.gz DESTINATION ${K3N_DOC_DIR})

# Installing and packing build what is installed (k3n_installed), not every test
# and benchmark of the tree.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
add_custom_target(k3n_installed DEPENDS k3n k3n-cps k3n_package_docs)

# `make package`: one .deb, k3n_<version>_<arch>.deb, with stripped binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME k3n)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)   # the cable rule's folder is absolute
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "K3N developers <maintainers@k3n.invalid>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "K3N developers <maintainers@k3n.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)   # the libraries, after these:
# A fresh settings file starts the program in Chinese: without a CJK font its texts are boxes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
# Qt's own dialogs (file dialogs, message boxes) in the interface language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming software for K3N handheld radios")
# CPack puts the summary first; no line of the text may begin with a dot.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Edits the configuration of K3N handheld FM radios (channels, general settings,
keys, scan, emergency, DTMF, five-tone and two-tone signalling), keeps it in
configuration files (.fse) and reads it from or writes it into the radio over
a serial programming cable. k3n-cps is the desktop program, k3n the
command-line tool.
.
A device rule lets the user at the desktop open the usual USB programming
cables without joining the dialout group.")
include(CPack)
