#include "docs/pdf_typesetter.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

namespace sp::docs {
namespace {

// DejaVu Serif has every letter and sign the formulas need (Greek, sub- and superscripts,
// √, ≈, −); fontconfig finds it on any Debian desktop with fonts-dejavu-core.
const QString kSerif = QStringLiteral("DejaVu Serif");
constexpr int kBodyPt = 11;
constexpr int kMarginsPt = 9;

// The look of all documents, so that the sources hold only structure.
// The look of all documents, so that the sources hold only structure. Lengths are in CSS
// pixels (1/96 inch), which the layout scales to the writer's resolution.
const QString kStyle = QStringLiteral(
    "h1 { font-size: 19pt; margin-top: 0px; margin-bottom: 8px; }"
    "h2 { font-size: 14pt; margin-top: 18px; margin-bottom: 8px; }"
    "h3 { font-size: 12pt; margin-top: 12px; margin-bottom: 6px; }"
    "p { margin-top: 0px; margin-bottom: 7px; text-align: justify; }"
    "p.lead { font-style: italic; margin-bottom: 16px; text-align: left; }"
    "ul, ol { margin-top: 0px; margin-bottom: 7px; }"
    "li { margin-bottom: 3px; text-align: justify; }"
    "table { margin-top: 4px; margin-bottom: 9px; }"
    // A table heading or row name is never split inside a word: its column grows instead.
    "th { font-weight: bold; background-color: #e8e8e8; white-space: nowrap; }"
    "td.name { font-weight: bold; white-space: nowrap; }"
    "span.f { white-space: nowrap; }");  // an inline formula is never broken across lines

struct Page {
    double width = 0;   // device pixels
    double height = 0;
    double mm = 0;      // device pixels per millimetre
};

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

void draw_running_texts(QPainter& painter, const Page& page, const QRectF& body,
                        const QString& title, int number)
{
    painter.save();
    painter.setFont(QFont(kSerif, kMarginsPt));
    painter.setPen(Qt::darkGray);
    const double line_gap = 3 * page.mm;
    if (number > 1) {
        const QRectF header(body.left(), body.top() - 12 * page.mm, body.width(), 9 * page.mm);
        painter.drawText(header, Qt::AlignLeft | Qt::AlignBottom, title);
        painter.drawLine(QPointF(body.left(), body.top() - line_gap),
                         QPointF(body.right(), body.top() - line_gap));
    }
    const QRectF footer(body.left(), body.bottom() + line_gap, body.width(), 9 * page.mm);
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("— %1 —").arg(number));
    painter.restore();
}

// A heading whose following text would begin on the next page goes to that page too: a
// heading alone at the foot of a page reads as the end of the section above. Each move
// changes the layout below it, so the headings are checked in order, after the move.
void keep_headings_with_text(QTextDocument& doc, double page_height)
{
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() == 0 || !b.next().isValid())
            continue;
        const QTextBlock next = b.next();
        const QRectF heading = layout->blockBoundingRect(b);
        const QRectF text = layout->blockBoundingRect(next);
        double first_line_bottom = text.bottom();
        if (next.layout() && next.layout()->lineCount() > 0)
            first_line_bottom = text.top() + next.layout()->lineAt(0).rect().bottom();
        const int heading_page = static_cast<int>(heading.top() / page_height);
        if (static_cast<int>(first_line_bottom / page_height) > heading_page) {
            QTextBlockFormat f = b.blockFormat();
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(b).setBlockFormat(f);
        }
    }
}

// An option name such as --reference=delayed must not break at its hyphens: a reader would
// type it as two words. The layout breaks lines after a hyphen whatever the style says, so
// a word joiner (invisible, no width) follows each hyphen inside <tt>.
void keep_commands_whole(QString& html)
{
    qsizetype from = 0;
    while ((from = html.indexOf(QStringLiteral("<tt>"), from)) >= 0) {
        const qsizetype end = html.indexOf(QStringLiteral("</tt>"), from);
        if (end < 0)
            return;
        QString inside = html.mid(from + 4, end - from - 4);
        inside.replace(QLatin1Char('-'), QStringLiteral("-\u2060"));
        html.replace(from + 4, end - from - 4, inside);
        from += 4 + inside.size() + 5;
    }
}

}  // namespace

bool typeset_pdf(const QString& source_path, const QString& pdf_path, QString* error)
{
    QFile source(source_path);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(error, QStringLiteral("cannot read %1: %2").arg(source_path, source.errorString()));
    QString html = QString::fromUtf8(source.readAll());
    keep_commands_whole(html);

    QPdfWriter writer(pdf_path);
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("Вертикальный пружинный маятник"));

    // Laid out for the writer, so that point sizes and CSS lengths mean the same on paper.
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(QFont(kSerif, kBodyPt));
    doc.setDefaultStyleSheet(kStyle);
    doc.setDocumentMargin(0);
    // Pictures are named relative to the source, as a browser would find them.
    doc.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source_path).absolutePath() + QLatin1Char('/')));
    doc.setHtml(html);
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle).trimmed();
    if (title.isEmpty())
        return fail(error, QStringLiteral("%1 has no <title>").arg(source_path));
    writer.setTitle(title);

    const Page page{double(writer.width()), double(writer.height()), writer.resolution() / 25.4};
    const QRectF body(22 * page.mm, 22 * page.mm, page.width - 42 * page.mm,
                      page.height - 44 * page.mm);
    doc.setPageSize(body.size());
    keep_headings_with_text(doc, body.height());
    // A heading moved to its page is laid out again only up to a little past it; the rest
    // would wait for steps an event loop drives, and without one the page count stops
    // short and the end of the document goes unprinted. The whole is laid out again.
    doc.markContentsDirty(0, doc.characterCount());

    if (doc.documentLayout()->blockBoundingRect(doc.lastBlock()).bottom() > doc.pageCount() * body.height())
        return fail(error, QStringLiteral("%1 was not laid out to its end").arg(source_path));

    QPainter painter;
    if (!painter.begin(&writer))
        return fail(error, QStringLiteral("cannot write %1").arg(pdf_path));
    const int pages = doc.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        // The document is one long strip cut into page-high pieces; the layout has already
        // moved every line that would straddle a cut onto the next page.
        painter.save();
        painter.translate(body.left(), body.top() - i * body.height());
        const QRectF strip(0, i * body.height(), body.width(), body.height());
        painter.setClipRect(strip);
        doc.drawContents(&painter, strip);
        painter.restore();
        draw_running_texts(painter, page, body, title, i + 1);
    }
    if (!painter.end() || QFileInfo(pdf_path).size() == 0) {
        QFile::remove(pdf_path);  // a half-written document must not pass for a built one
        return fail(error, QStringLiteral("cannot write %1").arg(pdf_path));
    }
    return true;
}

}  // namespace sp::docs
