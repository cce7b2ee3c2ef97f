#include "cli/DiagramLayout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <string>
#include <unordered_map>
#include <vector>

#include "cli/DiagramMetrics.h"
#include "cli/Selection.h"

namespace cli {

namespace {

// Spaces between boxes, in model units.
constexpr int kGapX = 60;               // between boxes of a row
constexpr int kGapY = 50;               // between layers of a group
constexpr int kGroupGapX = 120;         // between groups of a row
constexpr int kGroupGapY = 80;          // between rows of groups
constexpr int kMargin = 40;             // around the whole layout
constexpr double kAspect = 1.6;         // wanted width : height, in drawing units
constexpr int kTypeChars = 12;          // room kept for a column's type at least
constexpr int kLongestTypeChars = 24;   // and at most
constexpr std::size_t kNameLimit = 60;  // longer names are cut when measured

int characterCount(const std::string& text) {
    int count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return std::min(count, static_cast<int>(kNameLimit));
}

int nameChars(const ORXObject& object) {
    const ORXString& name = object.getName();
    if (!name.empty())
        return characterCount(name.str());
    if (object.isInstanceOf(ORX_ET_ELEMENT))
        return characterCount(static_cast<const ORXElement&>(object).getPhysicalName().str());
    return 0;
}

// The characters a column's type is likely to take once the export has
// mapped it ("VARCHAR2(30)", "NUMBER(10,2)"); the target is not known yet.
int typeChars(const ORXAttribute& attribute) {
    const ORXType* type = attribute.getType();
    if (!type)
        return kTypeChars;
    std::string text = type->getDataType().str();
    if (text.rfind("SQL_", 0) == 0)
        text = text.substr(4);
    if (type->getLength() != 0)
        text += "(" + std::to_string(type->getLength()) + ")";
    if (type->getScale() != 0)
        text += "," + std::to_string(type->getScale());
    return std::clamp(static_cast<int>(text.size()), kTypeChars, kLongestTypeChars);
}

int roundUpEven(int value) {
    return value + (value & 1);
}

int ceilDiv(int value, int divisor) {
    return (value + divisor - 1) / divisor;
}

struct Node {
    ORXPresentationElement* symbol = nullptr;
    BoxSize size;
    std::vector<int> parents;
    int layer = -1;
    double order = 0;       // place within its layer
    int left = 0, top = 0;  // within the group, then on the diagram
};

struct Group {
    std::vector<int> members;  // node indexes in diagram order
    int width = 0, height = 0;
    int left = 0, top = 0;
};

bool isBoxSubject(const ORXModelObject* subject) {
    return subject && (subject->getElementType() == ORX_ET_CLASS ||
                       subject->getElementType() == ORX_ET_SQL_VIEW_ENTITY);
}

ORXAssociationRole* parentRoleOf(ORXAssociation* association) {
    ORXAssociationRole* first = association->getAssociationRole(0);
    return first && first->isSource() ? first : association->getAssociationRole(1);
}

ORXAssociationRole* childRoleOf(ORXAssociation* association) {
    ORXAssociationRole* first = association->getAssociationRole(0);
    return first && first->isSource() ? association->getAssociationRole(1) : first;
}

// The parents of each node: for a table, the tables its references point to;
// for a view, the tables and views its columns come from.
void linkParents(std::vector<Node>& nodes,
                 const std::unordered_map<const ORXModelObject*, int>& nodeOf) {
    auto addParent = [&](int child, const ORXModelObject* parent) {
        auto found = nodeOf.find(parent);
        if (found == nodeOf.end() || found->second == child)
            return;
        std::vector<int>& parents = nodes[static_cast<std::size_t>(child)].parents;
        if (std::find(parents.begin(), parents.end(), found->second) == parents.end())
            parents.push_back(found->second);
    };
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        ORXModelObject* subject = nodes[i].symbol->getSubjectModelObject();
        const int child = static_cast<int>(i);
        if (subject->getElementType() == ORX_ET_CLASS) {
            auto* table = static_cast<ORXClass*>(subject);
            for (int r = 0; r < table->getAssociationRoleCount(); ++r) {
                ORXAssociation* association = table->getAssociationRole(r)->getAssociation();
                if (association->getAssociationRoleCount() != 2 ||
                    association->getLevelCode() == 1 ||
                    childRoleOf(association) != table->getAssociationRole(r))
                    continue;
                addParent(child, parentRoleOf(association)->getAssociatedClass());
            }
        } else {
            auto* view = static_cast<ORXSQLViewEntity*>(subject);
            for (int c = 0; c < view->getSQLViewAttributeCount(); ++c) {
                ORXFeature* source = view->getSQLViewAttribute(c)->getSourceFeature();
                if (source && source->getClassifier())
                    addParent(child, source->getClassifier());
            }
        }
    }
}

std::vector<Group> findGroups(const std::vector<Node>& nodes) {
    std::vector<int> root(nodes.size());
    std::iota(root.begin(), root.end(), 0);
    auto find = [&root](int n) {
        while (root[static_cast<std::size_t>(n)] != n) {
            root[static_cast<std::size_t>(n)] =
                root[static_cast<std::size_t>(root[static_cast<std::size_t>(n)])];
            n = root[static_cast<std::size_t>(n)];
        }
        return n;
    };
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        for (int parent : nodes[i].parents) {
            // The smaller index becomes the root, so a group is named by its first member.
            int a = find(static_cast<int>(i)), b = find(parent);
            if (a != b)
                root[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
        }
    }
    std::vector<Group> groups;
    std::unordered_map<int, std::size_t> groupOf;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        int r = find(static_cast<int>(i));
        auto [at, added] = groupOf.emplace(r, groups.size());
        if (added)
            groups.emplace_back();
        groups[at->second].members.push_back(static_cast<int>(i));
    }
    // Larger groups first; the order of first members breaks ties, so loners
    // come last in diagram order.
    std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        return a.members.size() > b.members.size();
    });
    return groups;
}

