# Layout of generated dialogs: ComputeLayout and the box style against the reference layout.
add_executable(bench_layout ${CMAKE_CURRENT_LIST_DIR}/bench_layout.cpp
  ${CMAKE_SOURCE_DIR}/tests/objects/referencelayout.cpp)
target_include_directories(bench_layout PRIVATE ${CMAKE_SOURCE_DIR}/tests/objects)
target_link_libraries(bench_layout PRIVATE vesk_core benchmark::benchmark benchmark::benchmark_main)
