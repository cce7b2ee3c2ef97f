#pragma once
// What a database source hands the program: the model, the server it was read
// from, and what it could not carry into the model, counted per kind.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "orx/ORXModel.h"

namespace importers {

// The kinds of loss the database sources report, as the warning lines name
// them. A source may report other kinds; these are shared so that every
// source words the same loss alike.
namespace loss {
inline constexpr const char* kPartialIndexCondition =
    "index conditions left out (the partial indexes keep their columns)";
inline constexpr const char* kExpressionIndex = "indexes made only of expressions left out";
inline constexpr const char* kIndexExpression =
    "index expressions left out (the indexes keep their columns)";
inline constexpr const char* kOperatorClass = "index operator classes left out";
inline constexpr const char* kDeferrable = "DEFERRABLE settings left out";
inline constexpr const char* kFreeSequence = "sequences not owned by a column left out";
inline constexpr const char* kVirtualTable =
    "virtual tables written as plain tables (their module is left out)";
inline constexpr const char* kUnreadableVirtualTable =
    "virtual tables left out (their module is not available)";
inline constexpr const char* kShadowTable = "shadow tables of virtual tables left out";
inline constexpr const char* kUnresolvedView = "views whose columns could not be resolved";
inline constexpr const char* kMissingParent = "foreign keys to missing tables left out";
inline constexpr const char* kViewTrigger = "triggers on views left out";
}  // namespace loss

// Counts what a source leaves behind, per kind, keeping the first three
// examples of each kind; reported once per kind, never once per object.
class LossReport {
  public:
    // Counts one loss of `kind`; `example` names the object (kept for the
    // first three of a kind).
    void add(const std::string& kind, const std::string& example);
    // How many losses of `kind` were counted (0 when none).
    int count(const std::string& kind) const;
    // True when nothing was counted.
    bool empty() const { return order_.empty(); }
    // One line per kind, in the order the kinds were first counted:
    // "warning: KIND: COUNT (EXAMPLE, EXAMPLE, EXAMPLE, ...)", the ", ..."
    // only when there are more than three.
    std::vector<std::string> lines() const;

  private:
    struct Entry {
        int count = 0;
        std::vector<std::string> examples;
    };
    std::map<std::string, Entry> entries_;
    std::vector<std::string> order_;  // kinds in first-seen order
};

// The result of every database loader.
struct DatabaseImport {
    // The model built from the database.
    std::unique_ptr<ORXModel> model;
    // The server or library the schema was read with, with its full version
    // ("PostgreSQL 15.4", "SQLite 3.40.1"); also kept as the catalog's comment.
    std::string serverVersion;
    // The detection name recorded as the catalog's database type, which
    // "Auto Detect" turns into the target ("PostgreSQL 7", "ODBC 3.0").
    std::string detectedTarget;
    // Whether that target writes triggers.
    bool detectedTargetHasTriggers = true;
    // What could not be carried into the model.
    LossReport losses;
    // The triggers the model holds.
    int triggerCount = 0;

    // The warning lines for this import: first, when the target is the
    // detected one (`targetChosenByDefault`) and it writes no triggers while
    // the model holds some, one line saying so; then the losses' lines.
    std::vector<std::string> warnings(bool targetChosenByDefault) const;
};

// The number of trigger operations of the classes of `model`'s design packages.
int countTriggers(const ORXModel& model);

}  // namespace importers
