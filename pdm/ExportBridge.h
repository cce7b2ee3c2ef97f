#pragma once
// The export bridge: runs one export of a repository model to a PDM document.
// It is the XML writer through which every writer prints; the operations of
// this one class are spread over the files of prepare/ and pdm/, one file per
// kind of PDM object.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orx/ORXLog.h"
#include "orx/ORXModel.h"
#include "orx/ORXOption.h"
#include "orx/ORXString.h"
#include "orx/ORXVector.h"
#include "orx/ORXXMLWriter.h"
#include "pdm/ExportRecord.h"
#include "pdm/NameHashtable.h"
#include "pdm/NameStore.h"
#include "pdm/ReusableLists.h"
#include "prepare/DatatypeTables.h"
#include "prepare/DbmsCatalogue.h"

// Everything is public: the class is internal to the library, and the tests
// drive its writers one by one.
class ORXSybasePowerDesignerPdm08ExportBridge : public ORXXMLWriter {
  public:
    explicit ORXSybasePowerDesignerPdm08ExportBridge(ORXLog* log);
    // Runs postProcess once more (it then changes nothing) and never raises.
    ~ORXSybasePowerDesignerPdm08ExportBridge() override;

    // Exports `model` with the option values of `options`; returns true or raises.
    bool exportModel(ORXModel* model, ORXOptionList& options);

    // ---- Target DBMS ----------------------------------------------------------
    // Chooses the target DBMS by option or by detection from the first catalog.
    void selectTargetDbms(ORXOptionList& options, ORXCatalog* firstCatalog, ORXLog* exportLog);
    const DbmsDescriptor& targetDbms() const { return dbmsCatalogue[targetDbmsIndex]; }

    // ---- Pre- and post-processing ---------------------------------------------
    // The pre-order pass over the model that selects what is exported and
    // collects the associations and generalizations to convert.
    class PreprocessOperation : public ORXTraversalOperation {
      public:
        ~PreprocessOperation() = default;
        bool visit(ORXObject* object, void* data) override;
        void leave(ORXObject*, void*) override {}
        void runOn(ORXSybasePowerDesignerPdm08ExportBridge* exportBridge);
        void resolveManyToManyAssociations();
        void convertGeneralizations();
        void moveReferencesToChildPackages();

        ORXSybasePowerDesignerPdm08ExportBridge* bridge = nullptr;
        ORXVector<ORXAssociation*> manyToManyAssociations;
        ORXVector<ORXGeneralization*> generalizations;
        // The tables and domains met, to size the tables of their names.
        int tableCount = 0;
        int domainCount = 0;
    };
    // Frees the export records: visits every object that was given one.
    class ResetGeneralPointer : public ORXTraversalOperation {
      public:
        bool visit(ORXObject* object, void* data) override;
        void leave(ORXObject*, void*) override {}
        void runOn(ORXSybasePowerDesignerPdm08ExportBridge* exportBridge);

        ORXSybasePowerDesignerPdm08ExportBridge* bridge = nullptr;
    };

    bool isClassExported(ORXClass* table);
    bool isAttributeExported(ORXAttribute* column);
    bool isGeneralizationExported(ORXGeneralization* generalization);
    bool isReferenceExported(ORXAssociation* association);
    bool isManyToMany(ORXAssociation* association);
    void ensureProjections(ORXModelObject* object);
    // A new projection of `object` in `diagram`, deleted by post-processing.
    void addProjection(ORXModelObject* object, ORXDiagram* diagram);
    // Whether a many-to-many association may be resolved into an associative
    // table: it and both its tables are exported.
    bool isResolvable(ORXAssociation* association);
    bool findExistingAssociativeTable(ORXClass* table);
    // Closes the file, moves references back, frees every export record and
    // deletes what pre-processing created. Harmless when repeated. A failure
    // to close the file is raised after the model has been restored when
    // `raiseCloseError` is set.
    void postProcess(bool raiseCloseError = false);

    // The parent (referenced) role: role 0 when its source flag is set, else role 1.
    static ORXAssociationRole* parentRole(ORXAssociation* association);
    // The other role.
    static ORXAssociationRole* childRole(ORXAssociation* association);

    // `object` as an element (with physical name, comment, description and
    // notes), or null.
    static const ORXElement* asElement(const ORXObject* object) {
        return object->isInstanceOf(ORX_ET_ELEMENT) ? static_cast<const ORXElement*>(object)
                                                    : nullptr;
    }

