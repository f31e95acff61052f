#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <vector>

#include "reports/engine/layout.h"

namespace rpt {

// What a laid-out page holds: bands in printing order with their items at
// absolute positions (millimetres from the paper's top-left corner).
struct PrintedItem {
    enum Kind { Text, Line, Rect } kind = Text;
    QRectF mm;
    QString text;
    QVariant raw;  // the number behind a formatted money or count text
    Align align = Align::Left;
    double pt = 9;
    bool bold = false;
    bool boxed = false;
};

struct PrintedBand {
    BandKind kind = BandKind::Detail;
    QRectF mm;
    std::vector<PrintedItem> items;
};

struct Page {
    int number = 0;
    QSizeF sizeMm;
    QPointF originMm;  // top-left corner inside the margins
    std::vector<PrintedBand> bands;
};

// One line of text in band order: the text items that share a band and a
// baseline, left to right. Text, CSV and the spreadsheet exports are made
// of these.
struct TextLine {
    double y = 0;
    double left = 0;  // where column 0 is
    std::vector<const PrintedItem *> items;
};
std::vector<TextLine> textLines(const Page &page);
// The line as plain text with items at their columns (`mmPerChar` wide).
QString lineText(const TextLine &line, double mmPerChar = 2.0);

}  // namespace rpt
