# The documents installed compressed: the man pages, with the install prefix
# filled in, and the change log. gzip -n leaves out the time stamp, so that
# two builds of one version give the same bytes.
find_program(KESTRANE_GZIP gzip REQUIRED)

set(KESTRANE_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(KESTRANE_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)

configure_file(${CMAKE_SOURCE_DIR}/man/purge.1.in ${KESTRANE_MAN_DIR}/purge.1 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/man/veldran.8.in ${KESTRANE_MAN_DIR}/veldran.8 @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)

set(compressed)
foreach(document IN ITEMS ${KESTRANE_MAN_DIR}/purge.1 ${KESTRANE_MAN_DIR}/veldran.8
                          ${CMAKE_BINARY_DIR}/packaging/changelog)
  add_custom_command(OUTPUT ${document}.gz
    COMMAND ${KESTRANE_GZIP} -9nkf ${document}
    DEPENDS ${document}
    VERBATIM)
  list(APPEND compressed ${document}.gz)
endforeach()
add_custom_target(compressed_documents ALL DEPENDS ${compressed})
