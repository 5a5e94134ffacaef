# OpenSubdiv's CPU library (Debian's libosd-dev), an optional reference for the tests and
# benchmarks of the Catmull-Clark and Loop steps. Found by its header and library rather than
# by its package configuration, which names a static library the package does not ship.
# Defines the target revolva_opensubdiv when both are there.
find_path(OPENSUBDIV_INCLUDE_DIR opensubdiv/far/topologyRefiner.h)
find_library(OPENSUBDIV_CPU_LIBRARY osdCPU)
if(OPENSUBDIV_INCLUDE_DIR AND OPENSUBDIV_CPU_LIBRARY AND NOT TARGET revolva_opensubdiv)
  add_library(revolva_opensubdiv INTERFACE)
  target_include_directories(revolva_opensubdiv SYSTEM INTERFACE ${OPENSUBDIV_INCLUDE_DIR})
  target_link_libraries(revolva_opensubdiv INTERFACE ${OPENSUBDIV_CPU_LIBRARY})
endif()
