#pragma once

#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "reports/engine/engine.h"

class QPainter;
class QPdfWriter;

namespace rpt {

// Paints one page; the painter's device gives the resolution.
void paintPage(QPainter &painter, const Page &page);

// Keeps every page: the preview pages through them.
class PageCollector : public PageSink {
public:
    void page(Page &&p) override { pages.push_back(std::move(p)); }
    std::vector<Page> pages;
};

enum class Format { Pdf, Xlsx, Rtf, XmlSheet, Text, Csv, Svg };
std::optional<Format> formatFromName(const QString &nameOrSuffix);  // "pdf", "csv", "txt" ...
QString formatSuffix(Format f);
QString formatFilter(Format f);  // for file dialogs

// A sink that writes each page as it arrives. Xlsx writes to `path`, every
// other format to `device`. Svg needs the pages whole: see writeSvg.
std::unique_ptr<PageSink> makeWriter(Format f, QIODevice *device, const QString &path = {});
void writeSvg(const std::vector<Page> &pages, QIODevice *device);

class ExportError : public std::runtime_error {
public:
    explicit ExportError(const QString &msg) : std::runtime_error(msg.toStdString()) {}
};

// Writes a report to `path` through a temporary file in the same folder,
// renamed over `path` only when everything went well: a failure leaves no
// half-written file. `produce` runs the engine into the sink it is given
// and may throw; the error passes on after the temporary file is removed.
void exportToFile(Format f, const QString &path, const std::function<void(PageSink &)> &produce);
void exportPages(Format f, const QString &path, const Layout &layout,
                 const std::vector<Page> &pages);

}  // namespace rpt
