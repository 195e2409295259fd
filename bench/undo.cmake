# Recording undo steps on large dialogs.
add_executable(bench_undo ${CMAKE_CURRENT_LIST_DIR}/bench_undo.cpp)
target_include_directories(bench_undo PRIVATE ${CMAKE_SOURCE_DIR}/tests/objects)
target_link_libraries(bench_undo PRIVATE vesk_core benchmark::benchmark benchmark::benchmark_main)
