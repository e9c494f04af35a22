#include "chartview.h"

#include "assets.h"

#include <QPainter>
#include <QPixmap>

namespace sp {
namespace {

// Both windows show the same picture at the same size; render it once per size and share it.
QPixmap renderedChart(QSize size, qreal ratio) {
    static QPixmap cached;
    const QSize device = (QSizeF(size) * ratio).toSize();
    if (cached.size() != device || cached.devicePixelRatio() != ratio) {
        QPixmap pixmap(device);
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintScaleChart(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        cached = pixmap;
    }
    return cached;
}

} // namespace

ChartView::ChartView(QWidget *parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ChartView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, renderedChart(size(), devicePixelRatioF()));
}

} // namespace sp
