// Diff and three-way merge of the generated project (about 10 MB) with one item in a hundred
// changed on each side: the core functions on loaded projects, and the veskres commands on
// files, loads and save included.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "benchproject.h"
#include "cli/commands.h"
#include "records/projectdiff.h"
#include "records/projectmerge.h"
#include "records/resourcefile.h"

using namespace vesk;

namespace {

/// Every hundredth written value of the nodes, counting from offset, changed as an edit would
/// (names, types and layouts aside, which would make other nodes of them); answers how many.
int ChangeOneInAHundred(CTekResourceData& project, int offset)
{
    int seen = 0;
    int changed = 0;
    auto visit = [&](auto& self, CObjectData& node) -> void {
        for (auto item : node.Items()) {
            const std::string& name = item->Name();
            if (item->Value().empty() || name == "Name" || name == "Type" || name == "Layout" ||
                item->Kind() == ItemKind::Flag || item->Kind() == ItemKind::Data)
                continue;
            if (seen++ % 100 != offset)
                continue;
            item->SetValue(item->Kind() == ItemKind::Number ? "9" + item->Value() : item->Value() + "-2");
            ++changed;
        }
        if (node.IsGroup())
            for (const ObjectPtr& child : static_cast<CObjectDataList&>(node).Children())
                self(self, *child);
    };
    for (int i = 0; i < project.Dialogs().Count(); ++i)
        visit(visit, *project.Dialogs().At(i).RootObject());
    return changed;
}

struct Files {
    std::filesystem::path folder;
    std::string base, ours, theirs, out;
    int oursChanged = 0;
    int theirsChanged = 0;
    size_t bytes = 0;
};

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string Written(const CTekResourceData& project)
{
    CJsonString text;
    WriteResource(project, text, "");
    return text.TakeText();
}

const Files& TheFiles()
{
    static const Files files = [] {
        Files made;
        char pattern[] = "/tmp/vesk-bench-XXXXXX";
        if (!::mkdtemp(pattern))
            throw std::runtime_error("cannot create a temporary folder");
        made.folder = pattern;
        const std::string text = bench::ProjectText();
        made.bytes = text.size();
        made.base = (made.folder / "base.veskspro").string();
        made.ours = (made.folder / "ours.veskspro").string();
        made.theirs = (made.folder / "theirs.veskspro").string();
        made.out = (made.folder / "out.veskspro").string();
        WriteText(made.base, text);
        for (auto [path, offset, count] :
             {std::tuple{&made.ours, 0, &made.oursChanged}, std::tuple{&made.theirs, 50, &made.theirsChanged}}) {
            CTekResourceData project;
            ReadResourceText(project, text);
            *count = ChangeOneInAHundred(project, offset);
            WriteText(*path, Written(project));
        }
        std::atexit([] { std::filesystem::remove_all(TheFiles().folder); });
        return made;
    }();
    return files;
}

void Load(CTekResourceData& project, const std::string& path)
{
    if (!LoadResourceFile(project, path))
        throw std::runtime_error("cannot load " + path);
}

void Counters(benchmark::State& state)
{
    state.counters["MB"] = static_cast<double>(TheFiles().bytes) / 1e6;
    state.counters["changed"] = TheFiles().oursChanged;
}

void DiffLoaded(benchmark::State& state)
{
    CTekResourceData older, newer;
    Load(older, TheFiles().base);
    Load(newer, TheFiles().ours);
    size_t changes = 0;
    for (auto _ : state) {
        std::vector<ProjectChange> found = DiffProjects(older, newer);
        changes = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    Counters(state);
    state.counters["changes"] = static_cast<double>(changes);
}

void DiffCommand(benchmark::State& state)
{
    int status = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        status = cli::RunDiff({TheFiles().base, TheFiles().ours}, out, err);
    }
    if (status != 1)
        state.SkipWithError("veskres diff did not find the differences");
    Counters(state);
}

void MergeLoaded(benchmark::State& state)
{
    size_t conflicts = 0;
    std::array<std::unique_ptr<CTekResourceData>, 3> projects;
    for (auto _ : state) {
        // The last round's projects are freed, and the next ones loaded, untimed.
        state.PauseTiming();
        const std::string* paths[] = {&TheFiles().base, &TheFiles().ours, &TheFiles().theirs};
        for (size_t i = 0; i < projects.size(); ++i) {
            projects[i] = std::make_unique<CTekResourceData>();
            Load(*projects[i], *paths[i]);
        }
        state.ResumeTiming();
        conflicts = MergeProjects(*projects[0], *projects[1], *projects[2]).size();
    }
    if (conflicts != 0)
        state.SkipWithError("the two sides' changes should not conflict");
    Counters(state);
    state.counters["changed"] = TheFiles().oursChanged + TheFiles().theirsChanged;
}

void MergeCommand(benchmark::State& state)
{
    int status = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        status = cli::RunMerge({TheFiles().base, TheFiles().ours, TheFiles().theirs, "-o", TheFiles().out}, out, err);
    }
    if (status != 0)
        state.SkipWithError("veskres merge did not merge cleanly");
    Counters(state);
    state.counters["changed"] = TheFiles().oursChanged + TheFiles().theirsChanged;
}

} // namespace

BENCHMARK(DiffLoaded)->Unit(benchmark::kMillisecond);
BENCHMARK(DiffCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeLoaded)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeCommand)->Unit(benchmark::kMillisecond);
