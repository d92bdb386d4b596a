// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

// The names a listener hears a goal's row and its parts by. Qt builds a widget's accessible face as soon as the
// widget is named, whether anyone listens or not, and for a long list that was a good part of the first frame.
// So the names are given once a listener has come, and kept current from then on.
class RowWords final
{
public:
    struct Words {
        // The row's, its checkbox's and its text's.
        QString name;
        // The checkbox's: what a press does, then the goal's moments and how it repeats.
        QString description;
        QString repeats;
        QString deleteName;
    };

    RowWords(QWidget *row, QWidget *checkbox, QWidget *text, QWidget *repeatGlyph, QWidget *deleteButton);

    void setWords(Words words);
    // A listener has come: the parts are named now and with every change from here on.
    void tellListeners();

private:
    void nameParts() const;

    QWidget *m_row;
    QWidget *m_checkbox;
    QWidget *m_text;
    QWidget *m_repeatGlyph;
    QWidget *m_deleteButton;
    Words m_words;
    bool m_isTelling = false;
};
