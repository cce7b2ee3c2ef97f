// Export and model-file benchmarks on generated models. Each benchmark reports
// the time per table; it must not grow with the size of the model.
//
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DPDM_BUILD_BENCH=ON
//   cmake --build build-bench -j2 --target export_bench && build-bench/bench/export_bench

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bridge/DllInterface.h"
#include "importers/modelfile/JsonModel.h"
#include "orx/ORXClock.h"
#include "orx/ORXModel.h"

namespace {

class NullLog : public ORXLog {
  public:
    void reportEvent(const ORXLogEvent&) override {}
};

// A model of `tables` tables in one merged package, each with ten columns, a
// primary key with its index, a reference to the previous table (with a
// foreign key), and a symbol in one diagram for every table and reference.
// Every fourth table has the same name as another, to exercise unique names.
std::unique_ptr<ORXModel> makeModel(int tables) {
    auto model = std::make_unique<ORXModel>();
    model->setName("Bench");
    auto* package = new ORXDesignPackage();
    package->setName("Main");
    model->addChildPackage(package);
    auto* diagram = new ORXDiagram();
    diagram->setName("All");
    package->addOwnedDiagram(diagram);
    auto* varchar = new ORXDerivedType();
    varchar->setName("Name");
    varchar->setDataType("SQL_VARCHAR");
    varchar->setLength(40);
    model->addType(varchar);

    ORXClass* previous = nullptr;
    for (int t = 0; t < tables; ++t) {
        auto* table = new ORXClass();
        table->setName(ORXString("T") + ORXString(t % 4 == 3 ? t - 1 : t));
        for (int c = 0; c < 10; ++c) {
            auto* column = new ORXAttribute();
            column->setName(ORXString("C") + ORXString(c));
            column->setType(varchar);
            column->addAssociatedClass(table);
        }
        auto* key = new ORXCandidateKey();
        key->addAssociatedClass(table);
        key->addAttribute(table->getAttribute(0));
        key->addPrimaryOfClass(table);
        auto* index = new ORXIndex();
        index->addAssociatedClass(table);
        index->addKey(key);
        new ORXIndexMember(index, table->getAttribute(0), 0);
        if (!table->addDesignPackage(package)) {
            table->setName(table->getName() + "x");
            table->addDesignPackage(package);
        }
        table->addDiagram(diagram);
        auto* symbol = new ORXPresentationElement();
        symbol->setGeometry(100 + t, 100 + t, 80, 40);
        symbol->addDiagram(diagram);
        symbol->addSubjectModelObject(table);

        if (previous) {
            auto* foreignKey = new ORXForeignKey();
            foreignKey->addAssociatedClass(table);
            foreignKey->addAttribute(table->getAttribute(1));
            foreignKey->addCandidateKey(previous->getPrimaryKey());
            auto* association = new ORXAssociation();
            auto* parent = new ORXAssociationRole(association);
            parent->setSource(true);
            parent->setMultiplicity("1");
            parent->addAssociatedClass(previous);
            auto* child = new ORXAssociationRole(association);
            child->setMultiplicity("0..*");
            child->addAssociatedClass(table);
            foreignKey->addAssociationRole(child);
            new ORXAssociationRoleNameMap(foreignKey, previous->getAttribute(0),
                                          table->getAttribute(1));
            association->addDesignPackage(package);
            association->addDiagram(diagram);
            auto* line = new ORXPresentationElement();
            line->addDiagram(diagram);
            line->addSubjectModelObject(association);
        }
        previous = table;
    }
    return model;
}

void exportModel(ORXModel& model, const std::string& path) {
    ORXVelmarExportDllInterface* bridge = getORXSybasePowerDesignerPdm08ExportInterface();
    ORXOptionList options;
    bridge->getOptionList(options);
    options.setValue("File", path);
    NullLog log;
    bridge->run(ORXString(), model, options, log);
}

std::string scratchPath() {
    return std::string(P_tmpdir) + "/pdm-bench-" + std::to_string(getpid()) + ".pdm";
}

void BM_Export(benchmark::State& state) {
    const int tables = static_cast<int>(state.range(0));
    auto model = makeModel(tables);
    ORXClock::setFixedTime(0);
    const std::string path = scratchPath();
    for (auto _ : state)
        exportModel(*model, path);
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * tables);
    state.counters["per_table"] =
        benchmark::Counter(static_cast<double>(state.iterations() * tables),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Export)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadModelFile(benchmark::State& state) {
    const int tables = static_cast<int>(state.range(0));
    const std::string text = importers::dumpJsonModel(*makeModel(tables));
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
