# Install rules: the programs and tools in bin/, the sample models, curves and controls file in
# share/revolva-subdivo/ (where the desktop entries start the programs), manual pages, desktop
# entries, icons and the package's documents; then the Debian package's settings.
include(GNUInstallDirs)

set(REVOLVA_DATA_FOLDER ${CMAKE_INSTALL_DATADIR}/revolva-subdivo)
set(REVOLVA_DOC_FOLDER ${CMAKE_INSTALL_DATADIR}/doc/revolva-subdivo)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS Revolva Subdivo subdivo-export revolva-export
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Both programs read their files from the folder they start in, so the samples lie together.
file(GLOB sample_models ${PROJECT_SOURCE_DIR}/models/*.obj)
file(GLOB sample_curves ${PROJECT_SOURCE_DIR}/curves/*.curve)
install(FILES ${sample_models} ${sample_curves} ${PROJECT_SOURCE_DIR}/revolution/controles.txt
        DESTINATION ${REVOLVA_DATA_FOLDER})

install(FILES ${packaging}/icons/revolva.png ${packaging}/icons/subdivo.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps)

# The package's owner, as Debian tools take it: DEBFULLNAME/DEBEMAIL when set, else the
# project's contributors under the address this checkout commits with.
if(NOT REVOLVA_PACKAGE_MAINTAINER)
  set(maintainer_name "Colaboradores do projeto")
  if(DEFINED ENV{DEBFULLNAME})
    set(maintainer_name "$ENV{DEBFULLNAME}")
  endif()
  set(maintainer_address "$ENV{DEBEMAIL}")
  if(NOT maintainer_address)
    execute_process(COMMAND git config user.email WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE maintainer_address OUTPUT_STRIP_TRAILING_WHITESPACE
                    ERROR_QUIET)
  endif()
  set(REVOLVA_PACKAGE_MAINTAINER "${maintainer_name} <${maintainer_address}>")
endif()
set(REVOLVA_PACKAGE_MAINTAINER "${REVOLVA_PACKAGE_MAINTAINER}" CACHE STRING
    "Maintainer of the Debian package: Name <address>")

# Manual pages and the changelog, compressed as Debian wants them (gzip -9n: no name, no time).
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(VERSION ${PROJECT_VERSION})
set(compressed)
foreach(page Revolva.1 Subdivo.1 subdivo-export.1 revolva-export.1)
  configure_file(${packaging}/man/${page} ${generated}/${page} @ONLY)
  list(APPEND compressed ${page})
endforeach()
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
list(APPEND compressed changelog)
set(compressed_outputs)
foreach(name ${compressed})
  add_custom_command(OUTPUT ${generated}/${name}.gz
                     COMMAND gzip -9n -c ${name} > ${name}.gz
                     DEPENDS ${generated}/${name} WORKING_DIRECTORY ${generated} VERBATIM)
  list(APPEND compressed_outputs ${generated}/${name}.gz)
endforeach()
add_custom_target(compressed_documents ALL DEPENDS ${compressed_outputs})
install(FILES ${generated}/Revolva.1.gz ${generated}/Subdivo.1.gz ${generated}/subdivo-export.1.gz
              ${generated}/revolva-export.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging}/copyright ${generated}/changelog.gz DESTINATION ${REVOLVA_DOC_FOLDER})

# The desktop entries name the installed program and its data folder by absolute path, which
# is known only when installing (cmake --install --prefix may change it): written then.
foreach(program Revolva Subdivo)
  string(TOLOWER ${program} entry)
  install(CODE "
    set(binary \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
    set(data_folder \"\${CMAKE_INSTALL_PREFIX}/${REVOLVA_DATA_FOLDER}\")
    file(READ \"${packaging}/${entry}.desktop.in\" text)
    string(REPLACE \"@BINARY@\" \"\${binary}\" text \"\${text}\")
    string(REPLACE \"@DATA_FOLDER@\" \"\${data_folder}\" text \"\${text}\")
    set(destination
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\")
    message(STATUS \"Installing: \${destination}/${entry}.desktop\")
    file(WRITE \"\${destination}/${entry}.desktop\" \"\${text}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${destination}/${entry}.desktop\")
  ")
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
