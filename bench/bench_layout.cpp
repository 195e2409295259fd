// Layout speed. The reference layout measures the same subtrees again and again; the fast one
// must give the same rectangles far sooner.
#include <benchmark/benchmark.h>

#include "dialogbuilder.h"
#include "objects/layout.h"

namespace {

using vesk::DeviceSize;
using vesk::NullSurface;

constexpr int kNestedDepth = 14;
constexpr int kWideObjects = 10000;

void BM_NestedReference(benchmark::State& state)
{
    auto dialog = vesk::test::MakeNestedDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::LayOutDialogReference(*dialog, DeviceSize{}, surface, 480, 800);
}

void BM_NestedFast(benchmark::State& state)
{
    auto dialog = vesk::test::MakeNestedDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::LayOutDialog(*dialog, DeviceSize{}, surface, 480, 800);
}

void BM_WideFast(benchmark::State& state)
{
    auto dialog = vesk::test::MakeWideDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::LayOutDialog(*dialog, DeviceSize{}, surface, 480, 800);
}

void BM_WideReference(benchmark::State& state)
{
    auto dialog = vesk::test::MakeWideDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::LayOutDialogReference(*dialog, DeviceSize{}, surface, 480, 800);
}

} // namespace

BENCHMARK(BM_NestedReference)->Arg(kNestedDepth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedFast)->Arg(kNestedDepth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideReference)->Arg(kWideObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideFast)->Arg(kWideObjects)->Unit(benchmark::kMillisecond);
