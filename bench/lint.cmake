# The project checks on the large generated project, in the core and as veskres lint runs them.
add_executable(bench_lint ${CMAKE_CURRENT_LIST_DIR}/bench_lint.cpp)
target_link_libraries(bench_lint PRIVATE benchmark::benchmark benchmark::benchmark_main veskcli)
