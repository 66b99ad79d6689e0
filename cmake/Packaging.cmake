# What a user gets on a Debian desktop: both programs in games/, a launcher,
# icons, AppStream metainfo and a manual page for each, the copyright and
# licences. The Debian package (debian/, scripts/package) installs these.

include(GNUInstallDirs)

# Debian puts games in /usr/games; with another prefix, <prefix>/games.
set(KALVO_GAMES_DIR games)
set(KALVO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kalvorintu)
set(KALVO_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
# AppStream and desktop ids; each names the program's launcher, metainfo and
# icon files.
set(KALVO_tiles_ID ee.kalvorintu.Tiles)
set(KALVO_counters_ID ee.kalvorintu.Counters)

# The programs are copied whole: stripping them, as `cmake --install --strip`
# would, cuts off the appended font (debian/rules appends it again after
# dh_strip).
install(TARGETS tiles counters RUNTIME DESTINATION ${KALVO_GAMES_DIR})

# --- icons ------------------------------------------------------------------
# Drawn at build time by the programs' own screen code, so that a change to
# the board or the row shows in the launcher without anyone redrawing a file.
find_package(ZLIB REQUIRED)
add_library(icon_picture STATIC tools/icons/icon_picture.cpp)
target_include_directories(icon_picture PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(icon_picture PUBLIC PkgConfig::ALLEGRO ZLIB::ZLIB)

add_executable(tiles_icon tools/icons/tiles_icon.cpp tiles/screen.cpp)
target_link_libraries(tiles_icon PRIVATE icon_picture tiles_core shell)
add_executable(counters_icon tools/icons/counters_icon.cpp counters/screen.cpp)
target_link_libraries(counters_icon PRIVATE icon_picture counters_core shell)

set(KALVO_ICON_DIR ${CMAKE_BINARY_DIR}/icons/hicolor)
set(KALVO_ICON_SIZES 48 64 128 256)
set(icon_files)
foreach(program tiles counters)
  set(id ${KALVO_${program}_ID})
  set(outputs)
  foreach(size ${KALVO_ICON_SIZES})
    list(APPEND outputs ${KALVO_ICON_DIR}/${size}x${size}/apps/${id}.png)
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${program}_icon ${FONT_DATAFILE} ${KALVO_ICON_DIR} ${id}
    DEPENDS ${program}_icon ${FONT_DATAFILE}
    COMMENT "Drawing the ${program} icons"
    VERBATIM)
  list(APPEND icon_files ${outputs})
endforeach()
add_custom_target(icons ALL DEPENDS ${icon_files})
foreach(size ${KALVO_ICON_SIZES})
  install(DIRECTORY ${KALVO_ICON_DIR}/${size}x${size}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endforeach()

# --- launchers, metainfo, manual pages, documents -----------------------------
set(KALVO_GENERATED ${CMAKE_BINARY_DIR}/packaging)
set(compressed)
foreach(program tiles counters)
  set(id ${KALVO_${program}_ID})
  install(FILES ${KALVO_PACKAGING_DIR}/${id}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${KALVO_PACKAGING_DIR}/${id}.metainfo.xml.in
    ${KALVO_GENERATED}/${id}.metainfo.xml @ONLY)
  install(FILES ${KALVO_GENERATED}/${id}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  configure_file(${KALVO_PACKAGING_DIR}/${program}.6.in ${KALVO_GENERATED}/${program}.6 @ONLY)
  list(APPEND compressed ${program}.6)
endforeach()
# Debian wants manual pages gzipped at the highest level and
# without a time stamp (-n), so that a rebuild gives the same bytes.
set(gz_files)
foreach(name ${compressed})
  add_custom_command(OUTPUT ${KALVO_GENERATED}/${name}.gz
    COMMAND gzip -9nc ${KALVO_GENERATED}/${name} > ${KALVO_GENERATED}/${name}.gz
    DEPENDS ${KALVO_GENERATED}/${name}
    VERBATIM)
  list(APPEND gz_files ${KALVO_GENERATED}/${name}.gz)
endforeach()
add_custom_target(packaging_documents ALL DEPENDS ${gz_files})
install(FILES ${KALVO_GENERATED}/tiles.6.gz ${KALVO_GENERATED}/counters.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The Debian package installs debian/copyright in its place.
install(FILES ${KALVO_PACKAGING_DIR}/copyright DESTINATION ${KALVO_DOC_DIR})
# Installed from its own path: the font face, and so this notice, may change.
install(FILES ${CMAKE_SOURCE_DIR}/assets/font-LICENSE.txt DESTINATION ${KALVO_DOC_DIR})
