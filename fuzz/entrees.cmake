# The properties the fuzz targets check, as a library: the libFuzzer mains call
# it, and so does the test that replays the inputs kept in fuzz/regressions/.
# SLI.CFG's unit is taken alone, without the rest of the presentation folder.
add_library(vista_fuzz_entrees STATIC ${CMAKE_CURRENT_LIST_DIR}/entrees.cpp
            ${PROJECT_SOURCE_DIR}/presentation/config_sli.cpp)
target_include_directories(vista_fuzz_entrees PUBLIC ${CMAKE_CURRENT_LIST_DIR}
                           PRIVATE ${PROJECT_SOURCE_DIR}/presentation)
target_link_libraries(vista_fuzz_entrees PUBLIC skyimage vista_systeme)
