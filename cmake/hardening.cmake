# Debian's hardening flags, taken from dpkg-buildflags as a Debian package build would:
# stack protector, fortified C library calls (_FORTIFY_SOURCE), read-only relocations bound
# at start (relro, bind-now). Optimisation and debug information stay with the build type;
# dpkg-buildflags' file prefix map is left out too: it names the folder of each tree, so no two
# worktrees would share a compiler cache entry. The package's programs are stripped, and
# assertions are off outside Debug builds, so no file name of the build reaches them anyway.
# Only for the optimised build types (_FORTIFY_SOURCE needs optimisation: without it glibc
# warns in every file, an error with TARNWICK_WERROR), not the sanitizer and fuzz builds.
option(TARNWICK_HARDENING "Use the hardening flags of dpkg-buildflags" ON)
set(TARNWICK_HARDENED OFF) # whether this build's programs get them (the package test asks)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(TARNWICK_HARDENING AND DPKG_BUILDFLAGS AND NOT TARNWICK_SANITIZE AND NOT TARNWICK_FUZZ
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  set(TARNWICK_HARDENED ON)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(_flags UNIX_COMMAND "${_flags}")
    list(FILTER _flags EXCLUDE REGEX "^(-g|-O.*|-ffile-prefix-map=.*|-fdebug-prefix-map=.*)$")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${_flags})
    else()
      add_compile_options(${_flags})
    endif()
  endforeach()
endif()

