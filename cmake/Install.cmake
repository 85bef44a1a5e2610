# Installation and the Debian package.
#
# The install tree is laid out as a root file system: the program folder opt/zefirant (bin/ of
# the build tree, as it is), the `zefirant` and `zefirant-plan` commands in usr/bin and the
# desktop files in usr/share. The prefix is therefore the root: "/" for a real installation, a staging folder
# otherwise. /usr/local as root makes no sense for this layout, so CMake's default becomes "/".
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(CMAKE_INSTALL_PREFIX "/" CACHE PATH "Root of the installation (a staging folder or /)" FORCE)
endif()

set(ZF_INSTALL_PROGRAM_DIR opt/zefirant)
# Installing and packaging take the build as it is (the two commands build first); otherwise
# CPack would rebuild every test and benchmark before packaging.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(ZF_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ZF_ICON_SIZES 16 22 24 32 48 64 128 256)

# Every target of the project, this folder and all below it.
function(zf_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    zf_collect_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# A text matched literally inside a regular expression.
function(zf_regex_escape text out)
  string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" escaped "${text}")
  set(${out} "${escaped}" PARENT_SCOPE)
endfunction()

# The programs built into bin/ are installed as targets (so that stripping and run paths are
# handled); everything else in bin/ is copied by folder, so that files other parts of the
# build put there later are installed without touching this file.
zf_collect_targets(${PROJECT_SOURCE_DIR} zf_all_targets)
set(zf_program_excludes)
foreach(target IN LISTS zf_all_targets)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    continue()
  endif()
  get_target_property(outdir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT outdir)
    continue()
  endif()
  cmake_path(IS_PREFIX ZF_BIN_DIR "${outdir}" NORMALIZE in_bin)
  if(NOT in_bin)
    continue()
  endif()
  file(RELATIVE_PATH sub ${ZF_BIN_DIR} ${outdir})
  set(destination ${ZF_INSTALL_PROGRAM_DIR})
  set(relative ${target})
  if(sub)
    string(APPEND destination /${sub})
    set(relative ${sub}/${target})
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${destination})
  zf_regex_escape("${ZF_BIN_DIR}/${relative}" path_regex)
  list(APPEND zf_program_excludes REGEX "^${path_regex}$" EXCLUDE)
endforeach()

install(DIRECTORY ${ZF_BIN_DIR}/ DESTINATION ${ZF_INSTALL_PROGRAM_DIR}
  USE_SOURCE_PERMISSIONS ${zf_program_excludes})
# The report templates' folder is there even before the first template is.
install(DIRECTORY DESTINATION ${ZF_INSTALL_PROGRAM_DIR}/raporty)

