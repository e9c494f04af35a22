#include "xmlwriter.h"

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

} // namespace sp::proposal::parts