// Gives each member of the group its layer: one below its lowest parent.
void assignLayers(std::vector<Node>& nodes, const Group& group) {
    std::size_t placed = 0;
    while (placed < group.members.size()) {
        bool progress = false;
        for (int n : group.members) {
            Node& node = nodes[static_cast<std::size_t>(n)];
            if (node.layer >= 0)
                continue;
            int layer = 0;
            bool ready = true;
            for (int parent : node.parents) {
                const Node& p = nodes[static_cast<std::size_t>(parent)];
                if (p.layer < 0) {
                    ready = false;
                    break;
                }
                layer = std::max(layer, p.layer + 1);
            }
            if (!ready)
                continue;
            node.layer = layer;
            ++placed;
            progress = true;
        }
        if (progress)
            continue;
        // A cycle: its first member (fewest parents still unplaced, then
        // diagram order) goes below the parents placed so far.
        int chosen = -1, fewest = 0;
        for (int n : group.members) {
            const Node& node = nodes[static_cast<std::size_t>(n)];
            if (node.layer >= 0)
                continue;
            int unplaced = 0;
            for (int parent : node.parents)
                unplaced += nodes[static_cast<std::size_t>(parent)].layer < 0 ? 1 : 0;
            if (chosen < 0 || unplaced < fewest) {
                chosen = n;
                fewest = unplaced;
            }
        }
        Node& node = nodes[static_cast<std::size_t>(chosen)];
        node.layer = 0;
        for (int parent : node.parents) {
            const Node& p = nodes[static_cast<std::size_t>(parent)];
            if (p.layer >= 0)
                node.layer = std::max(node.layer, p.layer + 1);
        }
        ++placed;
    }
}