# The commands on the PATH, the office's program and the employees' plan editor, as links. For
# the root (an installation, or the package's image of it: CPack installs with an empty prefix
# into DESTDIR) they are absolute, as Debian wants links between top-level folders; under any
# other prefix, a staging folder, they are relative so that they work there. The program finds
# its companions beside the link's target.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
foreach(command zefirant zefirant-plan)
  install(CODE "
    set(zf_target \"../../${ZF_INSTALL_PROGRAM_DIR}/${command}\")
    if(CMAKE_INSTALL_PREFIX STREQUAL \"\" OR CMAKE_INSTALL_PREFIX STREQUAL \"/\")
      set(zf_target \"/${ZF_INSTALL_PROGRAM_DIR}/${command}\")
    endif()
    set(zf_link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/usr/bin/${command}\")
    message(STATUS \"Installing: \${zf_link} -> \${zf_target}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/usr/bin\")
    file(REMOVE \"\${zf_link}\")
    file(CREATE_LINK \"\${zf_target}\" \"\${zf_link}\" SYMBOLIC)
  ")
endforeach()

install(FILES ${ZF_PACKAGING_DIR}/zefirant.desktop ${ZF_PACKAGING_DIR}/zefirant-plan.desktop
  DESTINATION usr/share/applications)
# The plan files' type (*.zfpn), which the plan editor's menu entry opens.
install(FILES ${ZF_PACKAGING_DIR}/zefirant-plan.xml DESTINATION usr/share/mime/packages)
install(FILES ${ZF_PACKAGING_DIR}/pl.orvantis.zefirant.metainfo.xml DESTINATION usr/share/metainfo)
install(FILES ${ZF_PACKAGING_DIR}/zefirant.svg DESTINATION usr/share/icons/hicolor/scalable/apps)

# /usr/share/doc/zefirant: the copyright in Debian's machine-readable format, the changelog
# (compressed as Debian wants it: gzip -9, no name or time stamp, so every build gives the same
# bytes) and the template format for the office that edits its printouts.
set(ZF_DOC_DIR usr/share/doc/zefirant)
set(zf_changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(
  OUTPUT ${zf_changelog_gz}
  COMMAND sh -c "gzip -9nc < \"$1\" > \"$2\"" sh ${ZF_PACKAGING_DIR}/changelog ${zf_changelog_gz}
  DEPENDS ${ZF_PACKAGING_DIR}/changelog
  COMMENT "Compressing the package's changelog"
  VERBATIM)
add_custom_target(zf_changelog ALL DEPENDS ${zf_changelog_gz})
# The package's version and the changelog's newest entry are one.
file(STRINGS ${ZF_PACKAGING_DIR}/changelog zf_changelog_head LIMIT_COUNT 1)
if(NOT zf_changelog_head MATCHES "^zefirant \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog begins with '${zf_changelog_head}'; its newest entry "
                      "must be version ${PROJECT_VERSION}, the project's")
endif()
install(FILES ${ZF_PACKAGING_DIR}/copyright ${zf_changelog_gz} DESTINATION ${ZF_DOC_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/reports/templates/README.md DESTINATION ${ZF_DOC_DIR}
  RENAME szablony-raportow.md)
# The manual pages of both commands, in Polish as the programs are, compressed as the
# changelog is.
set(zf_man_pages)
foreach(page zefirant zefirant-plan)
  set(zf_man_gz ${CMAKE_BINARY_DIR}/packaging/man/${page}.1.gz)
  add_custom_command(
    OUTPUT ${zf_man_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/man
    COMMAND sh -c "gzip -9nc < \"$1\" > \"$2\"" sh ${ZF_PACKAGING_DIR}/man/${page}.1 ${zf_man_gz}
    DEPENDS ${ZF_PACKAGING_DIR}/man/${page}.1
    COMMENT "Compressing the manual page ${page}(1)"
    VERBATIM)
  list(APPEND zf_man_pages ${zf_man_gz})
endforeach()
add_custom_target(zf_man_pages ALL DEPENDS ${zf_man_pages})
install(FILES ${zf_man_pages} DESTINATION usr/share/man/man1)

# Lintian's checks are Debian's policy; the one tag that does not fit a package from outside
# Debian is overridden there, with its reason.
install(FILES ${ZF_PACKAGING_DIR}/lintian-overrides DESTINATION usr/share/lintian/overrides
  RENAME zefirant)

# The bitmap icons are drawn from the SVG at build time.
find_program(ZF_RSVG_CONVERT rsvg-convert)
if(ZF_RSVG_CONVERT)
  set(zf_icon_outputs)
  foreach(size IN LISTS ZF_ICON_SIZES)
    set(png ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}/zefirant.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/icons/${size}x${size}
      COMMAND ${ZF_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${ZF_PACKAGING_DIR}/zefirant.svg
      DEPENDS ${ZF_PACKAGING_DIR}/zefirant.svg
      COMMENT "Drawing the ${size}x${size} icon"
      VERBATIM)
    list(APPEND zf_icon_outputs ${png})
    install(FILES ${png} DESTINATION usr/share/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(zf_icons ALL DEPENDS ${zf_icon_outputs})
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the bitmap icons are not installed")
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zefirant)
set(CPACK_PACKAGE_VENDOR Orvantis)
set(CPACK_PACKAGE_CONTACT "Orvantis <pomoc@orvantis.pl>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "planowanie urlopów dla działu kadr (Zefirant PL+)")
# Lines of at most 80 characters, and no double quotes: CPack writes the text into its own
# configuration file as it stands.
set(CPACK_PACKAGE_DESCRIPTION
  "A program for a personnel office that plans the annual leave of a company's
employees, keeps personnel records, deadlines and notes, and shares one
Firebird database between every copy of the program in the office. With it
comes zefirant-plan (Mój plan urlopowy), with which an employee fills in the
leave-plan file the office hands out.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
# The libraries linked in (Qt widgets, print support and PDF for the manual's window, the
# Firebird client) are found by dpkg-shlibdeps; what is loaded or started at run time is listed:
# the embedded engine, gbak for the archiving tool, Qt's Polish translations and xdg-open and
# xdg-email for folders, files and mail; libcurl and libsecret come through shlibdeps, the
# certificates that TLS to the mail server checks against do not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "firebird3.0-server-core, firebird3.0-utils, qt6-translations-l10n, xdg-utils, ca-certificates")
# The desktop's file manager learns the plan files' type from shared-mime-info's trigger; the
# mail password is kept in a Secret Service (without one it is asked once per run).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, gnome-keyring | kwalletmanager")
# No maintainer scripts: removing the package leaves the data folders and databases alone.
include(CPack)
