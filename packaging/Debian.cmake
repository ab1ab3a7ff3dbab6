# The Debian package (make package: cpack -G DEB in build-pkg).
# Its version is the project's; the libraries it links come from dpkg-shlibdeps,
# and what the programs open at run time (fonts, translations, sound
# libraries loaded with dlopen) is named here.
set(KR31_PACKAGE_MAINTAINER "kr31 maintainers <maintainers@users.noreply.c-seed-21bd9009.example>"
    CACHE STRING "Maintainer field of the Debian package and its changelog")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kr31)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${KR31_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${KR31_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opened with dlopen, so dpkg-shlibdeps cannot see them: ALSA and its plugins
# (the sound server's ALSA device among them), the sound server's client, the
# Japanese fonts the windows name, Qt's Japanese button texts. JPEG, PNG, GIF
# and BMP pictures and the X11 window plugin come with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libasound2, libasound2-plugins, libpulse0, fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[programming environment for the KR-31 LED lamp
Children and their teachers write programs for the KR-31, a small LED lamp
with an alarm: icons in 47 slots, a flowchart or a small text language. They
compose a two-voice alarm melody, try the brightness live and pick alarm
sounds. There is no cable: every transfer is a sound played through the
speakers into the lamp's audio input. The interface is Japanese.

KR-31 (目覚まし付きの小さなLEDランプ) のプログラミング環境です。
アイコン・フローチャート・文字でLEDのプログラムを作り、目覚ましメロディを
作曲し、明るさを試し、目覚まし音を選びます。ランプとはケーブルでつながず、
すべての転送はスピーカーから流れる音で行います。

The package also holds kr31-cli, the same core without windows for
teachers and scripts.]=])

# What Debian asks of every package: its copyright and changelog in its doc folder.
set(KR31_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kr31)
string(TIMESTAMP KR31_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND ${KR31_GZIP} -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(package-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${KR31_DOC_DIR})
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides RENAME kr31
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)
endif()

include(CPack)
