// Diagrams and their table, reference and view symbols.

#include <climits>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "pdm/ExportBridge.h"
#include "pdm/FetchAhead.h"
#include "pdm/NumberText.h"

using Bridge = ORXSybasePowerDesignerPdm08ExportBridge;

namespace {

// Display data of the symbols: fonts (Arial,8,N) and colours, in hexadecimal.
// The \r\n pairs are part of the text.
constexpr std::string_view kTableBlob =
    "02000000040000000A417269616C2C382C4E00%06X00050000000A41726961\r\n"
    "6C2C382C4E0000000000%06X10%06X0100000000C8C8C800C8C8C800";
constexpr std::string_view kReferenceBlob =
    "0100000001000000000000000A417269616C2C382C4E00%06X00%06X0100\r\n"
    "000000C8C8C800C8C8C800";
constexpr std::string_view kViewBlob =
    "03000000040000000A417269616C2C382C4E00%06X00050000000A41726961\r\n"
    "6C2C382C4E0000000000050000000A417269616C2C382C4E0000000000%06X\r\n"
    "10%06X0100000000C8C8C800C8C8C800";

// The display data `pattern` with each "%06X" replaced by the next of
// `colours` (each below 0x1000000) in six hexadecimal digits. Every table and
// reference symbol has one, so the text is put together without printf.
struct BlobText {
    char text[512];
    std::size_t length = 0;
    BlobText(std::string_view pattern, std::initializer_list<int> colours) {
        static constexpr std::string_view kSlot = "%06X";
        char* p = text;
        const int* colour = colours.begin();
        std::size_t from = 0;
        for (std::size_t slot; (slot = pattern.find(kSlot, from)) != std::string_view::npos;) {
            p = writeHex6(put(p, pattern.substr(from, slot - from)),
                          static_cast<unsigned>(*colour++));
            from = slot + kSlot.size();
        }
        length = static_cast<std::size_t>(put(p, pattern.substr(from)) - text);
    }
    std::string_view view() const { return {text, length}; }

  private:
    static char* put(char* out, std::string_view piece) {
        std::memcpy(out, piece.data(), piece.size());
        return out + piece.size();
    }
};

// The text of a clipping rectangle, formatted in place: one per symbol, so
// it is not worth a string of its own.
struct ClipText {
    char text[96];
    std::size_t length = 0;
    std::string_view view() const { return {text, length}; }
};

// The clipping rectangle of a table or view symbol. A symbol without a
// position (x or y is 0) gets the fixed 4000 x 4000 rectangle, unscaled.
ClipText clipRectangle(const ORXPresentationElement* element, float scaleX, float scaleY) {
    int left = 0, top = 0, right = 4000, bottom = 4000;
    const int x = element->getX(), y = element->getY();
    if (x != 0 && y != 0) {
        const int hw = element->getWidth() / 2, hh = element->getHeight() / 2;
        // Products beyond the 32-bit range saturate instead of overflowing.
        auto scaled = [](long long value, float factor) {
            double product = static_cast<double>(value) * static_cast<double>(factor);
            if (product >= 2147483647.0)
                return 2147483647;
            if (product <= -2147483648.0)
                return static_cast<int>(-2147483647 - 1);
            return static_cast<int>(product);
        };
        left = scaled(static_cast<long long>(x) - hw, scaleX);
        top = scaled(static_cast<long long>(y) - hh, scaleY);
        right = scaled(static_cast<long long>(x) + hw, scaleX);
        bottom = scaled(static_cast<long long>(y) + hh, scaleY);
    }
    // The Y values change sign; the lowest int has no positive counterpart and
    // saturates to the highest.
    auto negated = [](int value) { return value == INT_MIN ? INT_MAX : -value; };
    ClipText clip;
    char* p = clip.text;
    *p++ = '(';
    *p++ = '(';
    p = writeDecimal(p, left);
    *p++ = ',';
    p = writeDecimal(p, negated(top));
    for (char c : {')', ',', ' ', '('})
        *p++ = c;
    p = writeDecimal(p, right);
    *p++ = ',';
    p = writeDecimal(p, negated(bottom));
    *p++ = ')';
    *p++ = ')';
    clip.length = static_cast<std::size_t>(p - clip.text);
    return clip;
}

}  // namespace

int Bridge::toBlobColor(int color) {
    // Colours outside 0..0xFFFFFF are masked to 24 bits first, so the
    // six-digit format always gives six digits.
    const unsigned value = static_cast<unsigned>(color) & 0xFFFFFFu;
    return static_cast<int>(((value & 0xFFu) << 16) | (value & 0xFF00u) | ((value >> 16) & 0xFFu));
}