    // ---- Records, identifiers, names, emission -------------------------------
    // The object's record, made on the first request. Nearly every step of
    // the export asks for one, so the common case is inline.
    ExportRecord& getExportRecord(ORXObject* object) {
        if (void* pointer = object->getGeneralPointer())
            return *static_cast<ExportRecord*>(pointer);
        return makeExportRecord(object);
    }
    ExportRecord& makeExportRecord(ORXObject* object);
    // The rarer part of the object's record, made (with the record) if missing.
    ExportRecordDetail& getExportDetail(ORXObject* object);
    // The rarer part of the object's record, or null when it has none.
    ExportRecordDetail* findExportDetail(const ORXObject* object);
    int newObjectId();
    int getObjectId(ORXObject* object);
    bool testAndSetWritten(ORXObject* object);
    // The second mention of an object: when `object` has been written in full,
    // writes its reference element `name` and returns true; otherwise marks it
    // written and returns false, and the caller writes it in full.
    bool printRefIfWritten(std::string_view name, ORXObject* object);
    int getShortcutId(ORXObject* object, ORXDesignPackage* package);
    // The exported name and code of `object`: its name (or physical name, or
    // type and identifier) and its physical name (or that name), with the
    // characters they cannot hold replaced. They view the object's texts or,
    // when changed or when `inScratch` is set, nameScratch and codeScratch.
    struct NameAndCode {
        std::string_view name, code;
        // Set when the text holds nothing that XML converts: it is written as it stands.
        bool plainName = false, plainCode = false;
    };
    NameAndCode makeNameAndCode(ORXObject* object, bool inScratch);
    // Works out and stores the object's exported name and code, once.
    void computeNameAndCode(ORXObject* object);
    // Writes a:Name and a:Code of the object's element.
    void printNameAndCode(ORXObject* object);
    // Writes the element `name` holding the object's exported code (none when
    // empty), stored only for tables, domains and objects whose name and code
    // are stored already.
    void printExportCode(std::string_view name, ORXObject* object);
    const ORXString& getExportName(ORXObject* object);
    const ORXString& getExportCode(ORXObject* object);

    void printCollectionStart(std::string_view name);
    void printObjectStart(std::string_view name, int id);
    // printObjectStart followed by the object's a:OID line.
    void printObjectStartWithOid(std::string_view name, int id);
    void printElementEnd(std::string_view name);
    void printObjectRef(std::string_view name, std::string_view attribute, int id);
    void printAttribute(std::string_view name, const ORXString& value, bool skipEmpty);
    void printAttribute(std::string_view name, const char* value);
    // The element `name` holding `value`, converted for XML; never skipped.
    void printText(std::string_view name, std::string_view value);
    // The element `name` holding `text` as it stands: for the texts the export
    // makes itself of digits and fixed ASCII characters, which never need
    // converting, and for texts xmlContent gave.
    void printPlainText(std::string_view name, std::string_view text);
    void printIntegerAttribute(std::string_view name, int value, bool asOid);
    // Writes `text` and an end of line straight to the file, unindented.
    void printLine(const char* text);
    // The lines of the document gather in one block and go to the file in
    // writes of kLineBlock bytes or more instead of one write per line. Each
    // printing operation asks lineRoom() once for room for its whole line,
    // copies the pieces in and hands the end to endLine(). appendRaw() adds
    // text as it stands. flushLines() writes what has gathered: before the
    // file is flushed or closed; discardLines() drops it. The kernel's cost
    // per byte written falls up to writes of about 128 to 256 KiB (25 %
    // from 16 to 64 KiB, 7 % more to 128 KiB); beyond that the block (which
    // has room for two) crowds the model out of the second-level cache.
    static constexpr std::size_t kLineBlock = 128 * 1024;
    char* lineRoom(std::size_t size) {
        if (lineCapacity - lineSize < size)
            makeLineRoom(size);
        return lineData.get() + lineSize;
    }
    void endLine(char* end);
    void makeLineRoom(std::size_t size);
    void appendRaw(std::string_view text);
    void flushLines();
    void discardLines() { lineSize = 0; }
    // The indentation of a new line.
    std::string_view lineIndent() const {
        return indentUnit.empty() ? std::string_view() : currentIndent.view();
    }
    // `text` as XML character data: itself when nothing in it needs
    // converting, else its conversion, kept in xmlScratch until the next call.
    std::string_view xmlContent(std::string_view text);

    // ---- The document -----------------------------------------------------------
    void writeDocument(ORXModel& documentModel);

    // Common properties.
    void writeLabelOrComment(ORXObject* object);
    void writeDescription(ORXObject* object);
    void writeNotes(ORXObject* object);

    // Domains, business rules and datatypes.
    bool isDomainExported(ORXType* type);
    void writeDomain(ORXType* type);
    void writeBusinessRule(ORXAttribute* attribute);
    void writeDatatypeProperties(ORXType* type, const ORXString& defaultText);
    void writeValueList(ORXType* type);

    // Tables, columns and keys.
    void writeTable(ORXClass* table);
    void writeColumn(ORXAttribute* column);
    void writeKey(ORXKey* key);
    bool isKeyExported(ORXKey* key);

    // Indexes.
    void writeIndex(ORXIndex* index);
    void writeIndexColumn(ORXIndexMember* member);
    bool isIndexExported(ORXIndex* index);
    bool isIndexColumnExported(ORXIndexMember* member);

    // References and joins.
    void writeReference(ORXAssociation* association);
    void writeReferenceJoins(ORXForeignKey* foreignKey);
    bool isForeignKeyExported(ORXForeignKey* foreignKey);
    ORXAttribute* findParentColumn(ORXAttribute* column, ORXForeignKey* foreignKey);
    static int toPdmRuleCode(int modelRuleCode);

