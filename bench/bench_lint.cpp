// The project checks on the generated project (about 10 MB, 200 dialogs of 250 nodes): on the
// loaded project and on one of its dialogs, pictures looked up in the shipped assets, and as
// veskres lint runs them on the file, the load included.
// With the layout checked at the project's own size (texts measured in the device font): the
// whole project, and one dialog of 2,000 objects checked again after an edit, as the editor's
// problems list does.
// Targets: the checks of the whole project under 200 ms, of one dialog well under a frame (16 ms).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include <QGuiApplication>

#include "benchproject.h"
#include "cli/commands.h"
#include "model/datafolder.h"
#include "objects/layout.h"
#include "records/layoutlint.h"
#include "records/projectlint.h"
#include "records/resourcefile.h"
#include "render/devicepainter.h"
#include "render/previewpainter.h"

using namespace vesk;

namespace {

struct TheProject {
    std::string path;
    size_t bytes = 0;
    std::unique_ptr<CTekResourceData> loaded = std::make_unique<CTekResourceData>();
};

const TheProject& Project()
{
    static const TheProject project = [] {
        TheProject p;
        const std::string text = bench::ProjectText();
        p.bytes = text.size();
        p.path = (std::filesystem::temp_directory_path() / "vesk_bench_lint.veskspro").string();
        std::ofstream(p.path, std::ios::binary) << text;
        if (!LoadResourceFile(*p.loaded, p.path))
            throw std::runtime_error("the generated project does not load");
        return p;
    }();
    return project;
}

void LintLoaded(benchmark::State& state)
{
    const TheProject& project = Project();
    LintOptions options;
    options.dataFolder = DataFolderOf(RunningProgramFolder());
    size_t findings = 0;
    for (auto _ : state) {
        std::vector<LintFinding> result = LintProject(*project.loaded, options);
        findings = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["MB"] = static_cast<double>(project.bytes) / 1e6;
    state.counters["findings"] = static_cast<double>(findings);
}

/// The check of one dialog, as the editor repeats it after an edit.
void LintOneDialog(benchmark::State& state)
{
    const TheProject& project = Project();
    LintOptions options;
    options.dataFolder = DataFolderOf(RunningProgramFolder());
    const CTekDialogData& dialog = project.loaded->Dialogs().At(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(LintDialog(dialog, options));
    state.counters["nodes"] = bench::kNodesPerDialog;
}

/// The device font's measurer, with the offscreen application it needs.
const TextMeasurer& DeviceFont()
{
    static const std::unique_ptr<QGuiApplication> application = MakeOffscreenGuiApplication();
    static const FontTextMeasurer measurer;
    return measurer;
}

void LintLoadedWithLayout(benchmark::State& state)
{
    const TheProject& project = Project();
    LintOptions options;
    options.dataFolder = DataFolderOf(RunningProgramFolder());
    options.text = &DeviceFont();
    size_t findings = 0;
    for (auto _ : state) {
        std::vector<LintFinding> result = LintProject(*project.loaded, options);
        findings = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["MB"] = static_cast<double>(project.bytes) / 1e6;
    state.counters["findings"] = static_cast<double>(findings);
}

/// A project of one dialog of 2,000 objects in 40 groups of a vertical root.
struct BigDialog {
    CTekResourceData project;
    CTekDialogData* dialog = nullptr;
    BigDialog()
    {
        project.SetItem("DeviceWidth", "480");
        project.SetItem("DeviceHeight", "800");
        dialog = &project.Dialogs().AddDialog("Big");
        dialog->SetItem("TemplateType", "Shared");
        GroupPtr root = bench::AddGroup(nullptr, LAYOUT_LINEAR, "root");
        root->SetItem("Vertical", "true");
        for (int g = 0; g < 40; ++g) {
            GroupPtr group =
                bench::AddGroup(root.get(), g % 2 ? LAYOUT_FRAME : LAYOUT_LINEAR, "group" + std::to_string(g));
            for (int i = 0; i < 50; ++i)
                bench::AddObject(*group, g * 50 + i);
        }
        dialog->SetRoot(root);
    }
};

/// One dialog of 2,000 objects checked again, layout included, after one of its items changed;
/// the texts measured before are remembered, as the editor's problems list remembers them.
void RecheckBigDialogAfterAnEdit(benchmark::State& state)
{
    static BigDialog big;
    static const CachedTextMeasurer remembered(DeviceFont());
    LintOptions options;
    options.dataFolder = DataFolderOf(RunningProgramFolder());
    options.text = &remembered;
    const DeviceSize device = DeviceSizeOf(big.project);
    CObjectDataList& first = static_cast<CObjectDataList&>(*big.dialog->RootGroup()->Children().front());
    CObjectData& edited = *first.Children().front();
    int serial = 0;
    size_t findings = 0;
    for (auto _ : state) {
        edited.SetItem("Width", std::to_string(40 + serial++ % 20));
        std::vector<LintFinding> result = LintDialog(*big.dialog, options, device);
        findings = result.size();
        benchmark::DoNotOptimize(result);
    }
    state.counters["objects"] = 2000;
    state.counters["findings"] = static_cast<double>(findings);
}

void LintCommand(benchmark::State& state)
{
    const TheProject& project = Project();
    for (auto _ : state) {
        std::ostringstream out, err;
        benchmark::DoNotOptimize(cli::RunLint({project.path}, out, err));
    }
    state.counters["MB"] = static_cast<double>(project.bytes) / 1e6;
}

} // namespace

BENCHMARK(LintLoaded)->Unit(benchmark::kMillisecond);
BENCHMARK(LintOneDialog)->Unit(benchmark::kMicrosecond);
BENCHMARK(LintLoadedWithLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(RecheckBigDialogAfterAnEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(LintCommand)->Unit(benchmark::kMillisecond);
