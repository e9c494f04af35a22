#include "documentparts.h"

#include "devicewrite.h"
#include "documentlook.h"
#include "fonts.h"
#include "matrixpicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <private/qzipwriter_p.h>

#include <thread>

namespace sp::proposal::parts {

QString xmlText(QStringView text) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            kept += text.sliced(i++, 2);
        } else if ((u >= 0x20 && !QChar::isSurrogate(u) && u != 0xFFFE && u != 0xFFFF) ||
                   u == '\t' || u == '\n' || u == '\r') {
            kept += QChar(u);
        }
    }
    return kept;
}

XmlWriter::XmlWriter(Declaration declaration) {
    if (declaration == Standalone)
        x_.writeStartDocument(QStringLiteral("1.0"), true);
    else
        x_.writeStartDocument();
}

void XmlWriter::root(const char *name,
                     std::initializer_list<std::pair<const char *, const char *>> namespaces) {
    start(name);
    for (const auto &[prefix, uri] : namespaces) {
        if (*prefix)
            x_.writeNamespace(QLatin1String(uri), QLatin1String(prefix));
        else
            x_.writeDefaultNamespace(QLatin1String(uri));
    }
}

void XmlWriter::element(const char *name, const QList<Attribute> &attributes) {
    empty(name);
    for (const auto &[key, value] : attributes)
        attribute(key, value);
}

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

bool encodePng(const QImage &image, QIODevice &device, QString *error) {
    QImageWriter writer(&device, "PNG");
    return writer.write(image) ||
           failed(error, QStringLiteral("The picture could not be made: ") + writer.errorString());
}

bool matrixPngs(const Model &model, std::array<QByteArray, 2> *pngs, QString *error) {
    std::array<QString, 2> errors; // each picture's own, as they may be made side by side
    const auto picture = [&](MatrixKind which) {
        QBuffer buffer(&(*pngs)[std::size_t(which)]);
        buffer.open(QIODevice::WriteOnly);
        encodePng(matrixImage(model, which), buffer, &errors[std::size_t(which)]);
    };
#if QT_CONFIG(thread) && !defined(Q_OS_WIN)
    // Each picture on a core of its own: QPainter draws text on images in any thread. The font
    // families are looked up here first, once. Not on Windows, where Qt's font engines share
    // one device context between threads.
    fonts::family(fonts::Face::Arial);
    std::thread second(picture, MatrixKind::Impacts);
    picture(MatrixKind::Future);
    second.join();
#else
    picture(MatrixKind::Future);
    picture(MatrixKind::Impacts);
#endif
    for (const QString &reason : errors)
        if (!reason.isEmpty())
            return failed(error, reason);
    return true;
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
