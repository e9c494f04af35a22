#include "documentparts.h"

#include "devicewrite.h"
#include "documentlook.h"
#include "fonts.h"
#include "matrixpicture.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <private/qzipwriter_p.h>

#include <thread>

namespace sp::proposal::parts {

QImage matrixImage(const Model &model, MatrixKind which) {
    using namespace look;
    const QSize pixels(qRound(PictureWidthCm / 2.54 * PictureDpi),
                       qRound(pictureHeightCm() / 2.54 * PictureDpi));
    QImage image(pixels, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(PictureDpi / 0.0254));
    image.setDotsPerMeterY(qRound(PictureDpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintMatrix(painter, QRectF(QPointF(0, 0), QSizeF(pixels)), model, which);
    return image;
}

namespace {

QByteArray png(const QImage &image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

} // namespace

std::array<QByteArray, 2> matrixPngs(const Model &model) {
    const auto picture = [&model](MatrixKind which) { return png(matrixImage(model, which)); };
    std::array<QByteArray, 2> pngs;
#if QT_CONFIG(thread) && !defined(Q_OS_WIN)
    // Each picture on a core of its own: QPainter draws text on images in any thread. The font
    // families are looked up here first, once. Not on Windows, where Qt's font engines share
    // one device context between threads.
    fonts::family(fonts::Face::Arial);
    std::thread second([&] { pngs[1] = picture(MatrixKind::Impacts); });
    pngs[0] = picture(MatrixKind::Future);
    second.join();
#else
    pngs = {picture(MatrixKind::Future), picture(MatrixKind::Impacts)};
#endif
    return pngs;
}

bool writePackage(QIODevice &device, const QList<PackageFile> &files, QString *error) {
    // Zipped in memory: the zip writer closes its device, which the caller's must not be.
    QByteArray package;
    QBuffer buffer(&package);
    buffer.open(QIODevice::WriteOnly);
    {
        QZipWriter zip(&buffer);
        for (const PackageFile &file : files) {
            zip.setCompressionPolicy(file.stored ? QZipWriter::NeverCompress
                                                 : QZipWriter::AutoCompress);
            zip.addFile(file.path, file.data);
        }
        zip.close();
        if (zip.status() != QZipWriter::NoError)
            return failed(error, QStringLiteral("The document could not be packed"));
    }
    return writeBytes(device, package, error);
}

} // namespace sp::proposal::parts
