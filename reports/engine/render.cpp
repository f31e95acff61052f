#include "reports/engine/render.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTemporaryFile>
#include <QTextStream>
#include <cstdio>

namespace rpt {

namespace {

QFont fontFor(const PrintedItem &it) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSizeF(it.pt);
    f.setBold(it.bold);
    return f;
}

Qt::Alignment qtAlign(Align a) {
    switch (a) {
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        default:
            return Qt::AlignLeft;
    }
}

}  // namespace

void paintPage(QPainter &p, const Page &page) {
    const double dpmm = p.device()->logicalDpiX() / 25.4;
    auto px = [dpmm](const QRectF &mm) {
        return QRectF(mm.x() * dpmm, mm.y() * dpmm, mm.width() * dpmm, mm.height() * dpmm);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QPen pen(Qt::black);
    for (const PrintedBand &band : page.bands)
        for (const PrintedItem &it : band.items) {
            const QRectF r = px(it.mm);
            switch (it.kind) {
                case PrintedItem::Line:
                    pen.setWidthF(std::max(1.0, it.pt * dpmm));
                    p.setPen(pen);
                    p.drawLine(r.topLeft(), r.bottomRight());
                    break;
                case PrintedItem::Rect:
                    pen.setWidthF(std::max(1.0, 0.3 * dpmm));
                    p.setPen(pen);
                    p.setBrush(Qt::NoBrush);
                    p.drawRect(r);
                    break;
                case PrintedItem::Text: {
                    if (it.boxed) {
                        pen.setWidthF(std::max(1.0, 0.25 * dpmm));
                        p.setPen(pen);
                        p.setBrush(Qt::NoBrush);
                        p.drawRect(r);
                    }
                    if (it.text.isEmpty()) break;
                    const QFont f = fontFor(it);
                    p.setFont(f);
                    p.setPen(Qt::black);
                    const QRectF inner = it.boxed ? r.adjusted(dpmm, 0, -dpmm, 0) : r;
                    const QString shown =
                        QFontMetricsF(f, p.device())
                            .elidedText(it.text, Qt::ElideRight, inner.width() + 0.5);
                    p.drawText(inner,
                               int(qtAlign(it.align) | Qt::AlignVCenter | Qt::TextSingleLine),
                               shown);
                    break;
                }
            }
        }
    p.restore();
}

// --- format names

std::optional<Format> formatFromName(const QString &n) {
    const QString s = n.toLower().section(u'.', -1);
    if (s == u"pdf") return Format::Pdf;
    if (s == u"xlsx") return Format::Xlsx;
    if (s == u"rtf") return Format::Rtf;
    if (s == u"xml") return Format::XmlSheet;
    if (s == u"txt" || s == u"texto") return Format::Text;
    if (s == u"csv") return Format::Csv;
    if (s == u"svg") return Format::Svg;
    return std::nullopt;
}

QString formatSuffix(Format f) {
    switch (f) {
        case Format::Pdf:
            return QStringLiteral("pdf");
        case Format::Xlsx:
            return QStringLiteral("xlsx");
        case Format::Rtf:
            return QStringLiteral("rtf");
        case Format::XmlSheet:
            return QStringLiteral("xml");
        case Format::Text:
            return QStringLiteral("txt");
        case Format::Csv:
            return QStringLiteral("csv");
        case Format::Svg:
            return QStringLiteral("svg");
    }
    return {};
}

QString formatFilter(Format f) {
    switch (f) {
        case Format::Pdf:
            return QStringLiteral("Arquivo PDF (*.pdf)");
        case Format::Xlsx:
            return QStringLiteral("Planilha Excel (*.xlsx)");
        case Format::Rtf:
            return QStringLiteral("Rich Text (*.rtf)");
        case Format::XmlSheet:
            return QStringLiteral("Planilha XML (*.xml)");
        case Format::Text:
            return QStringLiteral("Texto (*.txt)");
        case Format::Csv:
            return QStringLiteral("CSV (*.csv)");
        case Format::Svg:
            return QStringLiteral("SVG (*.svg)");
    }
    return {};
}

namespace {

class PdfSink : public PageSink {
public:
    explicit PdfSink(QIODevice *dev) : m_writer(dev) {}
    void begin(const Layout &l) override {
        m_writer.setResolution(300);
        m_writer.setPageLayout(pageLayout(l.paper));
        m_writer.setTitle(l.name);
        m_writer.setCreator(QStringLiteral("Manutenção Contas a Receber"));
    }
    void page(Page &&p) override {
        if (!m_painter.isActive()) {
            if (!m_painter.begin(&m_writer))
                throw ExportError(QStringLiteral("Não foi possível gerar o PDF."));
        } else {
            m_writer.newPage();
        }
        paintPage(m_painter, p);
    }
    void end() override {
        if (m_painter.isActive()) m_painter.end();
    }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
};

class TextSink : public PageSink {
public:
    explicit TextSink(QIODevice *dev) : m_out(dev) {}
    void page(Page &&p) override {
        if (p.number > 1) m_out << "\f\n";
        for (const TextLine &l : textLines(p)) m_out << lineText(l) << '\n';
    }
    void end() override { m_out.flush(); }

private:
    QTextStream m_out;
};

QString csvField(const QString &t) {
    if (!t.contains(u',') && !t.contains(u'"') && !t.contains(u'\n')) return t;
    QString q = t;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

class CsvSink : public PageSink {
public:
    explicit CsvSink(QIODevice *dev) : m_out(dev) {}
    void page(Page &&p) override {
        for (const TextLine &l : textLines(p)) {
            QStringList cells;
            for (const PrintedItem *it : l.items) cells << csvField(it->text.trimmed());
            m_out << cells.join(u',') << "\r\n";
        }
    }
    void end() override { m_out.flush(); }

private:
    QTextStream m_out;
};

QString rtfEscape(const QString &s) {
    QString out;
    for (QChar c : s) {
        const ushort u = c.unicode();
        if (c == u'\\' || c == u'{' || c == u'}')
            out += u'\\' + QString(c);
        else if (u < 128)
            out += c;
        else
            out += QStringLiteral("\\u%1?").arg(short(u));
    }
    return out;
}

// Positions kept by a fixed-pitch font, like the text export.
class RtfSink : public PageSink {
public:
    explicit RtfSink(QIODevice *dev) : m_out(dev) {}
    void begin(const Layout &) override {
        m_out << "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}\n"
                 "\\f0\\fs16\n";
    }
    void page(Page &&p) override {
        if (p.number > 1) m_out << "\\page\n";
        for (const TextLine &l : textLines(p)) m_out << rtfEscape(lineText(l)) << "\\par\n";
    }
    void end() override {
        m_out << "}\n";
        m_out.flush();
    }

private:
    QTextStream m_out;
};

QString xmlEscape(const QString &s) { return s.toHtmlEscaped(); }

// SpreadsheetML 2003: what office suites open as an "XML spreadsheet".
class XmlSheetSink : public PageSink {
public:
    explicit XmlSheetSink(QIODevice *dev) : m_out(dev) {}
    void begin(const Layout &l) override {
        m_out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<?mso-application progid=\"Excel.Sheet\"?>\n"
                 "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                 "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
                 "<Styles><Style ss:ID=\"m\"><NumberFormat "
                 "ss:Format=\"#,##0.00\"/></Style></Styles>\n"
              << "<Worksheet ss:Name=\"" << xmlEscape(l.name.left(31)) << "\"><Table>\n";
    }
    void page(Page &&p) override {
        for (const TextLine &l : textLines(p)) {
            m_out << "<Row>";
            for (const PrintedItem *it : l.items) {
                if (it->raw.isValid())
                    m_out << "<Cell ss:StyleID=\"m\"><Data ss:Type=\"Number\">"
                          << QString::number(it->raw.toDouble(), 'f', 2) << "</Data></Cell>";
                else
                    m_out << "<Cell><Data ss:Type=\"String\">" << xmlEscape(it->text.trimmed())
                          << "</Data></Cell>";
            }
            m_out << "</Row>\n";
        }
    }
    void end() override {
        m_out << "</Table></Worksheet>\n</Workbook>\n";
        m_out.flush();
    }

private:
    QTextStream m_out;
};

class XlsxSink : public PageSink {
public:
    explicit XlsxSink(const QString &path) {
        lxw_workbook_options opts{};
        opts.constant_memory = LXW_TRUE;
        const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
        opts.tmpdir = const_cast<char *>(dir.constData());
        m_path = QFile::encodeName(path);
        m_book = workbook_new_opt(m_path.constData(), &opts);
        if (!m_book) throw ExportError(QStringLiteral("Não foi possível criar a planilha."));
        m_money = workbook_add_format(m_book);
        format_set_num_format(m_money, "#,##0.00");
    }
    ~XlsxSink() override {
        if (m_book) workbook_close(m_book);
    }
    void begin(const Layout &l) override {
        m_sheet = workbook_add_worksheet(m_book, l.name.left(31).toUtf8().constData());
        if (!m_sheet) m_sheet = workbook_add_worksheet(m_book, nullptr);
    }
    void page(Page &&p) override {
        for (const TextLine &l : textLines(p)) {
            lxw_col_t col = 0;
            for (const PrintedItem *it : l.items) {
                if (it->raw.isValid())
                    worksheet_write_number(m_sheet, m_row, col, it->raw.toDouble(), m_money);
                else
                    worksheet_write_string(m_sheet, m_row, col,
                                           it->text.trimmed().toUtf8().constData(), nullptr);
                ++col;
            }
            ++m_row;
        }
    }
    void end() override {
        lxw_workbook *b = m_book;
        m_book = nullptr;
        const lxw_error err = workbook_close(b);
        if (err != LXW_NO_ERROR)
            throw ExportError(QStringLiteral("Erro ao gravar a planilha: %1")
                                  .arg(QString::fromUtf8(lxw_strerror(err))));
    }

private:
    QByteArray m_path;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_money = nullptr;
    lxw_row_t m_row = 0;
};

}  // namespace

std::unique_ptr<PageSink> makeWriter(Format f, QIODevice *device, const QString &path) {
    switch (f) {
        case Format::Pdf:
            return std::make_unique<PdfSink>(device);
        case Format::Xlsx:
            return std::make_unique<XlsxSink>(path);
        case Format::Rtf:
            return std::make_unique<RtfSink>(device);
        case Format::XmlSheet:
            return std::make_unique<XmlSheetSink>(device);
        case Format::Text:
            return std::make_unique<TextSink>(device);
        case Format::Csv:
            return std::make_unique<CsvSink>(device);
        case Format::Svg:
            break;
    }
    return nullptr;
}

void writeSvg(const std::vector<Page> &pages, QIODevice *device) {
    constexpr double dpi = 96;
    const double dpmm = dpi / 25.4;
    QSvgGenerator gen;
    gen.setOutputDevice(device);
    gen.setResolution(int(dpi));
    double w = 0, h = 0;
    for (const Page &p : pages) {
        w = std::max(w, p.sizeMm.width());
        h += p.sizeMm.height();
    }
    gen.setSize(QSize(int(w * dpmm + 0.5), int(h * dpmm + 0.5)));
    gen.setViewBox(QRectF(0, 0, w * dpmm, h * dpmm));
    QPainter painter(&gen);
    double y = 0;
    // Pages one under the other, each on white with a thin frame.
    for (const Page &p : pages) {
        painter.save();
        painter.translate(0, y * dpmm);
        const QRectF sheet(0, 0, p.sizeMm.width() * dpmm, p.sizeMm.height() * dpmm);
        painter.fillRect(sheet, Qt::white);
        painter.setPen(QPen(Qt::lightGray, 1));
        painter.drawRect(sheet);
        paintPage(painter, p);
        painter.restore();
        y += p.sizeMm.height();
    }
    painter.end();
}

void exportToFile(Format f, const QString &path, const std::function<void(PageSink &)> &produce) {
    const QFileInfo target(path);
    if (target.isDir())
        throw ExportError(
            QStringLiteral("Não é possível gravar em \"%1\": é uma pasta.").arg(path));
    if (f == Format::Xlsx) {
        QTemporaryFile tmp(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                           QStringLiteral(".XXXXXX"));
        if (!tmp.open())
            throw ExportError(
                QStringLiteral("Não é possível gravar em \"%1\": %2").arg(path, tmp.errorString()));
        tmp.close();
        const QString tmpPath = tmp.fileName();
        {
            auto sink = makeWriter(f, nullptr, tmpPath);
            produce(*sink);
        }
        tmp.setAutoRemove(false);
        if (std::rename(QFile::encodeName(tmpPath).constData(),
                        QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
            QFile::remove(tmpPath);
            throw ExportError(QStringLiteral("Não é possível gravar em \"%1\".").arg(path));
        }
        return;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError(
            QStringLiteral("Não é possível gravar em \"%1\": %2").arg(path, file.errorString()));
    if (f == Format::Svg) {
        PageCollector all;
        produce(all);
        writeSvg(all.pages, &file);
    } else {
        auto sink = makeWriter(f, &file, path);
        produce(*sink);
    }
    if (!file.commit())
        throw ExportError(
            QStringLiteral("Erro ao gravar \"%1\": %2").arg(path, file.errorString()));
}

void exportPages(Format f, const QString &path, const Layout &layout,
                 const std::vector<Page> &pages) {
    exportToFile(f, path, [&](PageSink &sink) {
        sink.begin(layout);
        for (Page p : pages) sink.page(std::move(p));
        sink.end();
    });
}

}  // namespace rpt
