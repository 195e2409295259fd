# Project load and save, and the parser beside RapidJSON and nlohmann::json on the same text.
find_package(nlohmann_json 3 REQUIRED)
find_path(RAPIDJSON_INCLUDE_DIR rapidjson/document.h REQUIRED)
add_executable(bench_model ${CMAKE_CURRENT_LIST_DIR}/bench_model.cpp)
target_include_directories(bench_model SYSTEM PRIVATE ${RAPIDJSON_INCLUDE_DIR})
target_link_libraries(bench_model PRIVATE benchmark::benchmark vesk_core nlohmann_json::nlohmann_json)

# Peak heap memory of a project load, by counting every allocation of the process.
add_executable(bench_model_memory ${CMAKE_CURRENT_LIST_DIR}/bench_model_memory.cpp)
target_link_libraries(bench_model_memory PRIVATE benchmark::benchmark benchmark::benchmark_main vesk_core)
