# Installation: one program folder under lib/kestrane that holds purge, the
# purge library, the program texts and the user manual (purge finds them all
# beside its own executable), links in bin/ so that purge and veldran are on
# PATH, the menu entries with their icon and AppStream metadata, and the man
# pages. cmake --install honours DESTDIR; the Debian package is made from the
# same rules (Packaging.cmake).

# Fixed rather than taken from GNUInstallDirs: the links in bin/ point into
# the program folder by a relative path, and Debian's multiarch library
# folder is for public libraries, not a program's private one.
set(KESTRANE_INSTALL_PROGRAM_DIR lib/kestrane)
set(KESTRANE_INSTALL_BIN_DIR bin)
set(KESTRANE_INSTALL_DATA_DIR share)
set(KESTRANE_INSTALL_MANUAL_DIR ${KESTRANE_INSTALL_DATA_DIR}/kestrane/manual)
set(KESTRANE_INSTALL_DOC_DIR ${KESTRANE_INSTALL_DATA_DIR}/doc/kestrane)

# The user manual's ZIP file and pages come from UserManual.cmake, which the
# top CMakeLists.txt includes for the Windows build as well.

# Absolute run-time paths, written into the menu entries and the man pages.
set(KESTRANE_PROGRAM_FOLDER ${CMAKE_INSTALL_PREFIX}/${KESTRANE_INSTALL_PROGRAM_DIR})
set(KESTRANE_MANUAL_FOLDER ${CMAKE_INSTALL_PREFIX}/${KESTRANE_INSTALL_MANUAL_DIR})
set(KESTRANE_BIN_FOLDER ${CMAKE_INSTALL_PREFIX}/${KESTRANE_INSTALL_BIN_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/CompressedDocuments.cmake)

# The program folder.
if(TARGET purge)
  install(TARGETS purge RUNTIME DESTINATION ${KESTRANE_INSTALL_PROGRAM_DIR})
endif()
install(TARGETS veldran RUNTIME DESTINATION ${KESTRANE_INSTALL_PROGRAM_DIR})
# Loaded with dlopen, never executed: no execute bit.
install(TARGETS torvix LIBRARY DESTINATION ${KESTRANE_INSTALL_PROGRAM_DIR}
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${CMAKE_SOURCE_DIR}/torvix/kz_text.dat ${KESTRANE_USER_MANUAL_ZIP}
  DESTINATION ${KESTRANE_INSTALL_PROGRAM_DIR})

# Relative links, so that the tree works wherever DESTDIR puts it; purge
# finds its folder through the real executable, not through the link.
set(link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${link_dir})
set(links veldran)
if(TARGET purge)
  list(APPEND links purge)
endif()
foreach(program IN LISTS links)
  file(CREATE_LINK ../${KESTRANE_INSTALL_PROGRAM_DIR}/${program} ${link_dir}/${program} SYMBOLIC)
  install(FILES ${link_dir}/${program} DESTINATION ${KESTRANE_INSTALL_BIN_DIR})
endforeach()

# The unpacked manual, which the manual's menu entry opens in a browser.
install(FILES ${KESTRANE_USER_MANUAL_PAGES} DESTINATION ${KESTRANE_INSTALL_MANUAL_DIR})

# Menu entries, icon and AppStream metadata.
set(KESTRANE_APP_ID org.kestrane.Kestrane)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${KESTRANE_APP_ID}.desktop.in
  ${CMAKE_BINARY_DIR}/packaging/${KESTRANE_APP_ID}.desktop @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/${KESTRANE_APP_ID}.Manual.desktop.in
  ${CMAKE_BINARY_DIR}/packaging/${KESTRANE_APP_ID}.Manual.desktop @ONLY)
if(TARGET purge)
  install(FILES
    ${CMAKE_BINARY_DIR}/packaging/${KESTRANE_APP_ID}.desktop
    ${CMAKE_BINARY_DIR}/packaging/${KESTRANE_APP_ID}.Manual.desktop
    DESTINATION ${KESTRANE_INSTALL_DATA_DIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KESTRANE_APP_ID}.metainfo.xml
    DESTINATION ${KESTRANE_INSTALL_DATA_DIR}/metainfo)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KESTRANE_APP_ID}.svg
    DESTINATION ${KESTRANE_INSTALL_DATA_DIR}/icons/hicolor/scalable/apps)
endif()

# Man pages, compressed as Debian wants them.
if(TARGET purge)
  install(FILES ${KESTRANE_MAN_DIR}/purge.1.gz DESTINATION ${KESTRANE_INSTALL_DATA_DIR}/man/man1)
endif()
install(FILES ${KESTRANE_MAN_DIR}/veldran.8.gz DESTINATION ${KESTRANE_INSTALL_DATA_DIR}/man/man8)

# Bash completion, where bash-completion loads it on first use of purge.
if(TARGET purge)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/bash-completion/purge
    DESTINATION ${KESTRANE_INSTALL_DATA_DIR}/bash-completion/completions)
endif()

# Copyright and change log, where Debian looks for them.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KESTRANE_CHANGELOG_GZ}
  DESTINATION ${KESTRANE_INSTALL_DOC_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
