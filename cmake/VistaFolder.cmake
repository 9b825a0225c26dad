# A folder's units as one static library (an interface library while it has no sources yet).
#   vista_folder_library(name [deps...] [PUBLIC deps...] [PRIVATE deps...]
#                        [SOURCES extra...] [PROGRAM files...])
# Bare dependencies are public. SOURCES adds files beside the folder's own *.cpp
# (resources); PROGRAM names the folder's program (and module) entries, left out of the library.
function(vista_folder_library name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;PUBLIC;PRIVATE;PROGRAM")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(entree ${ARG_PROGRAM})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${entree})
  endforeach()
  list(APPEND sources ${ARG_SOURCES})
  if(sources)
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_UNPARSED_ARGUMENTS} ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_UNPARSED_ARGUMENTS} ${ARG_PUBLIC})
  endif()
endfunction()
