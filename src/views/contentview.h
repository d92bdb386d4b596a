#pragma once

#include <QHash>
#include <QPainterPath>
#include <QSizeF>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <optional>

class AddArea;
class GoalList;
class PanelHeader;
class QScrollArea;
class QSettings;
class QVariantAnimation;
class TodoStore;

// The panel's root view: the translucent rounded background, the header, the goal list and the add area
// stacked without gaps. It owns the panel's view state (hover, drafts, modes, measured row heights), is the
// only view that calls the store, and reports the size the content wants to the window.
class ContentView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContentView)

public:
    ContentView(TodoStore *store, QSettings *defaults, std::function<void()> onDragChanged,
                std::function<void()> onDragEnded, std::function<void(QSizeF)> onPanelResize,
                QWidget *parent = nullptr);
    ~ContentView() override;

    // The "title" preference, or "Today's Goals" while none was stored. The fallback is never written.
    QString title() const;

    void beginRename();
    void commitRename();
    void cancelRename();
    bool isRenaming() const { return m_isRenaming; }

    void beginAdding();
    void submitNewGoal();
    void commitNewGoal();
    void cancelNewGoal();
    bool isAddingNew() const { return m_isAddingNew; }
    QString newTodoText() const;

    bool isHovering() const { return m_isHovering; }
    // The last measured height of every goal row seen this run, by goal id.
    const QHash<QUuid, qreal> &rowHeights() const { return m_rowHeights; }

    // Without a compositor the window cannot be see-through: it asks for an opaque fill and clips the window
    // to backgroundShape() with a mask.
    void setOpaqueBackground(bool opaque);
    // The rounded background in widget coordinates.
    QPainterPath backgroundShape() const;

    PanelHeader *header() const { return m_header; }
    GoalList *goalList() const { return m_list; }
    AddArea *addArea() const { return m_addArea; }
    QScrollArea *listScroll() const { return m_listScroll; }

    QSize sizeHint() const override;

signals:
    // A secondary click anywhere on the panel; the application builds the panel menu.
    void contextMenuRequested(const QPoint &globalPosition);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Tab follows the panel from top to bottom: the header, the goals in list order, then the add area.
    void updateTabOrder();
    // Where a menu opened from the keyboard appears: under the focused goal, or under the header.
    QPoint keyboardMenuPosition() const;
    // A burst of store changes (text from another program arrives as one add per line) is shown in one
    // refresh on the next turn of the event loop, so its cost grows with the goals, not their square.
    void scheduleRefresh();
    void refreshFromStore(bool animated);
    void scheduleLayout();
    void updateAddArea();
    void updateLayout();
    void layoutOnce();
    void setHovering(bool hovering);
    void setHoverFade(qreal fade);
    void takeFocusFrom(const QWidget *area);
    // On activation: only an open editor keeps the keyboard; otherwise the view itself holds it.
    void dropUnseenFocus();
    // Runs a store operation whose effect on the list springs into place.
    void withListSpring(const std::function<void()> &operation);
    int contentWidth() const;

    TodoStore *m_store = nullptr;
    QSettings *m_defaults = nullptr;
    std::function<void(QSizeF)> m_onPanelResize;

    bool m_isHovering = false;
    bool m_isAddingNew = false;
    bool m_isRenaming = false;
    QString m_titleDraft;
    QHash<QUuid, qreal> m_rowHeights;

    PanelHeader *m_header = nullptr;
    GoalList *m_list = nullptr;
    AddArea *m_addArea = nullptr;
    QScrollArea *m_listScroll = nullptr;
    QVariantAnimation *m_hoverFade = nullptr;
    qreal m_hoverProgress = 0.0;
    bool m_opaqueBackground = false;
    // Set while the view goes away: editors losing the focus then must not change the goals or the title.
    bool m_isTearingDown = false;
    bool m_isListSpringing = false;
    bool m_isRefreshPending = false;
    // Whether any change waiting for the pending refresh came from a toggle or delete on the list spring.
    bool m_refreshSprings = false;

    QRect m_contentRect;
    // The size of the whole content, also when the window is too short to show all of the list.
    QSize m_wantedSize;
    // Sizes are reported only once the window has given the view a size: before that there is no window to fit.
    bool m_hasBeenSized = false;
    std::optional<QSizeF> m_reportedSize;
    bool m_isLayingOut = false;
    bool m_needsAnotherLayout = false;
    bool m_isLayoutPending = false;
};
