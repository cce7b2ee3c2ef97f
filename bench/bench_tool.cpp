// The measuring half of bench/run_bench.py: makes the benchmark's model files
// and measures what can only be measured from inside a process.
//
//   bench_tool generate TABLES FILE.json
//       writes a generated model of TABLES tables (see makeModel).
//   bench_tool phases FILE.json OUT.pdm [REPEAT]
//       loads the file, exports it and deletes the model, REPEAT times
//       (default 1), and prints the best processor time of each phase and, from a
//       counting allocator, the allocations and bytes of each phase.
//   bench_tool floor FILE.json OUT.pdm [REPEAT]
//       the general-purpose yardstick for the same job: simdjson parsing the
//       model file, and pugixml saving the same document unindented (loaded
//       untimed, then save_file with format_raw over an existing copy).
//       Prints the processor time of simdjson's first load of the file (a
//       fresh parser reading and parsing it), the best of REPEAT warm parses
//       of the text in memory, and the best of REPEAT saves.
//
// Every result is one line "key value", so the driver can read it.

#include <malloc.h>
#include <simdjson.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <new>
#include <pugixml.hpp>
#include <string>

#include "bench/BenchSupport.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"

// ---- Counting allocator ---------------------------------------------------------
// Every allocation of the process goes through these operators; the counters
// tell how many blocks a phase asked for and how many bytes it held at most.

namespace {

struct AllocationCounters {
    unsigned long long allocations = 0;
    long long liveBytes = 0;
    long long peakBytes = 0;
};
AllocationCounters counters;

void* countedAllocate(std::size_t size, std::size_t alignment) {
    void* block =
        alignment > alignof(std::max_align_t)
            ? std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment)
            : std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    ++counters.allocations;
    counters.liveBytes += static_cast<long long>(malloc_usable_size(block));
    counters.peakBytes = std::max(counters.peakBytes, counters.liveBytes);
    return block;
}

