#pragma once
// What the two formatted documents (the OpenDocument text and the Word document) share besides
// the walk over the outline: the one way they write XML, the pictures of the matrices and the
// zip package.

#include "model.h"
#include "tables.h"

#include <QAnyStringView>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QXmlStreamWriter>

#include <array>
#include <initializer_list>
#include <utility>

class QIODevice;

namespace sp::proposal::parts {

// `text` without what XML 1.0 cannot hold: control characters but tab, line feed and carriage
// return, U+FFFE and U+FFFF, and surrogates that are not a pair. A typed horizon could hold them.
QString xmlText(QStringView text);

class XmlWriter {
public:
    using Attribute = std::pair<const char *, QString>;

    // The XML declaration: plain, or saying the document needs no other (the Word document's).
    enum Declaration { Plain, Standalone };
    explicit XmlWriter(Declaration declaration = Plain);

    // The root element with its namespaces, each {prefix, URI}; an empty prefix is the default.
    void root(const char *name,
              std::initializer_list<std::pair<const char *, const char *>> namespaces);
    void start(const char *name) { x_.writeStartElement(QLatin1String(name)); }
    // Ends the innermost `levels` elements.
    void end(int levels = 1) {
        while (levels-- > 0)
            x_.writeEndElement();
    }
    void empty(const char *name) { x_.writeEmptyElement(QLatin1String(name)); }
    void attribute(const char *name, QAnyStringView value) {
        x_.writeAttribute(QLatin1String(name), xmlText(value.toString()));
    }
    // An element with attributes and nothing inside.
    void element(const char *name, const QList<Attribute> &attributes);
    void characters(QAnyStringView text) { x_.writeCharacters(xmlText(text.toString())); }
    // An element holding only `text`.
    void textElement(const char *name, QAnyStringView text) {
        start(name);
        characters(text);
        end();
    }
    // Ends the document and returns it.
    QByteArray finish() {
        x_.writeEndDocument();
        return out_;
    }

private:
    QByteArray out_;
    QXmlStreamWriter x_{&out_};
};

// The picture of a matrix at the look's resolution for its width.
QImage matrixImage(const Model &model, MatrixKind which);

// Writes `image` to `device` as a PNG. False and `error` set on failure.
bool encodePng(const QImage &image, QIODevice &device, QString *error);

// The pictures of both matrices as PNGs into `pngs`, Future's first, made side by side where
// threads are there: drawing and encoding them take most of a document's time. False and
// `error` set when either cannot be made.
bool matrixPngs(const Model &model, std::array<QByteArray, 2> *pngs, QString *error);

struct PackageFile {
    QString path;
    QByteArray data;
    bool stored = false; // uncompressed: an OpenDocument's mimetype
};

// Zips the files in order onto `device`. False and `error` set on failure.
bool writePackage(QIODevice &device, const QList<PackageFile> &files, QString *error);

} // namespace sp::proposal::parts
