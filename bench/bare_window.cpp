// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up baseline: a bare frameless, translucent Qt Widgets window with a rounded fill and one line of
// text, the least a floating panel of words can be. Compared with mirel by exec to first pixels on screen and
// peak memory (bench/start_bench.py). Without the text (MIREL_BARE_NO_TEXT set) it also leaves out the font
// machinery.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace
{

class BareWindow final : public QWidget
{
public:
    BareWindow()
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setGeometry(1128, 488, 300, 400);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(245, 245, 245, 224));
        painter.drawRoundedRect(QRectF(rect()), 18, 18);
        if (qEnvironmentVariableIsSet("MIREL_BARE_NO_TEXT"))
            return;
        painter.setPen(Qt::black);
        painter.drawText(rect().adjusted(12, 12, -12, -12), tr("Today's Goals"));
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