// Places the group's members row by row, layer by layer, and sets its size.
void arrangeGroup(std::vector<Node>& nodes, Group& group, int rowLimit) {
    assignLayers(nodes, group);
    int layers = 0;
    for (int n : group.members)
        layers = std::max(layers, nodes[static_cast<std::size_t>(n)].layer + 1);
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(layers));
    for (int n : group.members)
        rows[static_cast<std::size_t>(nodes[static_cast<std::size_t>(n)].layer)].push_back(n);

    // Within a layer, a member sits near the middle of its parents above.
    std::vector<std::vector<int>> lines;
    for (std::vector<int>& row : rows) {
        for (int n : row) {
            Node& node = nodes[static_cast<std::size_t>(n)];
            double sum = 0;
            int count = 0;
            for (int parent : node.parents) {
                const Node& p = nodes[static_cast<std::size_t>(parent)];
                if (p.layer < node.layer) {
                    sum += p.order;
                    ++count;
                }
            }
            node.order = count > 0 ? sum / count : 0;
        }
        std::stable_sort(row.begin(), row.end(), [&nodes](int a, int b) {
            return nodes[static_cast<std::size_t>(a)].order <
                   nodes[static_cast<std::size_t>(b)].order;
        });
        for (std::size_t k = 0; k < row.size(); ++k)
            nodes[static_cast<std::size_t>(row[k])].order = static_cast<double>(k);
        // A layer wider than the limit wraps onto further lines.
        lines.emplace_back();
        int width = 0;
        for (int n : row) {
            const int w = nodes[static_cast<std::size_t>(n)].size.width;
            if (!lines.back().empty() && width + kGapX + w > rowLimit) {
                lines.emplace_back();
                width = 0;
            }
            width += (lines.back().empty() ? 0 : kGapX) + w;
            lines.back().push_back(n);
        }
    }

    std::vector<int> lineWidths;
    for (const std::vector<int>& line : lines) {
        int width = 0;
        for (int n : line)
            width += nodes[static_cast<std::size_t>(n)].size.width;
        width += kGapX * static_cast<int>(line.size() - 1);
        lineWidths.push_back(width);
        group.width = std::max(group.width, width);
    }
    int top = 0;
    for (std::size_t l = 0; l < lines.size(); ++l) {
        int left = (group.width - lineWidths[l]) / 2;
        int height = 0;
        for (int n : lines[l]) {
            Node& node = nodes[static_cast<std::size_t>(n)];
            node.left = left;
            node.top = top;
            left += node.size.width + kGapX;
            height = std::max(height, node.size.height);
        }
        top += height + kGapY;
    }
    group.height = top - kGapY;
}

}  // namespace

BoxSize measureBox(const ORXModelObject& subject) {
    int chars = nameChars(subject);
    int lines = 0;
    if (subject.getElementType() == ORX_ET_CLASS) {
        const auto& table = static_cast<const ORXClass&>(subject);
        for (int a = 0; a < table.getAttributeCount(); ++a) {
            const ORXAttribute& attribute = *table.getAttribute(a);
            if (attribute.getLevelCode() == 1)
                continue;
            ++lines;
            chars = std::max(chars, metrics::kMarkerChars + nameChars(attribute) +
                                        metrics::kTypeGapChars + typeChars(attribute));
        }
    } else if (subject.getElementType() == ORX_ET_SQL_VIEW_ENTITY) {
        const auto& view = static_cast<const ORXSQLViewEntity&>(subject);
        lines = view.getSQLViewAttributeCount();
        for (int c = 0; c < lines; ++c)
            chars =
                std::max(chars, metrics::kMarkerChars + nameChars(*view.getSQLViewAttribute(c)));
    }
    BoxSize size;
    size.width = roundUpEven(ceilDiv(metrics::boxWidthFor(chars), metrics::kDefaultScaleX));
    size.height = roundUpEven(ceilDiv(metrics::boxHeightFor(lines), metrics::kDefaultScaleY));
    return size;
}

bool needsLayout(const ORXDiagram& diagram) {
    struct Box {
        long long left, top, right, bottom;
    };
    std::vector<Box> boxes;
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i) {
        const ORXPresentationElement* symbol = diagram.getPresentationElement(i);
        if (!isBoxSubject(symbol->getSubjectModelObject()))
            continue;
        const long long x = symbol->getX(), y = symbol->getY();
        if (x == 0 || y == 0)
            return true;
        const long long hw = symbol->getWidth() / 2, hh = symbol->getHeight() / 2;
        boxes.push_back({x - hw, y - hh, x + hw, y + hh});
    }
    // Boxes sorted by their left side: only those that start before a box
    // ends can overlap it.
    std::sort(boxes.begin(), boxes.end(),
              [](const Box& a, const Box& b) { return a.left < b.left; });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size() && boxes[j].left <= boxes[i].right; ++j) {
            const Box& a = boxes[i];
            const Box& b = boxes[j];
            const bool samePlace =
                a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
            const bool crossing =
                a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
            if (samePlace || crossing)
                return true;
        }
    }
    return false;
}

