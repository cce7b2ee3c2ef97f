#pragma once
// Structural checks of a written PDM document: it parses as XML, no Id
// repeats, every Ref names an Id of the same element kind, and every a:OID
// carries its element's identifier.

#include <cstdio>
#include <map>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <vector>

namespace pdmtest {

// The problems found in `document` (empty when it is sound).
inline std::vector<std::string> checkPdmDocument(const std::string& document) {
    std::vector<std::string> problems;
    pugi::xml_document xml;
    pugi::xml_parse_result parsed =
        xml.load_buffer(document.data(), document.size(), pugi::parse_default | pugi::parse_pi);
    if (!parsed) {
        problems.push_back(std::string("not well-formed XML: ") + parsed.description() +
                           " at offset " + std::to_string(parsed.offset));
        return problems;
    }
    std::map<std::string, std::string> kindOfId;            // "o12" -> element name
    std::vector<std::pair<std::string, std::string>> refs;  // element name, "o12"
    std::string guidPrefix;

    struct Walker : pugi::xml_tree_walker {
        std::map<std::string, std::string>* kinds;
        std::vector<std::pair<std::string, std::string>>* refs;
        std::vector<std::string>* problems;
        std::string* prefix;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() != pugi::node_element)
                return true;
            if (pugi::xml_attribute id = node.attribute("Id")) {
                std::string value = id.value();
                if (!kinds->emplace(value, node.name()).second)
                    problems->push_back("Id " + value + " repeats (" + node.name() + ")");
                if (pugi::xml_node oid = node.child("a:OID")) {
                    std::string text = oid.text().get();
                    char expected[32];
                    std::snprintf(expected, sizeof expected, "%012d", std::atoi(value.c_str() + 1));
                    if (text.size() != 24 + 12 || text.substr(24) != expected)
                        problems->push_back("a:OID " + text + " does not match Id " + value);
                    else if (prefix->empty())
                        *prefix = text.substr(0, 24);
                    else if (text.substr(0, 24) != *prefix)
                        problems->push_back("a:OID " + text + " has another prefix");
                }
            }
            if (pugi::xml_attribute ref = node.attribute("Ref"))
                refs->emplace_back(node.name(), ref.value());
            return true;
        }
    } walker;
    walker.kinds = &kindOfId;
    walker.refs = &refs;
    walker.problems = &problems;
    walker.prefix = &guidPrefix;
    xml.traverse(walker);

    for (const auto& [name, id] : refs) {
        auto found = kindOfId.find(id);
        if (found == kindOfId.end())
            problems.push_back("Ref " + id + " (" + name + ") names no Id");
        else if (found->second != name)
            problems.push_back("Ref " + id + " (" + name + ") names a " + found->second);
    }
    return problems;
}

}  // namespace pdmtest
