// Export and model-file benchmarks on generated models. Each benchmark reports
// the time per table; it must not grow with the size of the model.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPDM_BUILD_BENCH=ON
//   cmake --build build-bench -j2 --target export_bench && build-bench/bin/export_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"

namespace {

std::string scratchPath() {
    return std::string(P_tmpdir) + "/pdm-bench-" + std::to_string(getpid()) + ".pdm";
}

void BM_Export(benchmark::State& state) {
    const int tables = static_cast<int>(state.range(0));
    auto model = bench::makeModel(tables);
    ORXClock::setFixedTime(0);
    const std::string path = scratchPath();
    for (auto _ : state)
        bench::exportModel(*model, path);
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * tables);
    state.counters["per_table"] =
        benchmark::Counter(static_cast<double>(state.iterations() * tables),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Export)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadModelFile(benchmark::State& state) {
    const int tables = static_cast<int>(state.range(0));
    const std::string text = importers::dumpJsonModel(*bench::makeModel(tables));
    for (auto _ : state) {
        auto model = importers::parseJsonModel(text, "bench.json");
        benchmark::DoNotOptimize(model.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
    state.counters["per_table"] =
        benchmark::Counter(static_cast<double>(state.iterations() * tables),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadModelFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
