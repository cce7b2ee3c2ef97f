#pragma once
// Choosing the tables and views to export with --include and --exclude.
//
// A pattern is a shell-style glob: `*` matches any run of characters (dots
// included), `?` one character, `[abc]`, `[a-z]` and `[!abc]` (or `[^abc]`)
// one character of (or not of) a set, and a backslash makes the next
// character literal. Matching is case-sensitive; a pattern that begins with
// `(?i)` ignores the case of ASCII letters (the prefix itself is not part of
// the glob). A table or view matches when the glob matches its name or its
// physical name, either bare or qualified by its schema (`schema.table`).

#include <string>
#include <vector>

#include "orx/ORXModel.h"

namespace cli {

// One compiled --include or --exclude pattern.
class NamePattern {
  public:
    // Compiles `text`; a leading "(?i)" makes the match ignore ASCII case.
    explicit NamePattern(const std::string& text);
    // The pattern as the user wrote it.
    const std::string& text() const { return text_; }
    bool matches(const std::string& name) const;

  private:
    std::string text_;
    std::string glob_;
    bool ignoreCase_ = false;
};

// What a selection did.
struct SelectionOutcome {
    // Tables newly marked as never exported (level code 1).
    int excludedTables = 0;
    // Views taken out of the model.
    int removedViews = 0;
    // Tables and views left to export (0 when no pattern was given).
    int keptObjects = 0;
    // True when patterns were given and no table or view is left to export.
    bool leavesNothing = false;
    // One `warning: ...` line (without the prefix) per pattern that matched
    // no table or view.
    std::vector<std::string> warnings;
};

// Applies --include and --exclude to every table and view of the model: with
// no include pattern everything is included; an exclude wins over an include.
// A table left out gets level code 1, and so do its columns, so that nothing
// is exported for it and views lose their links to its columns; the bridge
// then drops references, indexes and shortcuts to it as for any excluded
// table. The bridge exports every view, so a view left out is deleted from the
// model together with its symbols (views built on it lose their column
// sources). Without patterns the model is not touched.
SelectionOutcome applySelection(ORXModel& model, const std::vector<std::string>& includes,
                                const std::vector<std::string>& excludes);

// Every design package of the model, nested ones included, parents first.
std::vector<ORXDesignPackage*> designPackagesOf(ORXModel& model);

}  // namespace cli
