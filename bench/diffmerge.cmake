# Diff and three-way merge of the large generated project, in the core and as veskres runs them.
add_executable(bench_diffmerge ${CMAKE_CURRENT_LIST_DIR}/bench_diffmerge.cpp)
target_link_libraries(bench_diffmerge PRIVATE benchmark::benchmark benchmark::benchmark_main veskcli)
