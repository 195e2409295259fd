# Fuzz target of the paste, which takes any text from the clipboard into the project. The paste
# robustness test of the document layer drives the same entry point (document_targets.h).
if(VESK_FUZZ)
  add_executable(fuzz_paste ${CMAKE_CURRENT_LIST_DIR}/fuzz_paste.cpp)
  target_link_libraries(fuzz_paste PRIVATE vesk_document)
  target_link_options(fuzz_paste PRIVATE -fsanitize=fuzzer)
endif()
if(TARGET test_pasterobustness)
  target_include_directories(test_pasterobustness PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
