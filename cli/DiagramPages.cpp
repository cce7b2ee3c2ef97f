#include "cli/DiagramPages.h"

#include <cstdlib>
#include <pugixml.hpp>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "cli/HostError.h"

namespace cli {

namespace {

// The document's objects by identifier (Id) and by OID, so that references
// (Ref) and shortcuts (ExtOID) can be followed.
class ObjectIndex {
  public:
    explicit ObjectIndex(const pugi::xml_document& document) {
        std::vector<pugi::xml_node> pending{document.document_element()};
        while (!pending.empty()) {
            pugi::xml_node node = pending.back();
            pending.pop_back();
            if (pugi::xml_attribute id = node.attribute("Id")) {
                byId_.emplace(id.value(), node);
                if (pugi::xml_node oid = node.child("a:OID"))
                    byOid_.emplace(oid.text().get(), node);
                const std::string_view name = node.name();
                if (name == "o:SPdmDiagram")
                    diagrams.push_back(node);
                else if (name == "o:SPdoObjRfjn")
                    joins.push_back(node);
            }
            for (pugi::xml_node child = node.last_child(); child; child = child.previous_sibling())
                if (child.type() == pugi::node_element)
                    pending.push_back(child);
        }
    }

    // The full element that `node` stands for: itself, or what its Ref names
    // (an empty node when nothing has that identifier).
    pugi::xml_node resolve(pugi::xml_node node) const {
        pugi::xml_attribute ref = node.attribute("Ref");
        if (!ref)
            return node;
        auto found = byId_.find(ref.value());
        return found == byId_.end() ? pugi::xml_node() : found->second;
    }

    // Like resolve, and a shortcut is followed to its target when the
    // document holds it.
    pugi::xml_node resolveObject(pugi::xml_node node) const {
        pugi::xml_node object = resolve(node);
        if (std::string_view(object.name()) == "o:SRepShortcut") {
            auto found = byOid_.find(object.child("a:ExtOID").text().get());
            if (found != byOid_.end())
                return found->second;
        }
        return object;
    }

    // The first element child of `collection`, resolved.
    pugi::xml_node first(pugi::xml_node collection) const {
        pugi::xml_node child =
            collection.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; });
        return child ? resolveObject(child) : pugi::xml_node();
    }

    // Full diagram and join elements, in document order.
    std::vector<pugi::xml_node> diagrams;
    std::vector<pugi::xml_node> joins;

  private:
    std::unordered_map<std::string, pugi::xml_node> byId_;
    std::unordered_map<std::string, pugi::xml_node> byOid_;
};

std::string nameOf(pugi::xml_node object) {
    std::string name = object.child("a:Name").text().get();
    return name.empty() ? object.child("a:Code").text().get() : name;
}

// "((left,-top), (right,-bottom))" with or without the blank.
bool parseRectangle(const char* text, PageBox& box) {
    long long values[4];
    const char* p = text;
    for (long long& value : values) {
        while (*p && *p != '-' && (*p < '0' || *p > '9'))
            ++p;
        if (!*p)
            return false;
        char* end = nullptr;
        value = std::strtoll(p, &end, 10);
        if (end == p)
            return false;
        p = end;
    }
    box.left = values[0];
    box.top = -values[1];
    box.right = values[2];
    box.bottom = -values[3];
    return true;
}

// The identifiers of every column that is the child end of a join.
std::unordered_set<std::string> foreignKeyColumns(const ObjectIndex& index) {
    std::unordered_set<std::string> columns;
    for (pugi::xml_node join : index.joins) {
        pugi::xml_node column = index.first(join.child("c:Obj2"));
        if (column)
            columns.insert(column.attribute("Id").value());
    }
    return columns;
}

void readTable(pugi::xml_node table, const ObjectIndex& index,
               const std::unordered_set<std::string>& foreignKeys, PageBox& box) {
    std::unordered_set<std::string> primaryKey;
    if (pugi::xml_node key = index.first(table.child("c:PKey"))) {
        for (pugi::xml_node member : key.child("c:KEY.Columns").children())
            if (pugi::xml_node column = index.resolve(member))
                primaryKey.insert(column.attribute("Id").value());
    }
    for (pugi::xml_node member : table.child("c:Columns").children()) {
        pugi::xml_node column = index.resolve(member);
        if (!column)
            continue;
        const std::string id = column.attribute("Id").value();
        box.columns.push_back({nameOf(column), column.child("a:Dttp").text().get(),
                               primaryKey.count(id) > 0, foreignKeys.count(id) > 0});
    }
}

void readView(pugi::xml_node view, const ObjectIndex& index, PageBox& box) {
    for (pugi::xml_node member : view.child("c:ViewColns").children())
        if (pugi::xml_node column = index.resolve(member))
            box.columns.push_back({nameOf(column), "", false, false});
}

DiagramPage readDiagram(pugi::xml_node diagram, const ObjectIndex& index,
                        const std::unordered_set<std::string>& foreignKeys) {
    DiagramPage page;
    page.name = nameOf(diagram);
    std::vector<pugi::xml_node> symbols;
    std::unordered_set<std::string> seen;
    for (pugi::xml_node member : diagram.child("c:Symbols").children()) {
        pugi::xml_node symbol = index.resolve(member);
        if (symbol && seen.insert(symbol.attribute("Id").value()).second)
            symbols.push_back(symbol);
    }

    std::unordered_map<std::string, int> boxOf;
    for (pugi::xml_node symbol : symbols) {
        const std::string_view kind = symbol.name();
        if (kind != "o:SPdmSymTabl" && kind != "o:SPdmSymView")
            continue;
        PageBox box;
        box.view = kind == "o:SPdmSymView";
        if (!parseRectangle(symbol.child("a:ClipRect").text().get(), box))
            continue;
        pugi::xml_node object = index.first(symbol.child("c:Object"));
        box.name = nameOf(object);
        if (std::string_view(object.name()) == "o:SPdoObjTabl")
            readTable(object, index, foreignKeys, box);
        else if (std::string_view(object.name()) == "o:SPdoObjView")
            readView(object, index, box);
        boxOf.emplace(symbol.attribute("Id").value(), static_cast<int>(page.boxes.size()));
        page.boxes.push_back(std::move(box));
    }
    for (pugi::xml_node symbol : symbols) {
        if (std::string_view(symbol.name()) != "o:SPdmSymRefr")
            continue;
        pugi::xml_node child = index.first(symbol.child("c:LinkSrc"));
        pugi::xml_node parent = index.first(symbol.child("c:LinkDst"));
        auto childBox = boxOf.find(child.attribute("Id").value());
        auto parentBox = boxOf.find(parent.attribute("Id").value());
        if (!child || !parent || childBox == boxOf.end() || parentBox == boxOf.end())
            continue;
        pugi::xml_node reference = index.first(symbol.child("c:Object"));
        page.links.push_back(
            {childBox->second, parentBox->second, reference.child("a:Card").text().get()});
    }
    return page;
}

}  // namespace

std::vector<DiagramPage> readDiagramPages(const std::string& text,
                                          const std::string& documentName) {
    pugi::xml_document document;
    pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed) {
        throw HostError(documentName + ": cannot read the exported document: " +
                        parsed.description() + " at byte " + std::to_string(parsed.offset));
    }
    const ObjectIndex index(document);
    const std::unordered_set<std::string> foreignKeys = foreignKeyColumns(index);
    std::vector<DiagramPage> pages;
    for (pugi::xml_node diagram : index.diagrams)
        pages.push_back(readDiagram(diagram, index, foreignKeys));
    return pages;
}

}  // namespace cli
