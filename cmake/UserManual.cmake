# The user manual: the HTML pages of manual/, packed at build time as
# kz_user_manual.zip beside the program, where the Help message says it is.
# cmake's own archiver writes the ZIP, so no zip tool is needed; a fixed time
# stamp keeps the archive the same from build to build.
file(GLOB KESTRANE_USER_MANUAL_PAGES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/manual/*.htm
  ${CMAKE_SOURCE_DIR}/manual/*.css
  ${CMAKE_SOURCE_DIR}/manual/*.svg)
set(KESTRANE_USER_MANUAL_ZIP ${KESTRANE_OUTPUT_DIR}/kz_user_manual.zip)

set(page_names)
foreach(page IN LISTS KESTRANE_USER_MANUAL_PAGES)
  get_filename_component(name ${page} NAME)
  list(APPEND page_names ${name})
endforeach()
list(SORT page_names)

add_custom_command(OUTPUT ${KESTRANE_USER_MANUAL_ZIP}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${KESTRANE_USER_MANUAL_ZIP} --format=zip
          "--mtime=2026-01-01 00:00:00 UTC" -- ${page_names}
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/manual
  DEPENDS ${KESTRANE_USER_MANUAL_PAGES}
  VERBATIM)
add_custom_target(user_manual ALL DEPENDS ${KESTRANE_USER_MANUAL_ZIP})
