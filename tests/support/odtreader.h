#pragma once
// Reads back what the tests need of an exported OpenDocument text: the package's entries, and
// the body of content.xml as paragraphs, tables and pictures with the automatic styles.

#include <QBuffer>
#include <QDomDocument>
#include <QHash>
#include <QList>
#include <QMap>
#include <QStringList>
#include <private/qzipreader_p.h>

namespace odt {

struct Package {
    QStringList entries; // in the order they are stored
    QMap<QString, QByteArray> files;
};

inline Package readPackage(QByteArray raw) {
    Package package;
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    QZipReader zip(&buffer);
    for (const QZipReader::FileInfo &info : zip.fileInfoList()) {
        package.entries.append(info.filePath);
        package.files.insert(info.filePath, zip.fileData(info.filePath));
    }
    return package;
}

struct Cell {
    QString style;
    QString paragraphStyle;
    QString text;
};

struct Table {
    QString name;
    QStringList columnStyles; // one per column, repeats expanded
    int headerRows = 0;
    QList<QList<Cell>> rows;
};

// A paragraph, heading, table or picture of the body, in order.
struct Item {
    enum Kind { Paragraph, Heading, Table, Picture } kind = Paragraph;
    QString style;
    int level = 0;            // Heading
    QString text;             // Paragraph, Heading: spaces, tabs and breaks as a reader sees them
    QStringList instructions; // the text of its spans in the style "Instruction"
    int table = -1;           // Table: index into Content::tables
    QString href;             // Picture
    double widthCm = 0;       // Picture
};

struct Content {
    bool wellFormed = false;
    QList<Item> items;
    QList<Table> tables;
    // Automatic styles by name: every attribute of their properties, by qualified name.
    QHash<QString, QHash<QString, QString>> styles;

    QStringList paragraphTexts() const {
        QStringList texts;
        for (const Item &item : items)
            if (item.kind == Item::Paragraph || item.kind == Item::Heading)
                texts.append(item.text);
        return texts;
    }
    qsizetype indexOf(Item::Kind kind, const QString &text) const {
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i].kind == kind && items[i].text == text)
                return i;
        return -1;
    }
};

namespace detail {

inline void readText(const QDomNode &node, QString &text, QStringList &instructions,
                     QString *instruction) {
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isText()) {
            text += child.nodeValue();
            if (instruction)
                *instruction += child.nodeValue();
            continue;
        }
        const QDomElement element = child.toElement();
        QString add;
        if (element.tagName() == u"text:s")
            add = QString(qMax(1, element.attribute("text:c").toInt()), u' ');
        else if (element.tagName() == u"text:tab")
            add = QStringLiteral("\t");
        else if (element.tagName() == u"text:line-break")
            add = QStringLiteral("\n");
        if (!add.isEmpty()) {
            text += add;
            if (instruction)
                *instruction += add;
            continue;
        }
        if (element.tagName() == u"text:span" &&
            element.attribute("text:style-name") == u"Instruction" && !instruction) {
            QString words;
            readText(element, text, instructions, &words);
            instructions.append(words);
        } else {
            readText(element, text, instructions, instruction);
        }
    }
}

inline double centimetres(const QString &length) {
    return length.endsWith(u"cm") ? length.chopped(2).toDouble() : -1;
}

} // namespace detail

inline Content readContent(const QByteArray &xml) {
    Content content;
    QDomDocument document;
    content.wellFormed = bool(document.setContent(xml));
    const QDomElement root = document.documentElement();

    const QDomNodeList styles = root.elementsByTagName(QStringLiteral("style:style"));
    for (int i = 0; i < styles.size(); ++i) {
        const QDomElement style = styles.at(i).toElement();
        QHash<QString, QString> &properties = content.styles[style.attribute("style:name")];
        for (QDomElement p = style.firstChildElement(); !p.isNull(); p = p.nextSiblingElement()) {
            const QDomNamedNodeMap attributes = p.attributes();
            for (int a = 0; a < attributes.size(); ++a)
                properties.insert(attributes.item(a).nodeName(), attributes.item(a).nodeValue());
        }
    }

    const QDomElement body = root.firstChildElement("office:body").firstChildElement("office:text");
    for (QDomElement e = body.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        Item item;
        if (e.tagName() == u"table:table") {
            Table table{e.attribute("table:name"), {}, 0, {}};
            for (QDomElement c = e.firstChildElement("table:table-column"); !c.isNull();
                 c = c.nextSiblingElement("table:table-column"))
                for (int r = qMax(1, c.attribute("table:number-columns-repeated").toInt()); r > 0;
                     --r)
                    table.columnStyles.append(c.attribute("table:style-name"));
            const QDomNodeList rows = e.elementsByTagName(QStringLiteral("table:table-row"));
            for (int r = 0; r < rows.size(); ++r) {
                const QDomElement row = rows.at(r).toElement();
                if (row.parentNode().toElement().tagName() == u"table:table-header-rows")
                    ++table.headerRows;
                QList<Cell> cells;
                for (QDomElement c = row.firstChildElement("table:table-cell"); !c.isNull();
                     c = c.nextSiblingElement("table:table-cell")) {
                    Cell cell{c.attribute("table:style-name"), {}, {}};
                    const QDomElement p = c.firstChildElement("text:p");
                    cell.paragraphStyle = p.attribute("text:style-name");
                    QStringList ignored;
                    detail::readText(p, cell.text, ignored, nullptr);
                    cells.append(cell);
                }
                table.rows.append(cells);
            }
            content.tables.append(table);
            item.kind = Item::Table;
            item.table = int(content.tables.size()) - 1;
        } else {
            item.kind = e.tagName() == u"text:h" ? Item::Heading : Item::Paragraph;
            item.style = e.attribute("text:style-name");
            item.level = e.attribute("text:outline-level").toInt();
            const QDomElement frame = e.firstChildElement("draw:frame");
            if (!frame.isNull()) {
                item.kind = Item::Picture;
                item.widthCm = detail::centimetres(frame.attribute("svg:width"));
                item.href = frame.firstChildElement("draw:image").attribute("xlink:href");
            } else {
                detail::readText(e, item.text, item.instructions, nullptr);
            }
        }
        content.items.append(item);
    }
    return content;
}

} // namespace odt
