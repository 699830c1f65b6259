# Fails, naming the file and the include (or the linked library), when a folder of src/
# includes from or links to a folder it may not depend on. Dependencies point downward:
#   records <- hostfw <- workspace <- families and dialogs <- module
# with the client on records, the server on records only, the host on hostfw and the
# client, and the command line on the workspace, the families and the client. Nothing
# includes the host, the command line or the server's internals.
# Run as: cmake -DSRC=<source dir>/src -P check_layers.cmake

cmake_minimum_required(VERSION 3.25)

set(families anthropometry energy recommendation dialogs report)

set(allowed_records "")
set(allowed_hostfw records)
set(allowed_client records)
set(allowed_workspace hostfw records)
foreach(family IN LISTS families)
  set(allowed_${family} workspace hostfw records)
endforeach()
# A family may use another family's routine only where listed here: the energy
# methods take the anthropometric routines (weights, body mass index).
list(APPEND allowed_energy anthropometry)
# The nutrient recommendation takes the ideal weight of the method chosen on its page.
list(APPEND allowed_recommendation anthropometry)
set(allowed_module ${families} workspace hostfw records client)
set(allowed_server records)
set(allowed_host hostfw client records)
set(allowed_cli workspace ${families} client hostfw records)
set(layers records hostfw client workspace ${families} module server host cli)

# The folder a path under src/ belongs to.
function(layer_of path out)
  if(path MATCHES "^([a-z_]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
list(SORT sources)
set(violations "")
foreach(source IN LISTS sources)
  layer_of(${source} from)
  if(NOT from IN_LIST layers)
    string(APPEND violations "\n  ${source}: folder '${from}' has no place in the layer rule")
    continue()
  endif()
  file(STRINGS ${SRC}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][a-z_]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" target "${line}")
    layer_of(${target} to)
    if(NOT to IN_LIST layers OR to STREQUAL from OR to IN_LIST allowed_${from})
      continue()
    endif()
    string(APPEND violations "\n  ${source}: includes \"${target}\" (${from} may not depend on ${to})")
  endforeach()
endforeach()

# The libraries each folder's CMakeLists.txt links: a target belongs to the folder that
# declares it.
file(GLOB_RECURSE lists RELATIVE ${SRC} ${SRC}/*/CMakeLists.txt)
foreach(list IN LISTS lists)
  layer_of(${list} from)
  file(READ ${SRC}/${list} text)
  string(REGEX MATCHALL "add_(library|executable)\\([A-Za-z0-9_-]+" declared "${text}")
  foreach(d IN LISTS declared)
    string(REGEX REPLACE ".*\\(" "" target "${d}")
    set(folder_of_${target} ${from})
  endforeach()
endforeach()
foreach(list IN LISTS lists)
  layer_of(${list} from)
  file(READ ${SRC}/${list} text)
  string(REGEX MATCHALL "target_link_libraries\\([^)]*\\)" links "${text}")
  foreach(link IN LISTS links)
    string(REGEX MATCHALL "[A-Za-z0-9_-]+" words "${link}")
    list(POP_FRONT words)  # target_link_libraries
    list(POP_FRONT words linking)
    foreach(word IN LISTS words)
      set(to "${folder_of_${word}}")
      if(to STREQUAL "" OR to STREQUAL from OR to IN_LIST allowed_${from})
        continue()
      endif()
      string(APPEND violations "\n  ${list}: ${linking} links ${word} (${from} may not depend on ${to})")
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Dependencies that point against the layers:${violations}")
endif()
