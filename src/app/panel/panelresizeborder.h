// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <array>

class PanelResizeGrip;
class QWidget;

// The grips along the panel's four edges and four corners by which the user resizes it.
class PanelResizeBorder final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelResizeBorder)

public:
    // The grips are the panel's own children, so that they get the presses on its edge.
    explicit PanelResizeBorder(QWidget *panel);
    ~PanelResizeBorder() override;

    // Puts the grips above the panel's other children, which may reach under its edge.
    void raise();
    // Fits the grips to the panel's size; while its height is fixed, they resize only the width.
    void layout();

signals:
    void resizeStarted();
    // The edges held, so that the panel can keep the others where they are when it settles its size.
    void resizeEnded(Qt::Edges edges);

private:
    QWidget *m_panel = nullptr;
    std::array<PanelResizeGrip *, 8> m_grips {};
};
