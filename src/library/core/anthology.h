#pragma once
// The reading collections of the 赏析 menu: each a folder under enjoy\ with its key,
// caption, layout variant and, for two variants, a list built into the program.

#include <QList>
#include <QString>

// A: whole text and an author note; B: whole text only; C: list.dat with numbered pieces
// and a note; D: list.dat with numbered pieces; E: a fixed list of numbered pieces and a
// note; F: a fixed list of named pieces and a note.
enum class AnthologyVariant { A, B, C, D, E, F };

struct AnthologyItem {
    QString name;
    QString file; // the named piece file of variant F
};

struct Anthology {
    QString key;
    QString caption;     // the window's title
    QString menuCaption; // the 赏析 item
    AnthologyVariant variant;
    int pieceLimit = 0;             // numbered piece files the list variants provide
    QList<AnthologyItem> fixedList; // variants E and F
    QString noteCaption;            // the author channel's caption
    bool menuHint = true;

    bool hasList() const;
    bool hasNote() const;
    QString directory() const; // enjoy\<key>\ (with the trailing backslash)
    QString keyFile() const;
    QString listFile() const; // list.dat of variants C and D, else empty
    QString textFile() const; // the key file of variants A and B, else empty
    QString noteFile() const; // zuozhe.dat (A), the key file (C, E, F), else empty
    // The file list item `index` loads; empty when the variant provides none.
    QString pieceFile(int index) const;
};

// The 25 collections in menu order.
const QList<Anthology>& anthologies();
// Menu positions (counting from 1) followed by a separator in the 赏析 menu.
const QList<int>& anthologySeparatorsAfter();
// The numbered file of list item `index` (counting from 0): "01.dat" … "99.dat", "100.dat".
QString numberedFile(int index);
