// Peak heap memory of loading the generated project, against the size of its file: every
// allocation of the process is counted while the file is read, parsed, built and freed.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "benchproject.h"
#include "model/savefile.h"

namespace {

size_t g_live = 0;
size_t g_peak = 0;
bool g_counting = false;

/// Counts a block just allocated (nullptr: out of memory) and answers it.
void* Counted(void* block)
{
    if (!block)
        throw std::bad_alloc();
    if (g_counting) {
        g_live += malloc_usable_size(block);
        g_peak = std::max(g_peak, g_live);
    }
    return block;
}

} // namespace

void* operator new(size_t size)
{
    return Counted(std::malloc(size));
}

void operator delete(void* block) noexcept
{
    if (block && g_counting)
        g_live -= std::min(g_live, malloc_usable_size(block));
    std::free(block);
}

void operator delete(void* block, size_t) noexcept
{
    operator delete(block);
}

void* operator new(size_t size, std::align_val_t align)
{
    const auto alignment = static_cast<size_t>(align);
    return Counted(std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment));
}

void operator delete(void* block, std::align_val_t) noexcept
{
    operator delete(block);
}

void operator delete(void* block, size_t, std::align_val_t) noexcept
{
    operator delete(block);
}

namespace {

void LoadProjectPeakMemory(benchmark::State& state)
{
    const std::string text = vesk::bench::ProjectText();
    const std::string path = "/tmp/vesk-bench-memory-" + std::to_string(::getpid()) + ".veskspro";
    if (!vesk::WriteFileAtomically(path, text)) {
        state.SkipWithError("the project cannot be written");
        return;
    }
    size_t peak = 0;
    size_t kept = 0;
    for (auto _ : state) {
        g_live = 0;
        g_peak = 0;
        g_counting = true;
        {
            vesk::CTekResourceData resource;
            if (!vesk::LoadResourceFile(resource, path)) {
                g_counting = false;
                state.SkipWithError("the project does not load");
                break;
            }
            kept = g_live;
        }
        g_counting = false;
        peak = g_peak;
    }
    std::remove(path.c_str());
    const double file = static_cast<double>(text.size());
    state.counters["file_MB"] = file / 1e6;
    state.counters["peak_MB"] = static_cast<double>(peak) / 1e6;
    state.counters["model_MB"] = static_cast<double>(kept) / 1e6;
    state.counters["peak_per_file_byte"] = static_cast<double>(peak) / file;
}

} // namespace

BENCHMARK(LoadProjectPeakMemory)->Iterations(3)->Unit(benchmark::kMillisecond);
