#include "matricespdf.h"

#include "devicewrite.h"
#include "matrixpicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace sp::proposal {

bool writeMatricesPdf(QIODevice &device, const Model &model, QString *error) {
    QByteArray pdfBytes;
    QBuffer buffer(&pdfBytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QStringLiteral("Study proposal: matrices until ") + model.horizon);
        pdf.setCreator(QCoreApplication::applicationName());
        if (!paintMatricesPdf(pdf, model, error))
            return false;
    }
    return writeBytes(device, pdfBytes, error);
}

bool paintMatricesPdf(QPaintDevice &pdf, const Model &model, QString *error) {
    QPainter painter;
    if (!painter.begin(&pdf))
        return failed(error, QStringLiteral("The PDF could not be started"));
    paintMatricesPage(painter, QRectF(0, 0, pdf.width(), pdf.height()), model);
    return painter.end() || failed(error, QStringLiteral("The PDF could not be finished"));
}

} // namespace sp::proposal
