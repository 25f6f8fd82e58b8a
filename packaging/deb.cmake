# The Debian package: `cpack -G DEB` in the build tree (scripts/package runs it).
# The program and lyrevane-cli go to /usr/bin, the read-only data tree to
# /usr/share/lyrevane (the program keeps the user's files in ~/.local/share/lyrevane),
# the menu entry, icons, AppStream metainfo, manual pages and bash completion where the
# desktop and the shell look for them.
include(GNUInstallDirs)

set(LYREVANE_PACKAGE_VERSION "1.0" CACHE STRING "The version the Debian package carries")
set(LYREVANE_APP_ID org.lyrevane.Lyrevane)
set(DEB_DIR ${PROJECT_SOURCE_DIR}/packaging/deb)
set(DEB_GENERATED ${CMAKE_BINARY_DIR}/generated/deb)

install(TARGETS lyrevane lyrevane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The app folder less the executable, what the desktop's folders take, and anything a run
# from the build tree may have left there of the user's own files.
install(DIRECTORY ${LYREVANE_APP_DIR}/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lyrevane
        USE_SOURCE_PERMISSIONS
        REGEX "^${LYREVANE_APP_DIR}/(lyrevane|lyrevane\\.desktop|icons)$" EXCLUDE
        REGEX "^${LYREVANE_APP_DIR}/([Ss]ave|[Uu]ser\\.dat|[Tt]emp\\.dat|[Dd]ata\\.dat)" EXCLUDE
        REGEX "^${LYREVANE_APP_DIR}/(Mqini\\.ini|lyrevane\\.lock|\\.installed-files)" EXCLUDE)
# The document a new user's five documents start from.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/empty.rtf DESTINATION ${CMAKE_INSTALL_DATADIR}/lyrevane)

install(DIRECTORY ${LYREVANE_APP_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${DEB_DIR}/${LYREVANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${DEB_DIR}/${LYREVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${DEB_DIR}/lyrevane-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME lyrevane-cli)

# Manual pages and the changelog, compressed as Debian keeps them (no name or time in
# the gzip header, so that two builds give the same bytes).
set(DEB_GZIPPED)
foreach(source lyrevane.1 lyrevane-cli.1 changelog)
    set(out ${DEB_GENERATED}/${source}.gz)
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${DEB_GENERATED}
        COMMAND gzip -9n -c ${DEB_DIR}/${source} > ${out}
        DEPENDS ${DEB_DIR}/${source}
        VERBATIM)
    list(APPEND DEB_GZIPPED ${out})
endforeach()
add_custom_target(deb_documents ALL DEPENDS ${DEB_GZIPPED})
install(FILES ${DEB_GENERATED}/lyrevane.1.gz ${DEB_GENERATED}/lyrevane-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${DEB_GENERATED}/changelog.gz ${DEB_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lyrevane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lyrevane)
set(CPACK_PACKAGE_VERSION ${LYREVANE_PACKAGE_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The binaries stripped and their debug information apart, as Debian ships it:
# lyrevane-dbgsym_<version>_amd64.ddeb beside the package, its files under
# /usr/lib/debug/.build-id. CPack strips each binary as it splits the information out, so
# it must find them unstripped (CPACK_STRIP_FILES would leave it nothing to split).
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lyrevane developers <lyrevane@users.noreply.localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for writing classical Chinese poetry")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Lyrevane helps people who write ci to a fixed tune pattern and regulated\n\
verse: 107 tune patterns with their tonal templates, explanations and model\n\
poems, a tone and rhyme checker with the Song poets' practice beside every\n\
finding, three rhyme books, and five rich-text documents kept from run to\n\
run. lyrevane-cli gives the same tables and the checker on the terminal.")
# The libraries the binaries link, found by dpkg-shlibdeps; then what is loaded at run
# time: Qt's platform plugins and Chinese translations, the CJK faces the fonts file
# names, the General MIDI sound font and OpenCC's conversion tables.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, fonts-noto-cjk, fontconfig, libopencc-data, timgm6mb-soundfont | fluid-soundfont-gm")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
