# The installed layout (cmake --install, and the .deb made from it):
#
#   <prefix>/lib/zantoria/        Zantoria, Spacefold, zantoria-cli (and zantoria-cli-draw, which it runs)
#   <prefix>/bin/                 zantoria, spacefold, zantoria-cli: links to the above
#   <prefix>/share/zantoria/      Skin/Default, data/ (sample pictures and tips), Plugin/
#   <prefix>/share/icons/hicolor/ the icons, 16 to 256 px
#
# The programs keep one directory of their own, so that "{app.path}" in a
# plug-in description names the directory that holds Spacefold, as it does in
# the program directory of a build. The programs find share/zantoria two
# levels above their own directory (lib/zantoria is therefore not the
# multiarch library directory).
include(GNUInstallDirs)

set(ZANTORIA_INSTALL_PROGRAMDIR lib/zantoria)
set(ZANTORIA_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/zantoria)

# What ships is drawn afresh into a tree of its own, apart from the program
# directory of the build, where a developer's own tips and favourites live.
set(share_dir ${CMAKE_BINARY_DIR}/share/zantoria)
set(icon_dir ${CMAKE_BINARY_DIR}/share/icons)
set(share_stamp ${CMAKE_BINARY_DIR}/share/stamp)
add_custom_command(
    OUTPUT ${share_stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${share_dir} ${icon_dir}
    COMMAND zantoria_skingen ${share_dir}/Skin/Default
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:zantoria-samples> ${share_dir}
    COMMAND zantoria-sampletips ${share_dir}
    COMMAND zantoria_plugingen ${share_dir}/Plugin/Spacefold.ini
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:zantoria_icongen> ${icon_dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${share_stamp}
    DEPENDS zantoria_skingen zantoria-samples zantoria-sampletips zantoria_plugingen zantoria_icongen
    COMMENT "Drawing what the installed program ships"
    VERBATIM)
add_custom_target(zantoria_share ALL DEPENDS ${share_stamp})

install(TARGETS Zantoria Spacefold zantoria-cli zantoria-cli-draw RUNTIME DESTINATION ${ZANTORIA_INSTALL_PROGRAMDIR})
# The names users type, as relative links into the programs' directory.
file(RELATIVE_PATH bin_to_programs /${CMAKE_INSTALL_BINDIR} /${ZANTORIA_INSTALL_PROGRAMDIR})
set(link_dir ${CMAKE_BINARY_DIR}/share/bin)
foreach(pair "zantoria:Zantoria" "spacefold:Spacefold" "zantoria-cli:zantoria-cli")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 name)
    list(GET pair 1 program)
    file(MAKE_DIRECTORY ${link_dir})
    file(CREATE_LINK ${bin_to_programs}/${program} ${link_dir}/${name} SYMBOLIC)
    install(FILES ${link_dir}/${name} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
install(DIRECTORY ${share_dir}/ DESTINATION ${ZANTORIA_INSTALL_SHAREDIR})
install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# cpack -G DEB: zantoria_<version>_amd64.deb
set(CPACK_PACKAGE_NAME zantoria)
set(CPACK_PACKAGE_VENDOR "Zantoria")
set(CPACK_PACKAGE_CONTACT "Zantoria <feedback@zantoria.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chat art maker: pictures, big words and paintings in text")
set(CPACK_PACKAGE_DESCRIPTION
    "Zantoria makes chat art: text pictures from images, big words drawn in a font,\n"
    "and paintings made with characters on a grid. It keeps a library of\n"
    "ready-made texts and sends the chosen art into an open chat window.\n"
    "Spacefold, the second program, shrinks text art by folding its blanks.\n"
    "The command zantoria-cli offers the same work to scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zantoria.org)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# 宋体, the default font, is drawn with AR PL UMing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming")
set(CPACK_STRIP_FILES ON)
include(CPack)
