#include "workspace/ui/print_document.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

namespace workspace {

QStringList screenLines(const QTextEdit& doc) {
    QStringList lines;
    QTextDocument* text = doc.document();
    text->documentLayout(); // make sure every block is laid out at the editor's width
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        const QString blockText = block.text();
        if (!layout || layout->lineCount() == 0) {
            lines << blockText;
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            QString piece = blockText.mid(line.textStart(), line.textLength());
            piece.replace(QChar::LineSeparator, QString());
            lines << piece;
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

namespace {

// Splits a line into pieces no wider than `width`.
QStringList fitToWidth(const QString& line, const QFontMetrics& metrics, int width) {
    QStringList pieces;
    QString rest = line;
    while (metrics.horizontalAdvance(rest) > width && rest.size() > 1) {
        int n = rest.size() - 1;
        while (n > 1 && metrics.horizontalAdvance(rest.left(n)) > width)
            --n;
        if (n < rest.size() && rest[n].isLowSurrogate())
            --n;
        pieces << rest.left(n);
        rest = rest.mid(n);
    }
    pieces << rest;
    return pieces;
}

} // namespace

void printLines(const QStringList& lines, const QTextEdit& doc, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    QFont font = doc.document()->defaultFont();
    if (font.pixelSize() > 0) // a size in screen pixels means its points on paper
        font.setPointSizeF(font.pixelSize() * 72.0 / doc.logicalDpiY());
    painter.setFont(QFont(font, painter.device()));
    painter.setPen(doc.palette().color(QPalette::Text));
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    const int lineHeight = metrics.lineSpacing();
    int y = 0;
    for (const QString& line : lines) {
        for (const QString& piece : fitToWidth(line, metrics, page.width())) {
            if (y + lineHeight > page.height()) {
                printer.newPage();
                y = 0;
            }
            painter.drawText(0, y + metrics.ascent(), piece);
            y += lineHeight;
        }
    }
    painter.end();
}

} // namespace workspace
