// SPDX-License-Identifier: GPL-3.0-or-later

// The start-up baseline: a bare frameless, translucent Qt Widgets window with a rounded fill and one line of
// text, the least a floating panel of words can be. Compared with mirel by exec to first pixels on screen and
// peak memory (bench/start_bench.py). Without the text (MIREL_BARE_NO_TEXT set) it also leaves out the font
// machinery. Given MIREL_BARE_LINES and MIREL_BARE_FRAME ("x,y,width,height"), it draws that many lines of a
// goal's length at a row's pitch in that frame instead, until the frame is full: what the first frame of a
// panel of N goals would cost if words on a fill were all it drew.
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
        const QStringList frame = qEnvironmentVariable("MIREL_BARE_FRAME").split(u',');
        if (frame.size() == 4)
            setGeometry(frame[0].toInt(), frame[1].toInt(), frame[2].toInt(), frame[3].toInt());
        else
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
        // A goal row's height in the panel, below a header of two rows.
        constexpr int RowPitch = 28;
        const int lines = qEnvironmentVariableIntValue("MIREL_BARE_LINES");
        for (int i = 0, y = 2 * RowPitch; i < lines && y + RowPitch <= height(); ++i, y += RowPitch)
            painter.drawText(QPoint(40, y + RowPitch * 2 / 3), tr("Goal %1: a line of ordinary length").arg(i));
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
