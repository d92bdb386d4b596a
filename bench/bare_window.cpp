// The start-up baseline: a bare frameless, translucent Qt Widgets window with a rounded fill, the least a
// floating panel can be. Compared with mirel by exec-to-mapped time and peak memory.
#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
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
