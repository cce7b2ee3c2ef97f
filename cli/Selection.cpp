#include "cli/Selection.h"

#include <cstddef>

namespace cli {

namespace {

constexpr const char* kIgnoreCasePrefix = "(?i)";

char foldCase(char c, bool ignoreCase) {
    if (ignoreCase && c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c;
}

// The length of the UTF-8 character starting at `at` (1 for a stray byte), so
// that `?` and a set consume whole characters.
std::size_t characterLength(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::size_t end = at + 1;
    while (end < text.size() && end < at + length &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - at;
}

// Matches the set starting at glob[g] == '[' against the character at
// name[n]. Sets `setEnd` to the position after the closing ']'; returns
// false with setEnd == npos when the set is not closed (it is then literal).
bool matchSet(const std::string& glob, std::size_t g, const std::string& character, bool ignoreCase,
              std::size_t& setEnd) {
    std::size_t i = g + 1;
    bool negated = false;
    if (i < glob.size() && (glob[i] == '!' || glob[i] == '^')) {
        negated = true;
        ++i;
    }
    bool matched = false;
    bool first = true;
    // Ranges compare single bytes, so they are meant for ASCII; a member may
    // be any whole character.
    while (i < glob.size() && (first || glob[i] != ']')) {
        first = false;
        if (glob[i] == '\\' && i + 1 < glob.size())
            ++i;
        std::size_t length = characterLength(glob, i);
        std::string member = glob.substr(i, length);
        i += length;
        if (i + 1 < glob.size() && glob[i] == '-' && glob[i + 1] != ']' && length == 1 &&
            character.size() == 1) {
            char low = foldCase(member[0], ignoreCase);
            std::size_t highAt = i + 1;
            if (glob[highAt] == '\\' && highAt + 1 < glob.size())
                ++highAt;
            char high = foldCase(glob[highAt], ignoreCase);
            char c = foldCase(character[0], ignoreCase);
            if (low <= c && c <= high)
                matched = true;
            i = highAt + 1;
            continue;
        }
        if (member.size() == character.size()) {
            bool same = true;
            for (std::size_t k = 0; k < member.size() && same; ++k)
                same = foldCase(member[k], ignoreCase) == foldCase(character[k], ignoreCase);
            matched = matched || same;
        }
    }
    if (i >= glob.size()) {
        setEnd = std::string::npos;
        return false;
    }
    setEnd = i + 1;
    return matched != negated;
}

// Glob matching with backtracking on the last `*` only, which is enough
// because a later star can always absorb what an earlier one would.
bool globMatch(const std::string& glob, const std::string& name, bool ignoreCase) {
    std::size_t g = 0, n = 0;
    std::size_t starGlob = std::string::npos, starName = 0;
    while (n < name.size()) {
        bool advanced = false;
        if (g < glob.size()) {
            const char p = glob[g];
            if (p == '*') {
                starGlob = ++g;
                starName = n;
                continue;
            }
            std::size_t length = characterLength(name, n);
            if (p == '?') {
                g += 1;
                n += length;
                advanced = true;
            } else if (p == '[') {
                std::size_t setEnd = 0;
                bool inSet = matchSet(glob, g, name.substr(n, length), ignoreCase, setEnd);
                if (setEnd == std::string::npos) {
                    // An unclosed '[' stands for itself.
                    if (name[n] == '[') {
                        ++g;
                        ++n;
                        advanced = true;
                    }
                } else if (inSet) {
                    g = setEnd;
                    n += length;
                    advanced = true;
                }
            } else {
                if (p == '\\' && g + 1 < glob.size())
                    ++g;
                if (foldCase(glob[g], ignoreCase) == foldCase(name[n], ignoreCase)) {
                    ++g;
                    ++n;
                    advanced = true;
                }
            }
        }
        if (advanced)
            continue;
        if (starGlob == std::string::npos)
            return false;
        g = starGlob;
        n = starName + characterLength(name, starName);
        starName = n;
    }
    while (g < glob.size() && glob[g] == '*')
        ++g;
    return g == glob.size();
}

void collectPackages(ORXPackage* package, std::vector<ORXDesignPackage*>& out) {
    for (int i = 0; i < package->getChildPackageCount(); ++i) {
        ORXPackage* child = package->getChildPackage(i);
        if (child->getElementType() != ORX_ET_DESIGN_PACKAGE)
            continue;
        out.push_back(static_cast<ORXDesignPackage*>(child));
        collectPackages(child, out);
    }
}

// The texts a pattern is matched against: name and physical name, bare and
// qualified by the owning schema.
std::vector<std::string> namesOf(const ORXModelObject* object) {
    std::vector<std::string> names;
    for (const ORXString* text : {&object->getName(), &object->getPhysicalName()}) {
        if (!text->empty() && (names.empty() || names.front() != text->str()))
            names.push_back(text->str());
    }
    const ORXModelObject* owner = object->getOwner();
    if (owner && owner->getElementType() == ORX_ET_SCHEMA) {
        const std::size_t bare = names.size();
        for (std::size_t i = 0; i < bare; ++i)
            names.push_back(owner->getName().str() + "." + names[i]);
    }
    return names;
}

struct Candidate {
    ORXModelObject* object;
    std::vector<std::string> names;
};

bool anyMatches(const NamePattern& pattern, const Candidate& candidate) {
    for (const std::string& name : candidate.names)
        if (pattern.matches(name))
            return true;
    return false;
}

void deleteView(ORXSQLViewEntity* view) {
    // Symbols are owned by their diagrams and would stay behind without a
    // subject; a model file cannot even hold such a symbol.
    while (view->getPresentationPresentationElementCount() > 0)
        delete view->getPresentationPresentationElement(0);
    delete view;
}

}  // namespace

NamePattern::NamePattern(const std::string& text) : text_(text), glob_(text) {
    if (text.rfind(kIgnoreCasePrefix, 0) == 0) {
        ignoreCase_ = true;
        glob_ = text.substr(std::string(kIgnoreCasePrefix).size());
    }
}

bool NamePattern::matches(const std::string& name) const {
    return globMatch(glob_, name, ignoreCase_);
}

std::vector<ORXDesignPackage*> designPackagesOf(ORXModel& model) {
    std::vector<ORXDesignPackage*> packages;
    collectPackages(&model, packages);
    return packages;
}

SelectionOutcome applySelection(ORXModel& model, const std::vector<std::string>& includes,
                                const std::vector<std::string>& excludes) {
    SelectionOutcome outcome;
    if (includes.empty() && excludes.empty())
        return outcome;
    std::vector<NamePattern> includePatterns(includes.begin(), includes.end());
    std::vector<NamePattern> excludePatterns(excludes.begin(), excludes.end());
    std::vector<bool> includeUsed(includes.size()), excludeUsed(excludes.size());

    std::vector<Candidate> candidates;
    for (ORXDesignPackage* package : designPackagesOf(model)) {
        for (int i = 0; i < package->getModelElementCount(); ++i) {
            ORXModelObject* element = package->getModelElement(i);
            const int type = element->getElementType();
            if (type == ORX_ET_CLASS || type == ORX_ET_SQL_VIEW_ENTITY)
                candidates.push_back({element, namesOf(element)});
        }
    }

    std::vector<ORXSQLViewEntity*> viewsLeftOut;
    for (const Candidate& candidate : candidates) {
        bool included = includePatterns.empty();
        for (std::size_t p = 0; p < includePatterns.size(); ++p) {
            if (anyMatches(includePatterns[p], candidate)) {
                includeUsed[p] = true;
                included = true;
            }
        }
        bool excluded = false;
        for (std::size_t p = 0; p < excludePatterns.size(); ++p) {
            if (anyMatches(excludePatterns[p], candidate)) {
                excludeUsed[p] = true;
                excluded = true;
            }
        }
        ORXModelObject* object = candidate.object;
        if (object->getElementType() == ORX_ET_SQL_VIEW_ENTITY) {
            if (included && !excluded)
                ++outcome.keptObjects;
            else
                viewsLeftOut.push_back(static_cast<ORXSQLViewEntity*>(object));
            continue;
        }
        auto* table = static_cast<ORXClass*>(object);
        if (table->getLevelCode() == 1)
            continue;  // excluded by the model itself
        if (included && !excluded) {
            ++outcome.keptObjects;
            continue;
        }
        table->setLevelCode(1);
        for (int a = 0; a < table->getAttributeCount(); ++a)
            table->getAttribute(a)->setLevelCode(1);
        ++outcome.excludedTables;
    }
    for (ORXSQLViewEntity* view : viewsLeftOut)
        deleteView(view);
    outcome.removedViews = static_cast<int>(viewsLeftOut.size());

    for (std::size_t p = 0; p < includes.size(); ++p)
        if (!includeUsed[p])
            outcome.warnings.push_back("--include '" + includes[p] + "' matches no table or view");
    for (std::size_t p = 0; p < excludes.size(); ++p)
        if (!excludeUsed[p])
            outcome.warnings.push_back("--exclude '" + excludes[p] + "' matches no table or view");
    outcome.leavesNothing = outcome.keptObjects == 0;
    return outcome;
}

}  // namespace cli