void countedFree(void* block) noexcept {
    if (!block)
        return;
    counters.liveBytes -= static_cast<long long>(malloc_usable_size(block));
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
    return countedAllocate(size, 0);
}
void* operator new[](std::size_t size) {
    return countedAllocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return countedAllocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return countedAllocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* block) noexcept {
    countedFree(block);
}
void operator delete[](void* block) noexcept {
    countedFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    countedFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    countedFree(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    countedFree(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    countedFree(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    countedFree(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    countedFree(block);
}

namespace {

// Phases are timed in processor time of this process: on a shared machine the
// wall clock also counts the time spent waiting for a processor.
struct Clock {
    using time_point = double;
    static double now() {
        timespec time{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
    }
};

double secondsSince(Clock::time_point start) {
    return Clock::now() - start;
}

// The processor time the kernel has spent for this process: mapping and
// clearing fresh pages, reading and writing files.
double systemSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;
}

// ---- Phases -------------------------------------------------------------------------

std::string readFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::string text;
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Loads, exports and deletes `repeat` times; each phase's best time, and the
// allocations, bytes and kernel time of the first round (later rounds reuse the blocks
// that the model's pool kept from the first).
int runPhases(const std::string& input, const std::string& output, int repeat) {
    ORXClock::setFixedTime(0);
    const std::string text = readFile(input);
    double load = 1e30, exportTime = 1e30, teardown = 1e30;
    double loadSystem = 0, exportSystem = 0;
    unsigned long long loadAllocations = 0, exportAllocations = 0;
    long long modelBytes = 0, exportExtraBytes = 0;
    for (int round = 0; round < repeat; ++round) {
        counters.allocations = 0;
        const long long before = counters.liveBytes;
        double system = systemSeconds();
        Clock::time_point start = Clock::now();
        std::unique_ptr<ORXModel> model = importers::parseJsonModel(text, input);
        load = std::min(load, secondsSince(start));
        if (round == 0) {
            loadSystem = systemSeconds() - system;
            loadAllocations = counters.allocations;
            modelBytes = counters.liveBytes - before;
        }

        counters.allocations = 0;
        const long long beforeExport = counters.liveBytes;
        counters.peakBytes = counters.liveBytes;
        system = systemSeconds();
        start = Clock::now();
        bench::exportModel(*model, output);
        exportTime = std::min(exportTime, secondsSince(start));
        if (round == 0) {
            exportSystem = systemSeconds() - system;
            exportAllocations = counters.allocations;
            exportExtraBytes = counters.peakBytes - beforeExport;
        }

        start = Clock::now();
        model.reset();
        teardown = std::min(teardown, secondsSince(start));
    }
    std::printf("load_s %.6f\nexport_s %.6f\nteardown_s %.6f\n", load, exportTime, teardown);
    std::printf("load_system_s %.6f\nexport_system_s %.6f\n", loadSystem, exportSystem);
    std::printf("load_allocations %llu\nexport_allocations %llu\n", loadAllocations,
                exportAllocations);
    std::printf("model_bytes %lld\nexport_extra_bytes %lld\n", modelBytes, exportExtraBytes);
    std::printf("peak_rss_kib %ld\n", peakRssKiB());
    return 0;
}

int runFloor(const std::string& input, const std::string& output, int repeat) {
    // First touch, as a program that parses the file once meets it: a fresh
    // parser reads the file and parses it, every block touched for the first
    // time. This is what a whole pdm-export run pays for its own reading.
    double first = 0;
    {
        const Clock::time_point start = Clock::now();
        simdjson::dom::parser parser;
        simdjson::dom::element root;
        if (parser.load(input).get(root) != simdjson::SUCCESS)
            throw std::runtime_error("simdjson cannot parse " + input);
        first = secondsSince(start);
    }
    // Warm: the same parser parsing the text already in memory again, its
    // blocks reused; the best of the rounds.
    double parse = 1e30, save = 1e30;
    simdjson::padded_string json = simdjson::padded_string::load(input);
    simdjson::dom::parser parser;
    for (int round = 0; round < repeat; ++round) {
        const Clock::time_point start = Clock::now();
        simdjson::dom::element root;
        if (parser.parse(json).get(root) != simdjson::SUCCESS)
            throw std::runtime_error("simdjson cannot parse " + input);
        parse = std::min(parse, secondsSince(start));
    }
    pugi::xml_document document;
    if (!document.load_file(output.c_str()))
        throw std::runtime_error("pugixml cannot load " + output);
    // The copy is saved once untimed, so that every timed save replaces an
    // existing file, as pdm-export replaces its output.
    const std::string copy = output + ".pugixml";
    for (int round = 0; round <= repeat; ++round) {
        const Clock::time_point start = Clock::now();
        if (!document.save_file(copy.c_str(), "", pugi::format_raw))
            throw std::runtime_error("pugixml cannot save " + copy);
        if (round > 0)
            save = std::min(save, secondsSince(start));
    }
    std::remove(copy.c_str());
    std::printf("simdjson_first_s %.6f\nsimdjson_parse_s %.6f\npugixml_save_s %.6f\n", first, parse,
                save);
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_tool generate TABLES FILE.json\n"
                 "       bench_tool phases FILE.json OUT.pdm [REPEAT]\n"
                 "       bench_tool floor FILE.json OUT.pdm [REPEAT]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4)
        return usage();
    const std::string command = argv[1];
    const int repeat = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
    try {
        if (command == "generate") {
            importers::dumpJsonModelFile(*bench::makeModel(std::atoi(argv[2])), argv[3]);
            return 0;
        }
        if (command == "phases")
            return runPhases(argv[2], argv[3], repeat);
        if (command == "floor")
            return runFloor(argv[2], argv[3], repeat);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bench_tool: %s\n", failure.what());
        return 1;
    }
    return usage();
}