void layoutDiagram(ORXDiagram& diagram) {
    std::vector<Node> nodes;
    std::unordered_map<const ORXModelObject*, int> nodeOf;
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i) {
        ORXPresentationElement* symbol = diagram.getPresentationElement(i);
        ORXModelObject* subject = symbol->getSubjectModelObject();
        if (!isBoxSubject(subject))
            continue;
        Node node;
        node.symbol = symbol;
        node.size = measureBox(*subject);
        nodeOf.emplace(subject, static_cast<int>(nodes.size()));
        nodes.push_back(node);
    }
    if (nodes.empty())
        return;
    linkParents(nodes, nodeOf);
    std::vector<Group> groups = findGroups(nodes);

    // Rows as wide as a picture of the wanted aspect holding every box.
    double area = 0;
    int widest = 0;
    for (const Node& node : nodes) {
        area += static_cast<double>(node.size.width + kGapX) * metrics::kDefaultScaleX *
                (node.size.height + kGapY) * metrics::kDefaultScaleY;
        widest = std::max(widest, node.size.width);
    }
    const int rowLimit =
        std::max(widest, static_cast<int>(std::sqrt(area * kAspect) / metrics::kDefaultScaleX));
    for (Group& group : groups)
        arrangeGroup(nodes, group, rowLimit);

    // Groups packed in rows, left to right.
    int left = kMargin, top = kMargin, rowHeight = 0;
    for (Group& group : groups) {
        if (left > kMargin && left + group.width > kMargin + rowLimit) {
            left = kMargin;
            top += rowHeight + kGroupGapY;
            rowHeight = 0;
        }
        group.left = left;
        group.top = top;
        left += group.width + kGroupGapX;
        rowHeight = std::max(rowHeight, group.height);
    }
    for (const Group& group : groups) {
        for (int n : group.members) {
            Node& node = nodes[static_cast<std::size_t>(n)];
            const int x = group.left + node.left + node.size.width / 2;
            const int y = group.top + node.top + node.size.height / 2;
            node.symbol->setGeometry(x, y, node.size.width, node.size.height);
        }
    }

    // A reference symbol has no place of its own in the document; it is put
    // between its two tables so that the model reads sensibly.
    for (int i = 0; i < diagram.getPresentationElementCount(); ++i) {
        ORXPresentationElement* symbol = diagram.getPresentationElement(i);
        ORXModelObject* subject = symbol->getSubjectModelObject();
        if (!subject || subject->getElementType() != ORX_ET_ASSOCIATION)
            continue;
        auto* association = static_cast<ORXAssociation*>(subject);
        if (association->getAssociationRoleCount() != 2)
            continue;
        auto a = nodeOf.find(association->getAssociationRole(0)->getAssociatedClass());
        auto b = nodeOf.find(association->getAssociationRole(1)->getAssociatedClass());
        if (a == nodeOf.end() || b == nodeOf.end())
            continue;
        const ORXPresentationElement* first = nodes[static_cast<std::size_t>(a->second)].symbol;
        const ORXPresentationElement* second = nodes[static_cast<std::size_t>(b->second)].symbol;
        symbol->setGeometry((first->getX() + second->getX()) / 2,
                            (first->getY() + second->getY()) / 2, 0, 0);
    }
}

int layoutDiagrams(ORXModel& model, LayoutMode mode) {
    if (mode == LayoutMode::None)
        return 0;
    int laidOut = 0;
    for (ORXDesignPackage* package : designPackagesOf(model)) {
        for (int d = 0; d < package->getDiagramCount(); ++d) {
            ORXDiagram& diagram = *package->getDiagram(d);
            if (mode == LayoutMode::All || needsLayout(diagram)) {
                layoutDiagram(diagram);
                ++laidOut;
            }
        }
    }
    return laidOut;
}

}  // namespace cli
