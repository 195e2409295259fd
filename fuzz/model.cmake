# Fuzz targets of the JSON parser and the project reader. The robustness test of the model
# layer drives the same entry points (fuzz_targets.h).
if(VESK_FUZZ)
  foreach(target fuzz_jsonparser fuzz_resource)
    add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
    target_link_libraries(${target} PRIVATE vesk_core)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()
if(TARGET test_robustness)
  target_include_directories(test_robustness PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
