// The project checks on the generated project (about 10 MB): on the loaded project, pictures
// looked up in the shipped assets, and as veskres lint runs them on the file, the load included.
// Target: the checks of the whole project well under 200 ms.

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
BENCHMARK(LintCommand)->Unit(benchmark::kMillisecond);