    // Views.
    void writeView(ORXSQLViewEntity* view);
    void writeViewColumn(ORXSQLViewAttribute* column);
    bool isViewColumnExported(ORXSQLViewAttribute* column);

    // Users, procedures and triggers.
    bool isUserExported(ORXModelObject* schema);
    void writeUser(ORXModelObject* schema);
    void writeProcedure(ORXOperation* operation);
    ORXModelObject* findProcedureOwner(ORXOperation* operation);
    bool isTriggerExported(ORXOperation* operation);
    void writeTrigger(ORXOperation* operation);

    // Packages and shortcuts.
    bool isPackageExported(ORXDesignPackage* package);
    void writePackage(ORXDesignPackage* package);
    bool needsShortcut(ORXModelObject* object, bool checkDiagrams);
    void writeShortcut(ORXModelObject* object);
    bool hasShortcutIn(ORXModelObject* object, ORXDesignPackage* package);
    void computePackagePath(ORXModelObject* object);
    void writeSessionShortcuts(ORXDesignPackage* package);
    // The content of one design package, written into the open collection of
    // the same name (c:Procedures, c:Tables, c:Views, c:References). The
    // model's merged packages and writePackage share them.
    void writePackageProcedures(ORXDesignPackage* package);
    void writePackageTables(ORXDesignPackage* package);
    void writePackageViews(ORXDesignPackage* package);
    void writePackageReferences(ORXDesignPackage* package);
    // The kind (ElementKind) of each element of the package, in order: noted
    // on the first call, the one walk that reads every element object, and
    // noted afresh should the package's element count have changed.
    const std::vector<std::uint8_t>& packageElementKinds(ORXDesignPackage* package);
    // A reference to each shortcut identifier of `ids`, in order.
    void writeShortcutRefs(const ORXVector<int>& ids);

    // Diagrams and symbols.
    void writeDiagram(ORXDiagram* diagram);
    void writeSymbol(ORXPresentationElement* element);
    static int toBlobColor(int color);

    // ---- State -----------------------------------------------------------------
    ORXNameHashtable tableNames{1024};
    ORXNameHashtable tableCodes{1024};
    ORXNameHashtable domainNames{1024};
    ORXNameHashtable domainCodes{1024};
    ORXModel* model = nullptr;
    ORXLog* log;
    // Objects pre-processing created (owned until post-processing deletes them).
    ORXVector<ORXObject*> createdObjects;
    // Associations pre-processing moved into their child table's package.
    ORXVector<ORXAssociation*> movedAssociations;
    int nextObjectId = 1;
    // The text before the twelve digits of every GUID-form identifier.
    std::string guidPrefix;
    int descriptionMode = 0;
    float scaleX = 10.0f;
    float scaleY = 20.0f;
    int targetDbmsIndex = 0;
    const DatatypeMapRow* targetDatatypeTable = dbmsCatalogue[0].datatypeTable;
    // The rows of the target's datatype table by name.
    DatatypeIndex datatypeIndex;
    ORXDesignPackage* currentPackage = nullptr;
    ORXDiagram* currentDiagram = nullptr;
    ORXVector<int> ruleIds;

    // The records handed out. They live in one pool, which is cheaper than an
    // allocation per object and guarantees that post-processing frees every
    // record, also of objects the model no longer reaches. Each record names
    // its object, so post-processing clears exactly the pointers it set
    // instead of walking the whole model.
    static constexpr std::size_t kRecordBlock = 1024;
    std::vector<std::unique_ptr<ExportRecord[]>> recordBlocks;
    std::size_t recordsInLastBlock = kRecordBlock;
    // The rarer parts of the records, by object (few objects have one).
    std::unordered_map<const ORXObject*, ExportRecordDetail> recordDetails;
    // The texts of the exported names and codes, and the scratch strings in
    // which computeNameAndCode assembles them.
    NameStore nameTexts;
    std::string nameScratch, codeScratch, generatedName;
    // Per name table, the next suffix to try for each base name (case-folded):
    // every smaller suffix is known to be taken, so uniquifying stays linear.
    std::unordered_map<std::string, int> tableNameSuffixes, tableCodeSuffixes, domainNameSuffixes,
        domainCodeSuffixes;
    // The lines not yet written to the output file: lineSize bytes of a block
    // of lineCapacity, allocated on the first line.
    std::unique_ptr<char[]> lineData;
    std::size_t lineSize = 0;
    std::size_t lineCapacity = 0;
    // Converted texts, for xmlContent; a column's datatype with its length.
    std::string xmlScratch, datatypeText;
    // The writers' by-position lists, reused from call to call.
    ReusableLists<ORXAttributeByPosition> attributeLists;
    ReusableLists<ORXOperationByPosition> operationLists;
    ReusableLists<ORXIndexMemberByPosition> indexMemberLists;
    ReusableLists<ORXFeatureByPosition> featureLists;

    // Test hooks: the writer's indentation unit and the output file.
    void setIndentUnit(const ORXString& unit) { indentUnit = unit; }
    // The output file, with every line gathered so far written to it.
    ORXFile& file() {
        flushLines();
        return outputFile;
    }
};
