// Recording one undo step after one property change, on dialogs of growing size: the time
// must grow with the dialog's size, not with its square.
#include <benchmark/benchmark.h>

#include <string>

#include "dialogbuilder.h"
#include "objects/undobuffer.h"

namespace {

void BM_RecordStepAfterOneChange(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    auto dialog = vesk::test::MakeWideDialog(objects);
    vesk::RecordUndoStep(*dialog);
    vesk::CObjectDataList& row = static_cast<vesk::CObjectDataList&>(dialog->RootGroup()->ChildAt(objects / 20));
    vesk::CObjectData& changed = row.ChildAt(3);
    int serial = 0;
    for (auto _ : state) {
        changed.SetItem("Name", "changed " + std::to_string(++serial));
        if (!vesk::RecordUndoStep(*dialog)) {
            state.SkipWithError("no step recorded");
            break;
        }
    }
    state.counters["objects"] = objects;
}

} // namespace

BENCHMARK(BM_RecordStepAfterOneChange)->Arg(1000)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
