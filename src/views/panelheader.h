#pragma once

#include <QPointF>
#include <QWidget>

#include <functional>
#include <optional>

class CountLabel;
class GlyphButton;
class QGraphicsOpacityEffect;
class QLabel;
class QLineEdit;
class SymbolGlyph;

// The panel's top row: the title (or its editor while renaming), the "N of M" count and the add-goal button.
// Its whole rectangle is the handle that moves the window. It holds no goal data: the root view tells it
// what to show and hears back through the callbacks.
class PanelHeader final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelHeader)

public:
    struct Callbacks {
        std::function<void()> onAddGoal;
        std::function<void()> onRenameSubmit;
        std::function<void()> onRenameCommit;
        std::function<void()> onRenameCancel;
        std::function<void()> onDragChanged;
        std::function<void()> onDragEnded;
    };

    explicit PanelHeader(Callbacks callbacks, QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString shownTitle() const;

    // Shows the title editor holding `draft`, or the title again. A fresh editor each time, so that it
    // takes the focus anew when it appears.
    void setRenaming(bool renaming, const QString &draft = {});
    QLineEdit *titleEditor() const { return m_titleEditor; }

    // A small warning, its tooltip naming the reason, while the goals are not saved; none for an empty reason.
    void setSaveFailure(const QString &failure);
    const SymbolGlyph *saveWarning() const { return m_saveWarning; }

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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Each returns whether the event belonged to a window drag and must go no further.
    bool pressForDrag(const QMouseEvent *event);
    bool moveForDrag(const QMouseEvent *event, QWidget *source);
    bool releaseForDrag(const QMouseEvent *event);

    void applyColors();
    void updateAddButtonOpacity();
    void layoutItems();
    int titleWidth(int width) const;

    Callbacks m_callbacks;
    QLabel *m_title = nullptr;
    QLineEdit *m_titleEditor = nullptr;
    CountLabel *m_count = nullptr;
    SymbolGlyph *m_saveWarning = nullptr;
    GlyphButton *m_addButton = nullptr;
    QGraphicsOpacityEffect *m_addButtonOpacity = nullptr;
    qreal m_hoverFade = 0.0;

    // Where the button went down, in global coordinates: the window moves under the pointer once a drag runs,
    // so only the screen is a stable frame. Before the threshold is reached nothing has moved, so the distance
    // is the same as in the header's own coordinates.
    std::optional<QPointF> m_pressPosition;
    bool m_isDragging = false;
};
