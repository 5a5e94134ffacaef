# CGAL (Debian's libcgal-dev, header-only), an optional peer for the Doo-Sabin benchmark:
# defines the target CGAL::CGAL when its package configuration is found. scripts/bench.sh
# installs the package when it is missing; the build and the tests never need it.
if(NOT TARGET CGAL::CGAL)
  find_package(CGAL QUIET)
endif()
