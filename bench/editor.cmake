# The editor's windows on large projects: opening, painting, selecting, committing, undoing,
# grouping, and live push to a simulated terminal (offscreen).
if(TARGET vesk_editor)
  add_executable(bench_editor ${CMAKE_CURRENT_LIST_DIR}/bench_editor.cpp)
  target_link_libraries(bench_editor PRIVATE benchmark::benchmark vesk_shell Qt6::Test)
  target_compile_definitions(bench_editor PRIVATE VESK_RUNTIME_DIR="${VESK_RUNTIME_DIR}")
  add_dependencies(bench_editor vesk_data)
endif()
