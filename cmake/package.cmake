# The Debian package, built by CPack (scripts/package.sh): the programs and tools linked against
# the system's OpenGL, GLU and freeglut, whose packages dpkg-shlibdeps names as dependencies.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME revolva-subdivo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Colaboradores do projeto")
set(CPACK_PACKAGE_CONTACT "${REVOLVA_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${REVOLVA_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "surfaces of revolution and Doo-Sabin subdivision surfaces")
set(CPACK_PACKAGE_DESCRIPTION
"Two small interactive 3D-modelling programs for learning, teaching and
exploring curves, surfaces and subdivision, drawn with OpenGL.

Revolva models surfaces of revolution: in one window you shape a rational
Bezier curve of any degree; a second window shows, at once, the lit surface
that the curve sweeps about an axis.

Subdivo loads a polygon mesh from a Wavefront OBJ file and shows its
Doo-Sabin subdivision surfaces level by level, the faces coloured by kind.
subdivo-export writes any such level as an OBJ file for other programs;
revolva-export writes the surface of a saved curve as an OBJ file or as a
closed binary STL mesh for a 3D printer.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
# Installed under DESTDIR with the real prefix, so that the desktop entries name /usr paths.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Installing never builds: scripts/build.sh (or cmake --build) does, and CPack's check of every
# target before it installs took most of the packaging time.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
include(CPack)
