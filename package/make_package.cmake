cmake_minimum_required(VERSION 3.18)

# Writes the Octave package OUT (kelvara-VERSION.tar.gz) in Octave's package
# layout, staged under STAGE/kelvara:
#   DESCRIPTION, COPYING, INDEX (from toolbox/Contents.m), post_install.m
#   inst/   the help texts and front-end files of toolbox/
#   src/    the module sources and a Makefile building each module with
#           mkoctfile --mex, as listed in MANIFEST (see octave_package.cmake)
# Run as: cmake -DROOT=... -DMANIFEST=... -DVERSION=... -DSTAGE=... -DOUT=...
#         -P make_package.cmake

set(pkg ${STAGE}/kelvara)
file(REMOVE_RECURSE ${pkg})
file(MAKE_DIRECTORY ${pkg}/src ${pkg}/inst)

# src/: the shared headers, each module's sources with the headers beside
# them, and one rule per object so that modules sharing a source never share
# an object file.
file(GLOB host_headers ${ROOT}/host/*.h)
file(COPY ${host_headers} DESTINATION ${pkg}/src/host)
file(STRINGS ${MANIFEST} modules)
set(targets "")
set(rules "")
foreach(line ${modules})
  # name|sources|definitions|options, the lists inside joined by ','
  string(REPLACE "|" ";" fields "${line}")
  list(GET fields 0 name)
  foreach(v srcs defs opts)
    list(REMOVE_AT fields 0)
    list(GET fields 0 ${v})
    string(REPLACE "," ";" ${v} "${${v}}")
  endforeach()
  # definitions on mkoctfile's command line, compiler options through
  # CXXFLAGS, which mkoctfile passes on unparsed
  set(flags "")
  foreach(d ${defs})
    string(APPEND flags " -D${d}")
  endforeach()
  list(JOIN opts " " opts)
  set(objects "")
  foreach(s ${srcs})
    get_filename_component(s ${s} ABSOLUTE)   # without the .. of shared sources
    file(RELATIVE_PATH rel ${ROOT} ${s})
    get_filename_component(dir ${rel} DIRECTORY)
    get_filename_component(base ${rel} NAME_WE)
    file(COPY ${s} DESTINATION ${pkg}/src/${dir})
    file(GLOB headers ${ROOT}/${dir}/*.h)
    if(headers)
      file(COPY ${headers} DESTINATION ${pkg}/src/${dir})
    endif()
    set(obj obj/${name}/${dir}_${base}.o)
    string(APPEND rules "${obj}: ${rel}\n\t@mkdir -p obj/${name}\n"
           "\tCXXFLAGS=\"$(CXXFLAGS) ${opts}\" $(MKOCTFILE) -c -Ihost${flags} ${rel} -o $@\n\n")
    list(APPEND objects ${obj})
  endforeach()
  list(JOIN objects " " objects)
  string(APPEND rules "${name}.mex: ${objects}\n"
         "\t$(MKOCTFILE) --mex -Wl,-Bsymbolic -o $@ $^\n\n")
  list(APPEND targets ${name}.mex)
endforeach()
list(JOIN targets " " targets)
file(WRITE ${pkg}/src/Makefile
"# Builds every kelvara module with mkoctfile --mex (pkg install runs it).
# The graph modules need the Boost Graph Library headers; if they are not on
# the compiler's search path, set CPPFLAGS=-I/path/to/boost.
MKOCTFILE ?= mkoctfile
CXXFLAGS ?= $(shell $(MKOCTFILE) -p CXXFLAGS)

all: ${targets}

${rules}clean:
\trm -rf obj *.mex

.PHONY: all clean
")

# inst/: every M-file of the toolbox except the build script, which compiles
# from a source tree; Contents.m without its section on building.
file(GLOB mfiles ${ROOT}/toolbox/*.m)
list(FILTER mfiles EXCLUDE REGEX "/(kelvara_build|Contents)\\.m$")
file(COPY ${mfiles} DESTINATION ${pkg}/inst)
if(IS_DIRECTORY ${ROOT}/toolbox/private)
  file(COPY ${ROOT}/toolbox/private DESTINATION ${pkg}/inst)
endif()
file(READ ${ROOT}/toolbox/Contents.m contents)
string(REGEX REPLACE "\n%\n% Building\n.*$" "\n" contents "${contents}")
file(WRITE ${pkg}/inst/Contents.m "${contents}")

# INDEX: the categories and functions of Contents.m.
file(STRINGS ${pkg}/inst/Contents.m lines)
set(index "kelvara >> Multigrid for graph Laplacians and graph algorithms\n")
foreach(l ${lines})
  if(l MATCHES "^%   ([a-z_0-9]+) +- ")
    string(APPEND index " ${CMAKE_MATCH_1}\n")
  elseif(l MATCHES "^% ([A-Z][^:]*)$")
    string(APPEND index "${CMAKE_MATCH_1}\n")
  endif()
endforeach()
file(WRITE ${pkg}/INDEX "${index}")

string(TIMESTAMP today "%Y-%m-%d" UTC)
configure_file(${ROOT}/package/DESCRIPTION.in ${pkg}/DESCRIPTION @ONLY)
configure_file(${ROOT}/package/COPYING ${pkg}/COPYING COPYONLY)
configure_file(${ROOT}/package/post_install.m ${pkg}/post_install.m COPYONLY)

file(REMOVE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar czf ${OUT} kelvara
                WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not write ${OUT}")
endif()
