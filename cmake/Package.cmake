# The Debian package: cpack -G DEB in the build folder makes
# vardella_<version>_<arch>.deb from the installation rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vardella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Vardella")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Conti correnti della scuola e contributi delle famiglie (school accounts, fees)")
set(CPACK_PACKAGING_INSTALL_PREFIX /)
set(CPACK_STRIP_FILES ON)
set(VARDELLA_PACKAGE_MAINTAINER "Vardella <vardella@example.org>" CACHE STRING "Maintainer of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VARDELLA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary above is its first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "La segreteria amministrativa di una scuola tiene con Vardella i conti
correnti (posta, banca, cassa) e i contributi delle famiglie: causali,
coordinate bancarie e rate degli alunni, il file delle richieste di addebito
SEPA per la banca, il libro di cassa, le stampe.

The administrative office of a school keeps its current accounts (post
office, bank, cash) and the fees families pay: fee reasons, pupils' bank
coordinates and instalments, the SEPA direct-debit file, the cash book,
reports. Firebird 3 database, embedded or on a server.")
# Shared libraries found by dpkg-shlibdeps; what is loaded at run time is
# named: the Firebird driver of Qt, the embedded engine, the fonts of prints.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-ibase, firebird3.0-server-core, libfbclient2, fonts-dejavu-core")
# The connection settings are the administrator's: kept across upgrades.
file(WRITE ${CMAKE_BINARY_DIR}/debian/conffiles "/opt/vardella/etc/Vardella.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian/conffiles)
include(CPack)
