# A program run from the build tree finds the files that ship with it as an installed one
# does: in ../share/tarnwick beside its own folder. The programs and tests are built one
# folder below src/, tests/ and bench/, so each of these gets a share/tarnwick that links
# the source tree's data folder. Nothing of this is compiled into a program.
include(GNUInstallDirs)
foreach(_dir src tests bench)
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/${_dir}/${CMAKE_INSTALL_DATADIR})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/data
       ${PROJECT_BINARY_DIR}/${_dir}/${CMAKE_INSTALL_DATADIR}/tarnwick SYMBOLIC)
endforeach()
