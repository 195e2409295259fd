# The device look of a dialog of 2,000 objects, half of them with pictures: painting it, a zoom
# step, and how often its pictures are decoded (offscreen).
add_executable(bench_preview ${CMAKE_CURRENT_LIST_DIR}/bench_preview.cpp)
target_link_libraries(bench_preview PRIVATE vesk_render benchmark::benchmark)
