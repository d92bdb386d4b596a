// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPainterPath>
#include <QWidget>

#include <optional>

namespace X11Platform
{
class CompositorWatch;
}
class PanelMapKeeper;
class PanelResizeBorder;
class QMouseEvent;

// The one floating panel: frameless, above ordinary windows, on every desktop, out of the taskbar and the
// pager, shown without taking the focus, and resizable by its border. It becomes the focused window on the
// first left or right button press, before the press reaches the content, so a click into a text field
// both focuses the panel and the field.
class KeyablePanel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyablePanel)

public:
    // Without a compositor a translucent window shows black where it is transparent; such a panel is drawn
    // opaque and clipped to its content's shape instead. The window itself keeps an alpha channel either
    // way, so that the panel follows a compositor that starts or stops later without a new window.
    explicit KeyablePanel(bool translucent, QWidget *parent = nullptr);
    ~KeyablePanel() override;

    // The content fills the panel.
    void setContentView(QWidget *content);
    // The content's visible outline in panel coordinates, which the window clips itself or its blur to.
    void setContentShape(const QPainterPath &shape);

    // Sizes the panel to what its content wants, in Qt's screen coordinates. The content fixes the height, so
    // from then on the user resizes only the width.
    void setFrameFromContent(const QRect &geometry);

    // Shows the panel above other windows without taking the focus from the active one.
    void orderFront();
    // Shows the panel again wherever it went (iconified, hidden with the desktop, left on another desktop,
    // under other windows), still without taking the focus.
    void bringToFront();
    // Takes the keyboard for a request the user made elsewhere (a desktop shortcut), at the X server time of
    // the user's action or 0 when unknown; the panel otherwise takes the focus only on its own press.
    void takeKeyboard(uint32_t userTime);

signals:
    // The user took hold of the border, and let it go with the panel at its final size.
    void liveResizeStarted();
    void liveResizeEnded();
    // Once, after the first frame is on screen.
    void firstFrameShown();
    // A compositor started or stopped: the content fills its background opaquely while this is false.
    void translucencyChanged(bool translucent);
    // The window manager asked the panel to close (its close key or a close request from another program).
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void keepUnfocused(QWindow *handle);
    void takeFocusForPress(const QMouseEvent *press);
    void finishLiveResize(Qt::Edges edges);
    void updateShape();
    void watchCompositor();
    void followCompositor();

    bool m_translucent = true;
    bool m_blurBehind = false;
    bool m_mapped = false;
    // A keyboard request that came before the panel was first on screen, granted once it is.
    std::optional<uint32_t> m_pendingKeyboardTime;
    QWidget *m_content = nullptr;
    QPainterPath m_contentShape;
    PanelResizeBorder *m_border = nullptr;
    PanelMapKeeper *m_mapKeeper = nullptr;
    X11Platform::CompositorWatch *m_compositorWatch = nullptr;
};
