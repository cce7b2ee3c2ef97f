// The free-text properties every written object carries: the label or
// comment, the description (with role texts and synonyms) and the notes, in
// each of the three description modes.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/DriverSupport.h"
#include "support/PdmCheck.h"

using namespace pdmtest;

namespace {

const char* const kModel = R"({
  "format": "orx-model", "version": 1, "name": "M", "comment": "MC", "description": "MD",
  "packages": [{"kind": "design", "name": "Main", "elements": [
    {"kind": "class", "id": "plain", "name": "Plain", "comment": "C", "description": "D"},
    {"kind": "class", "id": "descOnly", "name": "DescOnly", "description": "D2"},
    {"kind": "class", "id": "empty", "name": "Empty"},
    {"kind": "class", "id": "syn", "name": "Syn", "description": "D", "synonyms": ["S1", "S2"]},
    {"kind": "class", "id": "synOnly", "name": "SynOnly", "comment": "C", "synonyms": ["S1"]},
    {"kind": "class", "id": "noted", "name": "Noted", "notes": ["n1", "n<2>", "n3"]},
    {"kind": "association", "id": "assoc", "name": "Assoc", "comment": "AC", "description": "AD",
     "roles": [
       {"class": "plain", "isSource": false, "comment": "R0C", "description": "R0D"},
       {"class": "empty", "isSource": true, "description": "R1D"}]},
    {"kind": "association", "id": "assocDescOnly", "name": "AssocDescOnly", "description": "AD",
     "roles": [
       {"class": "plain", "isSource": true, "comment": "P"},
       {"class": "empty", "description": "Q"}]},
    {"kind": "association", "id": "emptyAssoc", "name": "EmptyAssoc", "roles": [
       {"class": "plain", "isSource": true}, {"class": "empty"}]},
    {"kind": "association", "id": "notedAssoc", "name": "NotedAssoc", "notes": ["a1"], "roles": [
       {"class": "plain", "notes": ["r0"]},
       {"class": "empty", "isSource": true, "notes": ["r1a", "r1b"]}]},
    {"kind": "association", "id": "roleNoteOnly", "name": "RoleNoteOnly", "roles": [
       {"class": "plain", "isSource": true}, {"class": "empty", "notes": ["only"]}]}
  ]}]})";

std::string labl(const std::string& text) {
    return "<a:Labl>" + text + "</a:Labl>\n";
}

std::string desc(const std::string& text) {
    return "<a:Desc>" + text + "</a:Desc>\n";
}

// The three properties of `object` written in `mode`.
std::string properties(ORXObject* object, int mode, const std::string& indentUnit = "") {
    WriterCapture capture;
    capture.bridge.descriptionMode = mode;
    capture.bridge.setIndentUnit(ORXString(indentUnit.c_str()));
    if (!indentUnit.empty())
        capture.bridge.printCollectionStart("o:Object");
    capture.bridge.writeLabelOrComment(object);
    capture.bridge.writeDescription(object);
    capture.bridge.writeNotes(object);
    if (!indentUnit.empty())
        capture.bridge.printElementEnd("o:Object");
    return capture.take();
}

TEST(CommonProperties, EachObjectInEachDescriptionMode) {
    struct Case {
        const char* id;  // empty: the model itself
        std::string mode0, mode1, mode2;
    };
    const std::string roles = "\nR1D\nR0C";  // first (source) role, then the other
    const std::string notedAssocNote = "<a:Note>a1\nr0\nr1a\nr1b\n</a:Note>\n";
    const std::vector<Case> cases = {
        {"", "<a:Comment>MC</a:Comment>\n" + desc("MD"), "<a:Comment>MC</a:Comment>\n", desc("MC")},
        {"plain", labl("C") + desc("D"), labl("C"), desc("C")},
        {"descOnly", desc("D2"), labl("D2"), desc("D2")},
        {"empty", "", "", ""},
        {"syn", desc("DSynonyms: S1, S2"), labl("D"), desc("DSynonyms: S1, S2")},
        {"synOnly", labl("C") + desc("Synonyms: S1"), labl("C"), desc("CSynonyms: S1")},
        {"noted", "<a:Note>n1\nn&lt;2&gt;\nn3\n</a:Note>\n",
         "<a:Note>n1\nn&lt;2&gt;\nn3\n</a:Note>\n", "<a:Note>n1\nn&lt;2&gt;\nn3\n</a:Note>\n"},
        {"assoc", labl("AC" + roles) + desc("AD" + roles), labl("AC" + roles), desc("AC" + roles)},
        {"assocDescOnly", labl("\nP\nQ") + desc("AD\nP\nQ"), labl("AD\nP\nQ"), desc("AD\nP\nQ")},
        {"emptyAssoc", labl("\n\n") + desc("\n\n"), labl("\n\n"), desc("\n\n")},
        {"notedAssoc", labl("\n\n") + desc("\n\n") + notedAssocNote, labl("\n\n") + notedAssocNote,
         desc("\n\n") + notedAssocNote},
        {"roleNoteOnly", labl("\n\n") + desc("\n\n") + "<a:Note>only\n</a:Note>\n",
         labl("\n\n") + "<a:Note>only\n</a:Note>\n", desc("\n\n") + "<a:Note>only\n</a:Note>\n"},
    };
    std::unique_ptr<ORXModel> model = modelFromJson(kModel);
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.id ? c.id : "model");
        ORXObject* object = *c.id ? findById(*model, c.id) : model.get();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(properties(object, 0), c.mode0) << "mode 0";
        EXPECT_EQ(properties(object, 1), c.mode1) << "mode 1";
        EXPECT_EQ(properties(object, 2), c.mode2) << "mode 2";
    }
}

TEST(CommonProperties, NotesAreNeverIndented) {
    std::unique_ptr<ORXModel> model = modelFromJson(kModel);
    ORXObject* noted = findById(*model, "notedAssoc");
    ASSERT_NE(noted, nullptr);
    EXPECT_EQ(properties(noted, 0, "\t"),
              "<o:Object>\n"
              "\t<a:Labl>\n\n</a:Labl>\n"
              "\t<a:Desc>\n\n</a:Desc>\n"
              "<a:Note>a1\nr0\nr1a\nr1b\n</a:Note>\n"
              "</o:Object>\n");
}

TEST(CommonProperties, WholeDocumentsStaySoundInEveryMode) {
    for (const char* mode : {"Comment & Description", "Comment", "Notes/Description"}) {
        SCOPED_TRACE(mode);
        TempDir dir;
        std::unique_ptr<ORXModel> model = salesModel();
        RecordingLog log;
        const std::string document = exportThroughRun(*model,
                                                      {{"File", dir.file("out.pdm")},
                                                       {"Description", mode},
                                                       {"XML Indentation (pretty printing)", "\t"}},
                                                      log);
        for (const std::string& problem : checkPdmDocument(document))
            ADD_FAILURE() << problem;
    }
}

}  // namespace
