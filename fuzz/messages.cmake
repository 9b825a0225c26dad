# The scrolling-message file parsers.
add_executable(fuzz_messages ${CMAKE_CURRENT_LIST_DIR}/messages.cpp)
target_compile_options(fuzz_messages PRIVATE -fsanitize=fuzzer ${VISTA_FUZZ_SANITIZERS})
target_link_options(fuzz_messages PRIVATE -fsanitize=fuzzer ${VISTA_FUZZ_SANITIZERS})
target_link_libraries(fuzz_messages PRIVATE vista_imaging_logic)
