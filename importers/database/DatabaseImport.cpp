#include "importers/database/DatabaseImport.h"

namespace importers {

namespace {

constexpr std::size_t kExamplesPerKind = 3;

int countTriggersIn(const ORXPackage& package) {
    int count = 0;
    if (const auto* design = dynamic_cast<const ORXDesignPackage*>(&package)) {
        for (int i = 0; i < design->getModelElementCount(); ++i) {
            const auto* cls = dynamic_cast<const ORXClass*>(design->getModelElement(i));
            if (!cls)
                continue;
            for (int j = 0; j < cls->getOperationCount(); ++j)
                count += cls->getOperation(j)->getElementType() == ORX_ET_TRIGGER ? 1 : 0;
        }
    }
    for (int i = 0; i < package.getChildPackageCount(); ++i)
        count += countTriggersIn(*package.getChildPackage(i));
    return count;
}

}  // namespace

void LossReport::add(const std::string& kind, const std::string& example) {
    auto [entry, inserted] = entries_.try_emplace(kind);
    if (inserted)
        order_.push_back(kind);
    ++entry->second.count;
    if (entry->second.examples.size() < kExamplesPerKind)
        entry->second.examples.push_back(example);
}

int LossReport::count(const std::string& kind) const {
    auto found = entries_.find(kind);
    return found == entries_.end() ? 0 : found->second.count;
}

std::vector<std::string> LossReport::lines() const {
    std::vector<std::string> out;
    for (const std::string& kind : order_) {
        const Entry& entry = entries_.at(kind);
        std::string line = "warning: " + kind + ": " + std::to_string(entry.count) + " (";
        for (std::size_t i = 0; i < entry.examples.size(); ++i)
            line += (i ? ", " : "") + entry.examples[i];
        if (static_cast<std::size_t>(entry.count) > entry.examples.size())
            line += ", ...";
        out.push_back(line + ")");
    }
    return out;
}

std::vector<std::string> DatabaseImport::warnings(bool targetChosenByDefault) const {
    std::vector<std::string> out;
    if (targetChosenByDefault && !detectedTargetHasTriggers && triggerCount > 0) {
        out.push_back("warning: " + std::to_string(triggerCount) + " trigger" +
                      (triggerCount == 1 ? " is" : "s are") + " not written: the target " +
                      detectedTarget +
                      " has none; choose a target that has triggers with -t"
                      " (for example -t \"PostgreSQL 7\")");
    }
    for (std::string& line : losses.lines())
        out.push_back(std::move(line));
    return out;
}

int countTriggers(const ORXModel& model) {
    return countTriggersIn(model);
}

}  // namespace importers
