# Fails when a source file includes a header of a folder above its own.
#   cmake -DROOT=<source tree> -P CheckLayers.cmake
# Headers are included by bare name, so each name must belong to one folder only.
# A folder may include its own headers and those of folders of a lower rank;
# folders of the same rank (the base and the imaging library) know nothing of each other.
# Outside imaging/ only the library's public types (sky.h) may be included: the
# rest of the library is reached through the image file operations of imaging/.
set(layers
  systeme 0  imaging/library 0  launcher 0
  imaging/library/convert 1  imaging/logic 1
  imaging 2  components 3  tools 4  presentation 5  video 6  decor 6  app 7  assets/generateur 8)

cmake_policy(VERSION 3.16)
set(public_library sky.h)

set(ranks)
set(folders)
list(LENGTH layers count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 2)
  math(EXPR j "${i} + 1")
  list(GET layers ${i} folder)
  list(GET layers ${j} rank)
  list(APPEND folders ${folder})
  set(rank_${folder} ${rank})
endforeach()

set(problems)
foreach(folder ${folders})
  file(GLOB headers ${ROOT}/${folder}/*.h)
  foreach(header ${headers})
    get_filename_component(name ${header} NAME)
    if(DEFINED home_${name})
      list(APPEND problems "${name} is in both ${home_${name}}/ and ${folder}/")
    endif()
    set(home_${name} ${folder})
  endforeach()
endforeach()

foreach(folder ${folders})
  file(GLOB sources ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" included "${line}")
      get_filename_component(name "${included}" NAME)
      if(NOT DEFINED home_${name} OR home_${name} STREQUAL folder)
        continue()
      endif()
      set(target ${home_${name}})
      if(target STREQUAL "imaging/library" AND NOT folder MATCHES "^imaging(/|$)" AND NOT name IN_LIST public_library)
        file(RELATIVE_PATH shown ${ROOT} ${source})
        list(APPEND problems "${shown} includes ${name} of the imaging library: outside imaging/ only ${public_library} may be")
      elseif(NOT rank_${target} LESS rank_${folder})
        file(RELATIVE_PATH shown ${ROOT} ${source})
        list(APPEND problems "${shown} includes ${name} from ${target}/, which is not below ${folder}/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Includes that run upward or sideways, or past imaging/ into its library:\n  ${text}")
endif()
message(STATUS "Every include runs downward")
