# What an installation holds, and the two Debian packages made of it (`bash scripts/pacote.sh`):
#   rezozur       the program's folder /usr/lib/rezozur/ (the program, rezozur-cli, their modules, the
#                 help page, SYSTEM/tabelas/), links to both in /usr/bin, the desktop entry, icons,
#                 the project file type, the AppStream description and the manual pages;
#   kesta-server  the reference server, its systemd unit (not enabled) and /etc/default/kesta-server.
# The program reads its files beside itself, found from its real path, so /usr/bin holds only links.
if(NOT (TARGET rezozur AND TARGET rezozur-cli AND TARGET kesta-server AND TARGET rezozur_rede
        AND TARGET rezozur_impressora))
    return()
endif()

include(GNUInstallDirs)
set(REZOZUR_PASTA_PROGRAMA lib/rezozur)
set(pacote_fonte ${CMAKE_SOURCE_DIR}/pacote)
set(pacote_gerado ${CMAKE_BINARY_DIR}/pacote)
file(MAKE_DIRECTORY ${pacote_gerado}/links ${pacote_gerado}/man ${pacote_gerado}/doc)

# --- rezozur ---------------------------------------------------------------------------------------
install(TARGETS rezozur rezozur-cli RUNTIME DESTINATION ${REZOZUR_PASTA_PROGRAMA} COMPONENT rezozur)
# The modules are loaded from the program's folder: the HTTP client on the first exchange, the
# printers on the first print.
install(TARGETS rezozur_rede rezozur_impressora LIBRARY DESTINATION ${REZOZUR_PASTA_PROGRAMA}
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ COMPONENT rezozur)
install(FILES ${CMAKE_SOURCE_DIR}/data/kesta.html DESTINATION ${REZOZUR_PASTA_PROGRAMA} COMPONENT rezozur)
# The installation's settings: the programme's name on the report's cover (a user's own file is read over it).
install(FILES ${CMAKE_SOURCE_DIR}/data/rezozur.ini DESTINATION ${REZOZUR_PASTA_PROGRAMA} COMPONENT rezozur)
file(GLOB REZOZUR_TABELAS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/tabelas/*.txt)
install(FILES ${REZOZUR_TABELAS} DESTINATION ${REZOZUR_PASTA_PROGRAMA}/SYSTEM/tabelas COMPONENT rezozur)
foreach(programa rezozur rezozur-cli)
    file(CREATE_LINK ../${REZOZUR_PASTA_PROGRAMA}/${programa} ${pacote_gerado}/links/${programa} SYMBOLIC)
    install(FILES ${pacote_gerado}/links/${programa} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT rezozur)
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/data/rezozur.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT rezozur)
install(FILES ${CMAKE_SOURCE_DIR}/data/rezozur-projeto.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        COMPONENT rezozur)
install(FILES ${CMAKE_SOURCE_DIR}/data/br.org.kesta.rezozur.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT rezozur)
# Icons: the program's and the project file's, drawn once as SVG and kept as PNG at the usual sizes.
foreach(icone rezozur:apps application-x-rezozur-projeto:mimetypes)
    string(REPLACE ":" ";" partes ${icone})
    list(GET partes 0 nome)
    list(GET partes 1 contexto)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icones/${nome}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${contexto} COMPONENT rezozur)
    foreach(lado 16 22 24 32 48 64 128 256)
        install(FILES ${CMAKE_SOURCE_DIR}/data/icones/${lado}/${nome}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lado}x${lado}/${contexto} COMPONENT rezozur)
    endforeach()
endforeach()

# --- kesta-server ----------------------------------------------------------------------------------
install(TARGETS kesta-server RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT servidor)
install(FILES ${pacote_fonte}/kesta-server.service DESTINATION /lib/systemd/system COMPONENT servidor)
install(FILES ${pacote_fonte}/kesta-server.default DESTINATION /etc/default RENAME kesta-server
        COMPONENT servidor)

# --- manual pages, copyright and changelog, compressed as Debian wants them -------------------------
find_program(REZOZUR_GZIP gzip REQUIRED)
function(rezozur_comprime origem destino)
    add_custom_command(OUTPUT ${destino} COMMAND ${REZOZUR_GZIP} -9nc ${origem} > ${destino}
                       DEPENDS ${origem} VERBATIM)
endfunction()
set(REZOZUR_MANTENEDOR "Equipe do REZOZUR <rezozur@example.org>")
set(REZOZUR_DATA_PACOTE "Tue, 08 Dec 2026 12:00:00 +0000")
set(comprimidos)
foreach(pagina rezozur:rezozur rezozur-cli:rezozur kesta-server:servidor)
    string(REPLACE ":" ";" partes ${pagina})
    list(GET partes 0 nome)
    list(GET partes 1 componente)
    rezozur_comprime(${pacote_fonte}/man/${nome}.1 ${pacote_gerado}/man/${nome}.1.gz)
    list(APPEND comprimidos ${pacote_gerado}/man/${nome}.1.gz)
    install(FILES ${pacote_gerado}/man/${nome}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ${componente})
endforeach()
foreach(componente rezozur servidor)
    set(REZOZUR_NOME_PACOTE ${componente})
    if(componente STREQUAL servidor)
        set(REZOZUR_NOME_PACOTE kesta-server)
    endif()
    configure_file(${pacote_fonte}/changelog.in ${pacote_gerado}/doc/changelog.${componente} @ONLY)
    rezozur_comprime(${pacote_gerado}/doc/changelog.${componente} ${pacote_gerado}/doc/changelog.Debian.${componente}.gz)
    list(APPEND comprimidos ${pacote_gerado}/doc/changelog.Debian.${componente}.gz)
    install(FILES ${pacote_gerado}/doc/changelog.Debian.${componente}.gz RENAME changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${REZOZUR_NOME_PACOTE} COMPONENT ${componente})
    install(FILES ${pacote_fonte}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${REZOZUR_NOME_PACOTE}
            COMPONENT ${componente})
endforeach()
add_custom_target(rezozur_pacote_docs ALL DEPENDS ${comprimidos})

# --- the packages ----------------------------------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rezozur)
set(CPACK_PACKAGE_VENDOR "Programa KESTA")
set(CPACK_PACKAGE_CONTACT ${REZOZUR_MANTENEDOR})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL rezozur servidor)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${REZOZUR_REVISAO_PACOTE})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# What the binaries do not name but the program loads by name at run time: libzip (dlopen of the
# soname the build found), Qt's own Portuguese texts; the spelling dictionary is welcome, not needed.
set(REZOZUR_PACOTE_LIBZIP libzip4)
if(DEFINED REZOZUR_BIBLIOTECA_ZIP)
    execute_process(COMMAND dpkg-query -S ${REZOZUR_BIBLIOTECA_ZIP} OUTPUT_VARIABLE dono ERROR_QUIET
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(dono MATCHES "^([a-z0-9.+-]+)(:[a-z0-9]+)?: ")
        set(REZOZUR_PACOTE_LIBZIP ${CMAKE_MATCH_1})
    endif()
endif()
set(CPACK_DEBIAN_REZOZUR_PACKAGE_NAME rezozur)
set(CPACK_DEBIAN_REZOZUR_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_REZOZUR_PACKAGE_DEPENDS "${REZOZUR_PACOTE_LIBZIP}, qt6-translations-l10n")
set(CPACK_DEBIAN_REZOZUR_PACKAGE_RECOMMENDS "hunspell-pt-br")
set(CPACK_COMPONENT_REZOZUR_DESCRIPTION
    "Relatório de projeto do KESTA, preparado off-line (REZOZUR Eva-Rudo)\n\
Com o REZOZUR Eva-Rudo o coordenador de um projeto apoiado pelo KESTA carrega o\n\
projeto do servidor do programa, edita o relatório sem conexão, guarda-o num\n\
arquivo de projeto (.prj), verifica pendências, imprime e envia as alterações\n\
de volta ao servidor. Inclui a ferramenta de linha de comando rezozur-cli.")

set(CPACK_DEBIAN_SERVIDOR_PACKAGE_NAME kesta-server)
set(CPACK_DEBIAN_SERVIDOR_PACKAGE_SECTION net)
# Qt's SQLite driver is a plugin, loaded by name; adduser makes the service's own user.
set(CPACK_DEBIAN_SERVIDOR_PACKAGE_DEPENDS "libqt6sql6-sqlite, adduser")
set(CPACK_DEBIAN_SERVIDOR_PACKAGE_CONTROL_EXTRA
    ${pacote_fonte}/kesta-server/conffiles ${pacote_fonte}/kesta-server/postinst ${pacote_fonte}/kesta-server/prerm
    ${pacote_fonte}/kesta-server/postrm)
set(CPACK_COMPONENT_SERVIDOR_DESCRIPTION
    "Servidor de referência do KESTA para o REZOZUR Eva-Rudo\n\
Servidor HTTP com banco SQLite que atende os procedimentos do programa KESTA\n\
usados pelo REZOZUR Eva-Rudo: entrada, carga e envio de projetos e consultas\n\
aos cadastros. Serve a demonstrações, testes e instalações próprias. Traz uma\n\
unidade do systemd, kesta-server.service, que não é habilitada na instalação.")

include(CPack)
