#pragma once
// The checked poem drawn character by character, each with its verdict's mark beneath it
// in the same cell, so that a line wrapped at any width keeps every mark under its
// character. The marks are shapes; their colour only repeats what the shape says.

#include "checker/core/checker.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>

// How a verdict is shown: the shape under the character, its colour and what it means.
struct MarkLook {
    QString symbol;
    QColor colour;
    QString meaning;
    bool alarm = false; // 错 or 请自审: the character takes the colour as well
};
const MarkLook& markLook(const checker::CharMark& m);
// The key to the marks, one shape and its meaning after another.
QString markLegend();

class MarkedPoemView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    explicit MarkedPoemView(QWidget* parent = nullptr);

    // Shows the text's lines with the check's marks. The text is the part of the document
    // that was checked and `base` its offset there: every offset the view hands out is
    // the document's. A finding's message is the tip of its character.
    void setPoem(QStringView text, int base, const checker::Result& result);
    // Frames the character at a document offset (-1: none).
    void setCurrent(int offset);

    // Where the character at a document offset and its mark are drawn, in the viewport;
    // empty when it is not shown.
    QRect charRect(int offset) const;
    QRect markRect(int offset) const;
    // The rows the poem takes at the present width.
    int rowCount() const { return m_rowCount; }

  signals:
    // A character was clicked: its place in the document.
    void characterChosen(int offset, int length);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    QSize sizeHint() const override;

  private:
    // One character: a few numbers, so that a poem of thousands is quick to show.
    struct Cell {
        int from;   // in m_text
        int offset; // in the document
        int length;
        const MarkLook* look; // its mark; nullptr for one the check did not read (punctuation)
        bool clauseEnd;       // a mark that ends a clause: a good place to wrap after
        QPoint at;            // top left of the cell in the content, set by layOut()
    };
    struct Line {
        QList<Cell> cells;
        bool stanzaBreak = false; // a blank line before it
    };

    void layOut();
    const Cell* cellAt(QPoint viewportPos) const;
    const Cell* cellOf(int offset) const;
    QRect cellRect(const Cell& c) const; // in the viewport
    QString tip(const Cell& c) const;    // the verdict, and the findings on the character

    QString m_text;             // the text shown
    QHash<int, QString> m_tips; // the findings' messages by the character's place in m_text
    QList<Line> m_lines;
    QFont m_charFont;
    bool m_cut = false; // the text was too long to show whole
    int m_current = -1;
    int m_rowCount = 0;
    int m_contentHeight = 0;
    int m_cellWidth = 0;
    int m_charHeight = 0;
    int m_markHeight = 0;
};
