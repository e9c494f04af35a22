#pragma once
// The XML of both formatted documents: elements and attributes by their qualified names, the
// namespaces declared on the root, and only the characters XML can hold.

#include <QAnyStringView>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QXmlStreamWriter>

#include <initializer_list>
#include <utility>

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

} // namespace sp::proposal::parts
