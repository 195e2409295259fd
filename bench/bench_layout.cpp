// Layout speed. The reference layout measures the same subtrees again and again; ComputeLayout
// must give the same rectangles far sooner, and the box style must paint its answer quickly.
#include <benchmark/benchmark.h>

#include "dialogbuilder.h"
#include "objects/dialoglayout.h"
#include "objects/layout.h"
#include "objects/previewstyle.h"
#include "referencelayout.h"

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
        vesk::test::ReferenceLayout(*dialog, DeviceSize{}, surface, 480, 800);
}

void BM_NestedFast(benchmark::State& state)
{
    auto dialog = vesk::test::MakeNestedDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::LayOutDialog(*dialog, DeviceSize{}, surface, 480, 800);
}

void BM_NestedCompute(benchmark::State& state)
{
    auto dialog = vesk::test::MakeNestedDialog(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(vesk::ComputeLayout(*dialog, DeviceSize{}, {480, 800}));
}

void BM_WideFast(benchmark::State& state)
{
    auto dialog = vesk::test::MakeWideDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::LayOutDialog(*dialog, DeviceSize{}, surface, 480, 800);
}

void BM_WideCompute(benchmark::State& state)
{
    auto dialog = vesk::test::MakeWideDialog(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(vesk::ComputeLayout(*dialog, DeviceSize{}, {480, 800}));
}

/// Painting a kept layout in the box style (what a view does on every repaint); every tenth
/// object marked, so that both rounds paint.
void BM_WidePaint(benchmark::State& state)
{
    auto dialog = vesk::test::MakeWideDialog(static_cast<int>(state.range(0)));
    for (int row = 0; row < dialog->RootGroup()->ChildCount(); ++row)
        static_cast<vesk::CObjectDataList&>(dialog->RootGroup()->ChildAt(row)).ChildAt(0).SetMark(1);
    const vesk::DialogLayout layout = vesk::ComputeLayout(*dialog, DeviceSize{}, {480, 800});
    NullSurface surface;
    const vesk::BoxPreviewStyle style;
    for (auto _ : state)
        style.Paint(layout, surface);
}

void BM_WideReference(benchmark::State& state)
{
    auto dialog = vesk::test::MakeWideDialog(static_cast<int>(state.range(0)));
    NullSurface surface;
    for (auto _ : state)
        vesk::test::ReferenceLayout(*dialog, DeviceSize{}, surface, 480, 800);
}

} // namespace

BENCHMARK(BM_NestedReference)->Arg(kNestedDepth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedFast)->Arg(kNestedDepth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedCompute)->Arg(kNestedDepth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideReference)->Arg(kWideObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideFast)->Arg(kWideObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideCompute)->Arg(kWideObjects)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WidePaint)->Arg(kWideObjects)->Unit(benchmark::kMillisecond);
