# File transfers by GETFILE and HTTP over loopback beside a raw TCP send loop, and many small HTTP GETs.
add_executable(bench_link ${CMAKE_CURRENT_LIST_DIR}/bench_link.cpp)
target_link_libraries(bench_link PRIVATE benchmark::benchmark vesk_link)
