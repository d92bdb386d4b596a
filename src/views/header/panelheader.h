// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>
#include <QWidget>

class CountLabel;
class GlyphButton;
class QGraphicsOpacityEffect;
class QLabel;
class QLineEdit;
class SymbolGlyph;

// The panel's top row: the title (or its editor while renaming), the "N of M" count and the add-goal button.
// Its whole rectangle is the handle that moves the window. It holds no goal data: the root view tells it
// what to show and hears back through its signals.
class PanelHeader final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelHeader)

public:
    explicit PanelHeader(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString shownTitle() const;

    // Shows the title editor holding `draft`, or the title again. A fresh editor each time, so that it
    // takes the focus anew when it appears.
    void setRenaming(bool renaming, const QString &draft = {});
    QLineEdit *titleEditor() const { return m_titleEditor; }

    // A small warning, its tooltip naming the reason, while the goals are not saved; none for an empty reason.
    void setSaveFailure(const QString &failure);
    // The same glyph, quietly, while a goals file that could not be read whole is kept aside.
    void setReadNotice(const QString &notice);

    // Beside the count, quietly: an arrow while changes wait to go to the calendar server, a warning when the
    // last sync failed or there is something to do about it (`notice`); the tooltip says which, why and what to
    // do. Nothing when all are empty.
    void setSyncState(const QString &changesWaiting, const QString &failure, const QString &notice);

    // Without goals there is no count at all.
    void setCount(qsizetype done, qsizetype total);
    const CountLabel *countLabel() const { return m_count; }
    GlyphButton *addButton() const { return m_addButton; }

    // The add button takes clicks only while the pointer is over the panel, so the invisible button cannot be hit.
    void setPanelHovered(bool hovered);
    // 0..1 progress of the panel's hover fade: title colour and the add button's opacity follow it.
    void setHoverFade(qreal fade);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

signals:
    void addGoalRequested();
    // The title editor's text, on Return or when the editor loses the focus; the edit may have ended already.
    void renameCommitted(const QString &title);
    void renameCancelled();
    // The header is being dragged, and the window with it.
    void dragMoved(QPointF globalPosition);
    void dragEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyColors();
    void updateWarning();
    void updateAddButtonOpacity();
    void layoutItems();
    int titleWidth(int width) const;

    QLabel *m_title = nullptr;
    QLineEdit *m_titleEditor = nullptr;
    CountLabel *m_count = nullptr;
    SymbolGlyph *m_saveWarning = nullptr;
    SymbolGlyph *m_syncState = nullptr;
    GlyphButton *m_addButton = nullptr;
    QGraphicsOpacityEffect *m_addButtonOpacity = nullptr;
    qreal m_hoverFade = 0.0;
    QString m_saveFailure;
    QString m_readNotice;
};
