# Installation and the Debian package: the programs, the dictionary component
# in a folder of its own, desktop entries, file types, icons, manual pages and
# shell completion. Included at the end of the root CMakeLists.txt, once every
# program target exists; tests, benchmarks, fuzzers and examples' build
# products install nothing.
#
#   cmake --install build --prefix /opt/ulk      (or DESTDIR=... cmake --install build)
#   scripts/package                              (the .deb, through cpack -G DEB)

set(ULK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ULK_PRIVATE_LIBDIR lib/ulk)

# The programs look for libtermvault.so beside themselves, which holds in the
# build folder (bin/). Installed, the component lives in a private folder
# that no other program searches; the programs' run path names it relative to
# themselves, so dlopen of the bare name finds it under any prefix.
# The build folder's programs carry the same run path (the folder it names
# does not exist there): else the build leaves room for it as empty entries,
# which the loader takes as the current folder and searches for every library.
set_target_properties(ulk ulk-cli PROPERTIES INSTALL_RPATH "$ORIGIN/../${ULK_PRIVATE_LIBDIR}"
  BUILD_WITH_INSTALL_RPATH ON)

install(TARGETS ulk ulk-cli RUNTIME DESTINATION bin)
install(TARGETS termvault LIBRARY DESTINATION ${ULK_PRIVATE_LIBDIR})

# Manual pages go in compressed (as Debian wants them), without a time stamp
# so that two builds give the same bytes.
find_program(ULK_GZIP gzip REQUIRED)
set(ULK_MAN_PAGES ulk ulk-cli)
set(ULK_DESKTOP_ENTRIES ulk)
set(ULK_APP_ICONS ulk)
if(TARGET glossmith)
  install(TARGETS glossmith RUNTIME DESTINATION bin)
  list(APPEND ULK_MAN_PAGES glossmith)
  list(APPEND ULK_DESKTOP_ENTRIES glossmith)
  list(APPEND ULK_APP_ICONS glossmith)
endif()

set(ULK_PACKAGING_BINARY_DIR ${PROJECT_BINARY_DIR}/packaging)
set(ulk_compressed)
foreach(page ${ULK_MAN_PAGES})
  set(gz ${ULK_PACKAGING_BINARY_DIR}/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ULK_PACKAGING_BINARY_DIR}
    COMMAND ${ULK_GZIP} -9 -n -c ${ULK_PACKAGING_DIR}/man/${page}.1 > ${gz}
    DEPENDS ${ULK_PACKAGING_DIR}/man/${page}.1
    VERBATIM)
  list(APPEND ulk_compressed ${gz})
  install(FILES ${gz} DESTINATION share/man/man1)
endforeach()

# The package's changelog must name the version being built.
file(STRINGS ${ULK_PACKAGING_DIR}/changelog ulk_changelog_head LIMIT_COUNT 1)
if(NOT ulk_changelog_head MATCHES "^ulk \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR
    "packaging/changelog starts with \"${ulk_changelog_head}\": it needs an entry for ${PROJECT_VERSION}")
endif()
set(gz ${ULK_PACKAGING_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ULK_PACKAGING_BINARY_DIR}
  COMMAND ${ULK_GZIP} -9 -n -c ${ULK_PACKAGING_DIR}/changelog > ${gz}
  DEPENDS ${ULK_PACKAGING_DIR}/changelog
  VERBATIM)
list(APPEND ulk_compressed ${gz})
add_custom_target(ulk_packaging_files ALL DEPENDS ${ulk_compressed})
install(FILES ${gz} ${ULK_PACKAGING_DIR}/copyright DESTINATION share/doc/ulk)

foreach(entry ${ULK_DESKTOP_ENTRIES})
  install(FILES ${ULK_PACKAGING_DIR}/${entry}.desktop DESTINATION share/applications)
endforeach()
foreach(icon ${ULK_APP_ICONS})
  install(FILES ${ULK_PACKAGING_DIR}/icons/${icon}.svg DESTINATION share/icons/hicolor/scalable/apps)
endforeach()
install(FILES ${ULK_PACKAGING_DIR}/icons/application-x-ulk-project.svg
              ${ULK_PACKAGING_DIR}/icons/application-x-ulk-dictionary.svg
        DESTINATION share/icons/hicolor/scalable/mimetypes)
install(FILES ${ULK_PACKAGING_DIR}/ulk-mime.xml DESTINATION share/mime/packages RENAME ulk.xml)
install(FILES ${ULK_PACKAGING_DIR}/completion/ulk-cli DESTINATION share/bash-completion/completions)

# The bundled example, to try the programs on: its project and, when mingw
# built them, its two modules.
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo/demo.ulk ${PROJECT_SOURCE_DIR}/examples/demo/demo.rc
        DESTINATION share/doc/ulk/examples)
if(TARGET demo_example)
  install(FILES ${PROJECT_BINARY_DIR}/examples/demo/demo32.dll ${PROJECT_BINARY_DIR}/examples/demo/demo64.dll
          DESTINATION share/doc/ulk/examples)
endif()

# The Debian package. Its library dependencies are computed from the
# installed binaries by dpkg-shlibdeps; the Spanish texts of the toolkit's
# own dialogs are data, which no binary links, so that one is named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ulk)
set(CPACK_PACKAGE_VENDOR Kelvanter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kelvanter <ulk@kelvanter.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "wx3.2-i18n")
# The translation checks measure texts in Liberation Sans; the texts of the
# scripts it has no letters for (Japanese, Chinese, Korean, Arabic, Hebrew,
# Thai, Devanagari...) are drawn and measured in the Noto fonts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-noto-core, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "translator of the user-interface resources of Windows modules
ULK reads the string tables, menus, dialogs and version resources of
Windows modules (PE32 and PE32+), keeps their texts side by side in the
original language and any number of target languages, and writes one
translated copy of each module per language. Its windows are in Spanish.
.
The package holds the translator ulk, the command-line tool ulk-cli for
scripts and build pipelines and the dictionary component they translate
with.")
if(TARGET glossmith)
  string(APPEND CPACK_DEBIAN_PACKAGE_DESCRIPTION
    " Dictionaries are kept with the administrator glossmith, also included.")
endif()

include(CPack)

if(ULK_BUILD_TESTS)
  add_subdirectory(tests/install)
endif()