void Bridge::writeDiagram(ORXDiagram* diagram) {
    currentDiagram = diagram;
    if (printRefIfWritten("o:SPdmDiagram", diagram))
        return;
    printObjectStartWithOid("o:SPdmDiagram", getObjectId(diagram));
    printNameAndCode(diagram);
    writeLabelOrComment(diagram);
    printCollectionStart("c:Symbols");
    // References first: their symbols define the symbols of the tables they
    // link; then tables, then views. The first pass notes the kind of each
    // symbol's subject, so the later passes do not visit every subject again
    // (a large diagram's subjects are spread over the whole model).
    enum : unsigned char { kOther, kTable, kView };
    const int count = diagram->getPresentationElementCount();
    std::vector<unsigned char> kinds(static_cast<std::size_t>(count), kOther);
    bool anyTable = false, anyView = false;
    // Each pass fetches the symbols it visits two steps ahead, then their
    // subjects one step; `visited` says by position which symbols it visits.
    auto fetchSymbolsAhead = [&](int i, auto visited) {
        if (i + 2 * kFetchAhead < count && visited(i + 2 * kFetchAhead))
            fetchAhead(diagram->getPresentationElement(i + 2 * kFetchAhead));
        if (i + kFetchAhead < count && visited(i + kFetchAhead))
            if (ORXModelObject* subject =
                    diagram->getPresentationElement(i + kFetchAhead)->getSubjectModelObject())
                fetchAhead(subject);
    };
    for (int i = 0; i < count; ++i) {
        fetchSymbolsAhead(i, [](int) { return true; });
        ORXPresentationElement* element = diagram->getPresentationElement(i);
        ORXModelObject* subject = element->getSubjectModelObject();
        if (!subject)
            continue;
        switch (subject->getElementType()) {
            case ORX_ET_ASSOCIATION:
                writeSymbol(element);
                break;
            case ORX_ET_CLASS:
                kinds[static_cast<std::size_t>(i)] = kTable;
                anyTable = true;
                break;
            case ORX_ET_SQL_VIEW_ENTITY:
                kinds[static_cast<std::size_t>(i)] = kView;
                anyView = true;
                break;
            default:
                break;
        }
    }
    for (unsigned char kind : {kTable, kView}) {
        if (!(kind == kTable ? anyTable : anyView))
            continue;
        for (int i = 0; i < count; ++i) {
            fetchSymbolsAhead(i,
                              [&](int at) { return kinds[static_cast<std::size_t>(at)] == kind; });
            if (kinds[static_cast<std::size_t>(i)] == kind)
                writeSymbol(diagram->getPresentationElement(i));
        }
    }
    printElementEnd("c:Symbols");
    printElementEnd("o:SPdmDiagram");
}

void Bridge::writeSymbol(ORXPresentationElement* element) {
    int background = toBlobColor(element->getBackgroundColor());
    if (background == 0)
        background = 0xFFFFFF;
    int line = toBlobColor(element->getLineColor());
    if (line == 0xFFFFFF)
        line = 0x000100;
    int font = toBlobColor(element->getFontColor());
    if (font == 0xFFFFFF)
        font = 0;

    ORXModelObject* subject = element->getSubjectModelObject();
    if (!subject)
        return;
    switch (subject->getElementType()) {
        case ORX_ET_CLASS: {
            auto* table = static_cast<ORXClass*>(subject);
            if (!isClassExported(table))
                return;
            if (printRefIfWritten("o:SPdmSymTabl", element))
                return;
            printObjectStart("o:SPdmSymTabl", getObjectId(element));
            printPlainText("a:ClipRect", clipRectangle(element, scaleX, scaleY).view());
            printPlainText("a:BlobData", BlobText(kTableBlob, {font, background, line}).view());
            printCollectionStart("c:Object");
            writeTable(table);
            printElementEnd("c:Object");
            printElementEnd("o:SPdmSymTabl");
            break;
        }
        case ORX_ET_ASSOCIATION: {
            auto* association = static_cast<ORXAssociation*>(subject);
            if (!isReferenceExported(association))
                return;
            if (printRefIfWritten("o:SPdmSymRefr", element))
                return;
            printObjectStart("o:SPdmSymRefr", getObjectId(element));
            printPlainText("a:ClipRect", "((0,0),(4000,-4000))");
            printPlainText("a:ListPt", "((0,0),(4000,-4000))");
            printIntegerAttribute("a:Arrows", 1, false);
            printPlainText("a:BlobData", BlobText(kReferenceBlob, {font, line}).view());
            // The symbols of the linked tables in this diagram.
            auto writeTableSymbol = [this](ORXClass* table) {
                if (!table)
                    return;
                for (int i = 0; i < table->getPresentationPresentationElementCount(); ++i) {
                    ORXPresentationElement* symbol = table->getPresentationPresentationElement(i);
                    if (currentDiagram && currentDiagram->containsPresentationElement(symbol)) {
                        writeSymbol(symbol);
                        return;
                    }
                }
            };
            printCollectionStart("c:LinkSrc");
            writeTableSymbol(childRole(association)->getAssociatedClass());
            printElementEnd("c:LinkSrc");
            printCollectionStart("c:LinkDst");
            writeTableSymbol(parentRole(association)->getAssociatedClass());
            printElementEnd("c:LinkDst");
            printCollectionStart("c:Object");
            writeReference(association);
            printElementEnd("c:Object");
            printElementEnd("o:SPdmSymRefr");
            break;
        }
        case ORX_ET_SQL_VIEW_ENTITY: {
            auto* view = static_cast<ORXSQLViewEntity*>(subject);
            if (printRefIfWritten("o:SPdmSymView", element))
                return;
            printObjectStart("o:SPdmSymView", getObjectId(element));
            printPlainText("a:ClipRect", clipRectangle(element, scaleX, scaleY).view());
            printPlainText("a:BlobData", BlobText(kViewBlob, {font, background, line}).view());
            printCollectionStart("c:Object");
            writeView(view);
            printElementEnd("c:Object");
            printElementEnd("o:SPdmSymView");
            break;
        }
        default:
            break;
    }
}
