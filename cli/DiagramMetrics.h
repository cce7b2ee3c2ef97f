#pragma once
// The measures that the diagram layout and the SVG picture share, so that a
// box the layout sizes for a table holds its text when it is drawn.
//
// Drawing units are those of the exported document: a model coordinate
// times the export's scale factor (10 for X and 20 for Y at the default scale
// of 100 %).

namespace cli::metrics {

// Font size of names and columns, in drawing units.
inline constexpr int kFontSize = 280;
// The advance of an average character at kFontSize, generous enough for
// names set in a proportional sans-serif font.
inline constexpr int kCharWidth = 170;
// Height of one column line.
inline constexpr int kLineHeight = 360;
// Height of the title line (the table's or view's name).
inline constexpr int kTitleHeight = 460;
// Space between a box's border and its text.
inline constexpr int kPadding = 120;
// Characters of the key marker column ("PK FK").
inline constexpr int kMarkerChars = 6;
// Characters between a column's name and its type.
inline constexpr int kTypeGapChars = 2;

// Drawing units per model unit at the default scale.
inline constexpr int kDefaultScaleX = 10;
inline constexpr int kDefaultScaleY = 20;

// The drawing width a box needs for its longest line of `chars` characters.
constexpr int boxWidthFor(int chars) {
    return 2 * kPadding + chars * kCharWidth;
}

// The drawing height a box needs for a title and `lines` column lines.
constexpr int boxHeightFor(int lines) {
    return 2 * kPadding + kTitleHeight + (lines < 1 ? 1 : lines) * kLineHeight;
}

}  // namespace cli::metrics
