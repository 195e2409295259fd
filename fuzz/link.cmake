# Fuzz targets of the terminal link's byte scanners (command frames, HTTP lines). The scanner
# robustness test of the link layer drives the same entry points (link_targets.h).
if(VESK_FUZZ)
  foreach(target fuzz_frames fuzz_http)
    add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
    target_link_libraries(${target} PRIVATE vesk_link)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  endforeach()
endif()
if(TARGET test_scannerrobustness)
  target_include_directories(test_scannerrobustness PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()
