// The project checks on the generated project (about 10 MB, 200 dialogs of 250 nodes): on the
// loaded project and on one of its dialogs, pictures looked up in the shipped assets, and as
// veskres lint runs them on the file, the load included.
// Targets: the checks of the whole project under 200 ms, of one dialog well under a frame.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "benchproject.h"
#include "cli/commands.h"
#include "model/datafolder.h"
#include "records/projectlint.h"
#include "records/resourcefile.h"

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
BENCHMARK(LintCommand)->Unit(benchmark::kMillisecond);
