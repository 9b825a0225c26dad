# The scrolling-message file parsers, compiled from their sources without widgets.
add_executable(fuzz_messages ${CMAKE_CURRENT_LIST_DIR}/messages.cpp
               ${PROJECT_SOURCE_DIR}/imaging/messagefile.cpp
               ${PROJECT_SOURCE_DIR}/app/couleurs.cpp)
target_include_directories(fuzz_messages PRIVATE ${PROJECT_SOURCE_DIR}/imaging ${PROJECT_SOURCE_DIR}/app)
target_compile_options(fuzz_messages PRIVATE -fsanitize=fuzzer ${VISTA_FUZZ_SANITIZERS})
target_link_options(fuzz_messages PRIVATE -fsanitize=fuzzer ${VISTA_FUZZ_SANITIZERS})
target_link_libraries(fuzz_messages PRIVATE Qt6::Gui)
