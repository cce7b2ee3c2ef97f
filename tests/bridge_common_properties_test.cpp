// The free-text properties every written object carries: the label or
// comment, the description (with role texts and synonyms) and the notes, in
// each of the three description modes; and a model name no text escapes.

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
    {"kind": "association", "id": "assoc", "name": "Assoc", "comment": "AC", "description": "AD",
     "roles": [
       {"class": "plain", "isSource": false, "comment": "R0C", "description": "R0D"},
       {"class": "empty", "isSource": true, "description": "R1D"}]},
    {"kind": "association", "id": "assocDescOnly", "name": "AssocDescOnly", "description": "AD",
     "roles": [{"class": "plain", "isSource": true, "comment": "P"},
               {"class": "empty", "description": "Q"}]},
    {"kind": "association", "id": "noted", "name": "Noted", "notes": ["a<1>"], "roles": [
       {"class": "plain", "notes": ["r0"]},
       {"class": "empty", "isSource": true, "notes": ["r1a", "r1b"]}]}
  ]}]})";

// The three properties of `object` written in `mode`, inside an element when
// an indentation unit is given.
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
    const auto labl = [](const std::string& text) { return "<a:Labl>" + text + "</a:Labl>\n"; };
    const auto desc = [](const std::string& text) { return "<a:Desc>" + text + "</a:Desc>\n"; };
    const std::string roles = "\nR1D\nR0C";  // the source role first, then the other
    const std::string note = "<a:Note>a&lt;1&gt;\nr0\nr1a\nr1b\n</a:Note>\n";
    const std::vector<Case> cases = {
        {"", "<a:Comment>MC</a:Comment>\n" + desc("MD"), "<a:Comment>MC</a:Comment>\n", desc("MC")},
        {"plain", labl("C") + desc("D"), labl("C"), desc("C")},
        {"descOnly", desc("D2"), labl("D2"), desc("D2")},
        {"empty", "", "", ""},
        {"syn", desc("DSynonyms: S1, S2"), labl("D"), desc("DSynonyms: S1, S2")},
        {"synOnly", labl("C") + desc("Synonyms: S1"), labl("C"), desc("CSynonyms: S1")},
        {"assoc", labl("AC" + roles) + desc("AD" + roles), labl("AC" + roles), desc("AC" + roles)},
        {"assocDescOnly", labl("\nP\nQ") + desc("AD\nP\nQ"), labl("AD\nP\nQ"), desc("AD\nP\nQ")},
        {"noted", labl("\n\n") + desc("\n\n") + note, labl("\n\n") + note, desc("\n\n") + note},
    };
    std::unique_ptr<ORXModel> model = modelFromJson(kModel);
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.id ? c.id : "model");
        ORXObject* object = *c.id ? ModelWalk(*model, c.id).found : model.get();
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(properties(object, 0), c.mode0) << "mode 0";
        EXPECT_EQ(properties(object, 1), c.mode1) << "mode 1";
        EXPECT_EQ(properties(object, 2), c.mode2) << "mode 2";
    }
    // Notes keep their lines at the left margin when the rest is indented.
    EXPECT_EQ(properties(ModelWalk(*model, "noted").found, 0, "\t"),
              "<o:Object>\n\t" + labl("\n\n") + "\t" + desc("\n\n") + note + "</o:Object>\n");
}

TEST(CommonProperties, HostileModelNameStillGivesAWellFormedDocument) {
    TempDir dir;
    std::unique_ptr<ORXModel> model = modelFromJson(kModel);
    model->setName(ORXString("A\"B<C&D?>E\xFF"));
    RecordingLog log;
    const std::string document = exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
    EXPECT_EQ(checkPdmDocument(document), std::vector<std::string>{});
    const std::size_t start = document.find('\n') + 1;
    EXPECT_EQ(document.substr(start, document.find('\n', start) - start),
              "<?PowerDesigner ID=\"{00000000-1337-F331-D34D-000000000001}\" "
              "Name=\"A&quot;B&lt;C&amp;D?&gt;E\xEF\xBF\xBD\" "
              "Type=\"{CDE44E21-9669-11D1-9914-006097355D9B}\" signature=\"PDM_DATA_MODEL_XML\" "
              "version=\"8.0.0.203\"?>");
    EXPECT_NE(document.find("<a:Name>A&quot;B&lt;C&amp;D?&gt;E\xEF\xBF\xBD</a:Name>"),
              std::string::npos);
    // The bytes that did not convert are reported once, just before the end.
    const std::vector<std::string> lines = logLines(log);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4].rfind("VLCM_W0101/" + std::to_string(ORX_SEVERITY_WARNING) + " ", 0), 0u)
        << lines[4];
    EXPECT_EQ(lines[5], logLine("S0009", "Post-processing the model..."));
}

// Every written text that held bytes the writer could not convert counts
// once, however it came to be written: a code that is its name, a physical
// name equal to the name, a default value.
TEST(CommonProperties, EveryWrittenTextWithUnconvertibleBytesIsCounted) {
    struct Case {
        bool physicalName;    // set to the name itself
        const char* initial;  // the column's default value
        const char* counts;   // the message's two numbers
    };
    const std::vector<Case> cases = {
        {false, "", "2 text(s) held bytes that could not be converted to UTF-8; 2 byte(s)"},
        {true, "", "2 text(s) held bytes that could not be converted to UTF-8; 2 byte(s)"},
        {true, "\x1b\x1b", "3 text(s) held bytes that could not be converted to UTF-8; 4 byte(s)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.physicalName ? "physical name, " : "") + "default of " +
                     std::to_string(std::string(c.initial).size()));
        std::unique_ptr<ORXModel> model = modelFromJson(R"({
          "format": "orx-model", "version": 1, "name": "M", "packages": [
            {"kind": "design", "name": "Main", "elements": [
              {"kind": "class", "id": "t", "name": "T", "attributes": [
                {"name": "C", "type": {"dataType": "SQL_INTEGER"}}]}]}]})");
        ORXClass* table = static_cast<ORXClass*>(ModelWalk(*model, "t").found);
        ASSERT_NE(table, nullptr);
        // A model file holds UTF-8 only; a database source may hand over
        // other bytes, as here.
        ORXAttribute* column = table->getAttribute(0);
        column->setName(ORXString("C\xFF"));
        if (c.physicalName)
            column->setPhysicalName(column->getName());
        column->setInitialValue(ORXString(c.initial));
        TempDir dir;
        RecordingLog log;
        exportThroughRun(*model, {{"File", dir.file("out.pdm")}}, log);
        const std::vector<std::string> lines = logLines(log);
        ASSERT_EQ(lines.size(), 6u);
        EXPECT_EQ(lines[4].rfind("VLCM_W0101/" + std::to_string(ORX_SEVERITY_WARNING) + " ", 0), 0u)
            << lines[4];
        EXPECT_NE(lines[4].find(c.counts), std::string::npos) << lines[4];
    }
}

}  // namespace
