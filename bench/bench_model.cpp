// Load and save of a large project, and the bare parser beside two common JSON libraries on the
// same text (with double quotes for them).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>

#include "benchproject.h"
#include "model/jsonparser.h"
#include "model/savefile.h"
#include "model/orbstream.h"
#include "objects/resourcedata.h"
#include "records/resourcefile.h"
#include "objects/itemsets.h"
#include "objects/objectdata.h"
#include "textconv/textconv.h"

using namespace vesk;

namespace {

const std::string& SingleQuoted()
{
    static const std::string text = bench::ProjectText();
    return text;
}

/// The same text in standard JSON. The writer escapes quotes inside values, so every single
/// quote of the text is a delimiter; there are no double quotes to clash with.
const std::string& DoubleQuoted()
{
    static const std::string text = [] {
        std::string converted = SingleQuoted();
        if (converted.find('"') != std::string::npos)
            throw std::logic_error("the generated project holds a double quote");
        std::replace(converted.begin(), converted.end(), '\'', '"');
        return converted;
    }();
    return text;
}

void Report(benchmark::State& state, const std::string& text)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}

void LoadProject(benchmark::State& state)
{
    const std::string& text = SingleQuoted();
    for (auto _ : state) {
        CTekResourceData resource;
        if (!ReadResourceText(resource, text)) {
            state.SkipWithError("the project does not load");
            break;
        }
        benchmark::DoNotOptimize(resource.Dialogs().Count());
    }
    Report(state, text);
}

/// The whole load as the editor's open does it: read the file, parse, build; and free.
void LoadProjectFile(benchmark::State& state)
{
    const std::string path = "/tmp/vesk-bench-project-" + std::to_string(::getpid()) + ".veskspro";
    if (!WriteFileAtomically(path, SingleQuoted())) {
        state.SkipWithError("the project cannot be written");
        return;
    }
    for (auto _ : state) {
        CTekResourceData resource;
        if (!LoadResourceFile(resource, path)) {
            state.SkipWithError("the project does not load");
            break;
        }
        benchmark::DoNotOptimize(resource.Dialogs().Count());
    }
    std::remove(path.c_str());
    Report(state, SingleQuoted());
}

void SaveProject(benchmark::State& state)
{
    const std::string& text = SingleQuoted();
    CTekResourceData resource;
    if (!ReadResourceText(resource, text)) {
        state.SkipWithError("the project does not load");
        return;
    }
    size_t written = 0;
    for (auto _ : state) {
        CJsonString out;
        WriteResource(resource, out, "");
        written = out.Text().size();
        benchmark::DoNotOptimize(out.Text().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(written));
}

void ParseOurs(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        JsonParser parser;
        if (!parser.Parse(text)) {
            state.SkipWithError(parser.ErrorText.c_str());
            break;
        }
        benchmark::DoNotOptimize(parser.Cursor());
    }
    Report(state, text);
}

void ParseOursSingleQuoted(benchmark::State& state)
{
    ParseOurs(state, SingleQuoted());
}
void ParseOursDoubleQuoted(benchmark::State& state)
{
    ParseOurs(state, DoubleQuoted());
}

void ParseRapidJson(benchmark::State& state)
{
    const std::string& text = DoubleQuoted();
    for (auto _ : state) {
        rapidjson::Document document;
        document.Parse(text.c_str(), text.size());
        if (document.HasParseError()) {
            state.SkipWithError("RapidJSON refuses the text");
            break;
        }
        benchmark::DoNotOptimize(document.IsObject());
    }
    Report(state, text);
}

void ParseNlohmann(benchmark::State& state)
{
    const std::string& text = DoubleQuoted();
    for (auto _ : state) {
        nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
        if (document.is_discarded()) {
            state.SkipWithError("nlohmann::json refuses the text");
            break;
        }
        benchmark::DoNotOptimize(document.is_object());
    }
    Report(state, text);
}

} // namespace

BENCHMARK(LoadProject)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadProjectFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseOursSingleQuoted)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseOursDoubleQuoted)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseRapidJson)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseNlohmann)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
