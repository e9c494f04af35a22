#pragma once
// What the two formatted documents (the OpenDocument text and the Word document) hold besides
// their markup: the pictures of the matrices and the zip package.

#include "model.h"
#include "tables.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <array>

class QIODevice;

namespace sp::proposal::parts {

// The picture of a matrix at the look's resolution for its width.
QImage matrixImage(const Model &model, MatrixKind which);

// The pictures of both matrices as PNGs, Future's first, made side by side where threads are
// there: drawing and encoding them take most of a document's time.
std::array<QByteArray, 2> matrixPngs(const Model &model);

struct PackageFile {
    QString path;
    QByteArray data;
    bool stored = false; // uncompressed: an OpenDocument's mimetype
};

// Zips the files in order onto `device`. False and `error` set on failure.
bool writePackage(QIODevice &device, const QList<PackageFile> &files, QString *error);

} // namespace sp::proposal::parts
