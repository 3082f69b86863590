# The Octave package kelvara-VERSION.tar.gz (target octave_package, built
# with everything) and the test that installs it into a temporary prefix.
#
# Every module registered with kelvara_module() goes into the package with
# the sources, definitions and options of its Octave target, so the package
# builds exactly what this build builds.

set(KELVARA_PACKAGE ${CMAKE_BINARY_DIR}/kelvara-${PROJECT_VERSION}.tar.gz)
set(pkg_manifest ${CMAKE_BINARY_DIR}/package/modules.txt)

# One line per module: name|sources|definitions|options, each list joined by
# ',', evaluated once the targets are complete.
get_property(pkg_modules GLOBAL PROPERTY KELVARA_MODULES)
set(pkg_lines "")
set(pkg_sources "")
foreach(m ${pkg_modules})
  set(t ${m}_octave)
  string(APPEND pkg_lines "${m}|$<JOIN:$<TARGET_PROPERTY:${t},SOURCES>,$<COMMA>>|"
         "$<JOIN:$<TARGET_PROPERTY:${t},COMPILE_DEFINITIONS>,$<COMMA>>|"
         "$<JOIN:$<TARGET_PROPERTY:${t},COMPILE_OPTIONS>,$<COMMA>>\n")
  get_target_property(s ${t} SOURCES)
  list(APPEND pkg_sources ${s})
endforeach()
file(GENERATE OUTPUT ${pkg_manifest} CONTENT "${pkg_lines}")

file(GLOB pkg_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/host/*.h
     ${PROJECT_SOURCE_DIR}/*/*.h)
file(GLOB pkg_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/toolbox/*.m
     ${PROJECT_SOURCE_DIR}/package/*)
add_custom_command(
  OUTPUT ${KELVARA_PACKAGE}
  COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DMANIFEST=${pkg_manifest}
          -DVERSION=${PROJECT_VERSION} -DSTAGE=${CMAKE_BINARY_DIR}/package
          -DOUT=${KELVARA_PACKAGE} -P ${PROJECT_SOURCE_DIR}/package/make_package.cmake
  DEPENDS ${pkg_manifest} ${pkg_sources} ${pkg_headers} ${pkg_files}
  COMMENT "Octave package kelvara-${PROJECT_VERSION}.tar.gz")
add_custom_target(octave_package ALL DEPENDS ${KELVARA_PACKAGE})

add_test(NAME octave_package
         COMMAND ${OCTAVE_CLI} --norc --no-history --no-window-system
                 ${PROJECT_SOURCE_DIR}/tests/package/check_package.m ${KELVARA_PACKAGE}
                 ${KELVARA_TOOLBOX_DIR})
