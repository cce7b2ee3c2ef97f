#include "cli/DiagramSvg.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>

#include "cli/DiagramMetrics.h"
#include "cli/HostError.h"
#include "orx/ORXException.h"
#include "orx/ORXFile.h"
#include "orx/ORXXMLWriter.h"

namespace cli {

namespace {

using namespace metrics;

constexpr long long kPageMargin = 800;     // around a page's symbols
constexpr long long kPageTitleSize = 480;  // font size of a diagram's name
constexpr long long kPageTitleHeight = 900;
constexpr long long kPageGap = 600;   // between two pages
constexpr long long kPixelsPer = 20;  // drawing units per pixel of the picture
constexpr int kMarkerSize = 220;      // font size of key markers and cardinalities
constexpr int kStroke = 15;
constexpr int kLinkSpacing = 300;  // between parallel lines of one pair of boxes
constexpr int kLoop = 800;         // reach of a table's link to itself

int characterCount(const std::string& text) {
    int count = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

long long round(double value) {
    return static_cast<long long>(std::llround(value));
}

class SvgBuilder {
  public:
    std::string text;

    void raw(const std::string& s) { text += s; }
    // Character data, through the XML writer's one conversion.
    void escaped(const std::string& s) { writer_.appendXMLText(text, s); }
    void number(long long value) { text += std::to_string(value); }

    void textElement(long long x, long long y, const std::string& attributes,
                     const std::string& content) {
        raw("<text x=\"");
        number(x);
        raw("\" y=\"");
        number(y);
        raw("\"" + attributes + ">");
        escaped(content);
        raw("</text>\n");
    }

  private:
    ORXXMLWriter writer_;
};

std::string markerOf(const PageColumn& column) {
    if (column.primaryKey && column.foreignKey)
        return "PK FK";
    if (column.primaryKey)
        return "PK";
    if (column.foreignKey)
        return "FK";
    return "";
}

void drawBox(SvgBuilder& svg, const PageBox& box, const std::string& clipId) {
    const long long width = box.right - box.left;
    const long long height = box.bottom - box.top;
    int chars = characterCount(box.name);
    for (const PageColumn& column : box.columns) {
        int line = kMarkerChars + characterCount(column.name);
        if (!column.type.empty())
            line += kTypeGapChars + characterCount(column.type);
        chars = std::max(chars, line);
    }
    const int lines = static_cast<int>(box.columns.size());
    // The text is laid out at its nominal size and shrunk as a whole when
    // the box is smaller than it needs; the box clips whatever still spills.
    double factor = std::min({1.0, static_cast<double>(width) / boxWidthFor(chars),
                              static_cast<double>(height) / boxHeightFor(lines)});
    factor = std::max(factor, 0.05);
    const long long inner = round(static_cast<double>(width) / factor);

    svg.raw(box.view ? "<g class=\"view\">\n" : "<g class=\"table\">\n");
    svg.raw("<clipPath id=\"" + clipId + "\"><rect x=\"" + std::to_string(box.left) + "\" y=\"" +
            std::to_string(box.top) + "\" width=\"" + std::to_string(width) + "\" height=\"" +
            std::to_string(height) + "\"/></clipPath>\n");
    svg.raw("<rect x=\"" + std::to_string(box.left) + "\" y=\"" + std::to_string(box.top) +
            "\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
            "\" fill=\"" + (box.view ? "#f4f4f4" : "#ffffff") +
            "\" stroke=\"#000000\" stroke-width=\"" + std::to_string(kStroke) + "\"" +
            (box.view ? " stroke-dasharray=\"120 60\"" : "") + "/>\n");
    std::ostringstream transform;
    transform << "translate(" << box.left << "," << box.top << ") scale(" << factor << ")";
    svg.raw("<g clip-path=\"url(#" + clipId + ")\"><g transform=\"" + transform.str() + "\">\n");
    svg.textElement(inner / 2, kPadding + kFontSize, " text-anchor=\"middle\" font-weight=\"bold\"",
                    box.name);
    const long long rule = kPadding + kTitleHeight - 80;
    svg.raw("<line x1=\"0\" y1=\"" + std::to_string(rule) + "\" x2=\"" + std::to_string(inner) +
            "\" y2=\"" + std::to_string(rule) + "\" stroke=\"#000000\" stroke-width=\"" +
            std::to_string(kStroke) + "\"/>\n");
    for (int i = 0; i < lines; ++i) {
        const PageColumn& column = box.columns[static_cast<std::size_t>(i)];
        const long long baseline = kPadding + kTitleHeight + i * kLineHeight + kFontSize;
        const std::string marker = markerOf(column);
        if (!marker.empty())
            svg.textElement(kPadding, baseline,
                            " class=\"key\" font-size=\"" + std::to_string(kMarkerSize) + "\"",
                            marker);
        svg.textElement(kPadding + kMarkerChars * kCharWidth, baseline, " class=\"column\"",
                        column.name);
        if (!column.type.empty())
            svg.textElement(inner - kPadding, baseline, " class=\"type\" text-anchor=\"end\"",
                            column.type);
    }
    svg.raw("</g></g>\n</g>\n");
}

// Where the line from a box's centre along (dx, dy) leaves the box: the
// share of (dx, dy) that lies inside it.
double exitShare(const PageBox& box, double dx, double dy) {
    const double hw = (box.right - box.left) / 2.0, hh = (box.bottom - box.top) / 2.0;
    double share = 1e300;
    if (dx != 0)
        share = std::min(share, hw / std::fabs(dx));
    if (dy != 0)
        share = std::min(share, hh / std::fabs(dy));
    return share;
}

void drawLink(SvgBuilder& svg, const PageBox& child, const PageBox& parent,
              const std::string& cardinality, double offset) {
    const std::string style = " stroke=\"#000000\" stroke-width=\"" + std::to_string(kStroke) +
                              "\" fill=\"none\" marker-end=\"url(#arrow)\"";
    const std::string labelStyle =
        " class=\"cardinality\" font-size=\"" + std::to_string(kMarkerSize) + "\"";
    if (&child == &parent) {
        // A table that references itself: a loop on its right side.
        const long long x = child.right, cy = (child.top + child.bottom) / 2;
        const long long q =
            std::min<long long>((child.bottom - child.top) / 4, 400) + round(offset);
        svg.raw("<path class=\"reference\" d=\"M" + std::to_string(x) + "," +
                std::to_string(cy + q) + " H" + std::to_string(x + kLoop) + " V" +
                std::to_string(cy - q) + " H" + std::to_string(x) + "\"" + style + "/>\n");
        svg.textElement(x + 80, cy + q + kMarkerSize + 40, labelStyle, cardinality);
        return;
    }
    double x1 = (child.left + child.right) / 2.0, y1 = (child.top + child.bottom) / 2.0;
    double x2 = (parent.left + parent.right) / 2.0, y2 = (parent.top + parent.bottom) / 2.0;
    double dx = x2 - x1, dy = y2 - y1;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    // Lines between the same two boxes are drawn side by side.
    const double nx = -dy / length, ny = dx / length;
    x1 += nx * offset;
    y1 += ny * offset;
    x2 += nx * offset;
    y2 += ny * offset;
    const double out = exitShare(child, dx, dy), in = exitShare(parent, dx, dy);
    double sx = x1, sy = y1, ex = x2, ey = y2;
    if (out + in < 1) {
        sx = x1 + dx * out;
        sy = y1 + dy * out;
        ex = x2 - dx * in;
        ey = y2 - dy * in;
    }
    svg.raw("<line class=\"reference\" x1=\"" + std::to_string(round(sx)) + "\" y1=\"" +
            std::to_string(round(sy)) + "\" x2=\"" + std::to_string(round(ex)) + "\" y2=\"" +
            std::to_string(round(ey)) + "\"" + style + "/>\n");
    // The cardinality sits beside the line, just off the child's box.
    const double ux = dx / length, uy = dy / length;
    svg.textElement(round(sx + ux * 260 + nx * 140), round(sy + uy * 260 + ny * 140 + 80),
                    labelStyle + " text-anchor=\"middle\"", cardinality);
}

struct Bounds {
    long long left = 0, top = 0, right = 4000, bottom = 1000;
};

Bounds boundsOf(const DiagramPage& page) {
    Bounds bounds;
    bool first = true;
    for (const PageBox& box : page.boxes) {
        if (first) {
            bounds = {box.left, box.top, box.right, box.bottom};
            first = false;
            continue;
        }
        bounds.left = std::min(bounds.left, box.left);
        bounds.top = std::min(bounds.top, box.top);
        bounds.right = std::max(bounds.right, box.right);
        bounds.bottom = std::max(bounds.bottom, box.bottom);
    }
    // Room for a link that loops out of a box's right side.
    if (!page.links.empty())
        bounds.right += kLoop;
    return bounds;
}

void drawPage(SvgBuilder& svg, const DiagramPage& page, std::size_t pageNumber,
              const Bounds& bounds, long long top, long long width, long long height) {
    svg.raw("<g class=\"diagram\" transform=\"translate(0," + std::to_string(top) + ")\">\n");
    svg.raw("<rect class=\"page\" x=\"0\" y=\"0\" width=\"" + std::to_string(width) +
            "\" height=\"" + std::to_string(height) +
            "\" fill=\"#ffffff\" stroke=\"#c0c0c0\" stroke-width=\"10\"/>\n");
    svg.textElement(kPageMargin, kPageMargin / 2 + kPageTitleSize,
                    " class=\"diagram-name\" font-size=\"" + std::to_string(kPageTitleSize) +
                        "\" font-weight=\"bold\"",
                    page.name);
    // Inside this group the coordinates are the document's own.
    svg.raw("<g transform=\"translate(" + std::to_string(kPageMargin - bounds.left) + "," +
            std::to_string(kPageTitleHeight + kPageMargin - bounds.top) + ")\">\n");
    std::map<std::pair<int, int>, std::vector<std::size_t>> pairs;
    for (std::size_t i = 0; i < page.links.size(); ++i) {
        const PageLink& link = page.links[i];
        pairs[{std::min(link.child, link.parent), std::max(link.child, link.parent)}].push_back(i);
    }
    for (const auto& [ends, links] : pairs) {
        for (std::size_t k = 0; k < links.size(); ++k) {
            const PageLink& link = page.links[links[k]];
            // Spread around the middle line; a reversed pair turns the normal
            // around, so its offset changes sign to stay apart.
            double offset = (static_cast<double>(k) - (links.size() - 1) / 2.0) * kLinkSpacing;
            if (link.child > link.parent)
                offset = -offset;
            drawLink(svg, page.boxes[static_cast<std::size_t>(link.child)],
                     page.boxes[static_cast<std::size_t>(link.parent)], link.cardinality, offset);
        }
    }
    // Symbols without a position all lie on the document's fixed rectangle;
    // they go underneath, so that they do not hide the symbols placed there.
    auto unplaced = [](const PageBox& box) {
        return box.left == 0 && box.top == 0 && box.right == 4000 && box.bottom == 4000;
    };
    for (bool placed : {false, true})
        for (std::size_t b = 0; b < page.boxes.size(); ++b)
            if (unplaced(page.boxes[b]) != placed)
                drawBox(svg, page.boxes[b],
                        "clip-" + std::to_string(pageNumber) + "-" + std::to_string(b));
    svg.raw("</g>\n</g>\n");
}

}  // namespace

std::string renderDiagramSvg(const std::vector<DiagramPage>& pages) {
    std::vector<Bounds> bounds;
    long long width = 2 * kPageMargin + 4000, height = 0;
    for (const DiagramPage& page : pages) {
        bounds.push_back(boundsOf(page));
        const Bounds& b = bounds.back();
        width = std::max(width, b.right - b.left + 2 * kPageMargin);
        height += kPageTitleHeight + (b.bottom - b.top) + 2 * kPageMargin + kPageGap;
    }
    height = std::max<long long>(height - kPageGap, kPageTitleHeight + 2 * kPageMargin);

    SvgBuilder svg;
    svg.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg.raw("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            std::to_string((width + kPixelsPer - 1) / kPixelsPer) + "\" height=\"" +
            std::to_string((height + kPixelsPer - 1) / kPixelsPer) + "\" viewBox=\"0 0 " +
            std::to_string(width) + " " + std::to_string(height) +
            "\" font-family=\"sans-serif\" font-size=\"" + std::to_string(kFontSize) + "\">\n");
    svg.raw(
        "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
        "markerWidth=\"8\" markerHeight=\"8\" orient=\"auto\">"
        "<path d=\"M0,0 L10,5 L0,10 z\" fill=\"#000000\"/></marker></defs>\n");
    svg.raw("<rect x=\"0\" y=\"0\" width=\"" + std::to_string(width) + "\" height=\"" +
            std::to_string(height) + "\" fill=\"#ffffff\"/>\n");
    long long top = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const Bounds& b = bounds[p];
        const long long pageHeight = kPageTitleHeight + (b.bottom - b.top) + 2 * kPageMargin;
        drawPage(svg, pages[p], p, b, top, width, pageHeight);
        top += pageHeight + kPageGap;
    }
    svg.raw("</svg>\n");
    return svg.text;
}

void writeDiagramSvg(const std::string& documentPath, const std::string& svgPath) {
    std::ifstream in(documentPath, std::ios::binary);
    if (!in)
        throw HostError(documentPath +
                        ": cannot read the exported document: " + std::strerror(errno));
    std::ostringstream document;
    document << in.rdbuf();
    const std::string picture = renderDiagramSvg(readDiagramPages(document.str(), documentPath));

    // Written to a temporary file beside the path that replaces it only when
    // whole: a picture that fails half-way leaves the previous one as it was.
    ORXFile out;
    out = ORXString(svgPath);
    if (!out.open(std::ios::out | std::ios::binary))
        throw HostError(svgPath + ": cannot create the file: " + std::strerror(errno));
    try {
        out.write(picture.data(), picture.size());
        out.close();
    } catch (const ORXException&) {
        out.discard();
        throw HostError(svgPath + ": cannot write the file: " + std::strerror(out.getLastError()));
    }
}

}  // namespace cli
