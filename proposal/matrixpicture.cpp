// The matrices as pictures: each as its window draws it, and both on one landscape page for
// PDF and print.
#include "matrixpicture.h"

#include "assets.h"
#include "fonts.h"
#include "impactmarking.h"
#include "layout.h"
#include "outline.h"
#include "trendmarking.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace sp::proposal {
namespace {

using layout::Box;

// The part of a window the picture shows: from the left of the chart and the row captions to
// the last cell, from the top of the chart to the bottom of the mass row, in twips.
constexpr int PictureLeft = 360;
constexpr int PictureTop = 690;
constexpr int PictureRight =
    layout::MatrixLeft + layout::Pitch * (ScaleCount - 1) + layout::CellSize;
constexpr int PictureBottom =
    layout::MatrixTop + layout::Pitch * (AspectCount - 1) + layout::CellSize;

// Both matrices use the same fonts on their cells and captions.
constexpr double MatrixPoints = 12;

const QColor CaptionText(Qt::black);

// The point size that makes `points` measured in `unitsPerInch` units (96 for window pixels,
// 25.4 for millimetres) come out right on the painter's device, before its transform: the
// device's own resolution would scale the text a second time.
QFont sized(QFont font, const QPainter &painter, double points, double unitsPerInch) {
    font.setPointSizeF(points * unitsPerInch / painter.device()->logicalDpiY());
    return font;
}

QFont arialBold(const QPainter &painter, double points) {
    return sized(fonts::font(fonts::Face::Arial, points, true), painter, points, 96);
}

const layout::MatrixPlacement &placement(MatrixKind which) {
    return which == MatrixKind::Future ? layout::FutureMatrix : layout::ImpactsMatrix;
}

// A classic raised button edge around the fill, as the window's cells show it: white and
// black outside, button grey and dark grey inside. One window pixel per line.
void paintCell(QPainter &painter, const QRectF &r, const QColor &fill) {
    painter.fillRect(r, Qt::black);
    painter.fillRect(r.adjusted(0, 0, -1, -1), Qt::white);
    painter.fillRect(r.adjusted(1, 1, -1, -1), QColor(128, 128, 128));
    painter.fillRect(r.adjusted(1, 1, -2, -2), QColor(192, 192, 192));
    painter.fillRect(r.adjusted(2, 2, -2, -2), fill);
}

QString cellCaption(const Model &model, MatrixKind which, int aspect, int scale) {
    return which == MatrixKind::Future
               ? future::trendCaption(aspect, model.futureGrid(aspect, scale))
               : impacts::impactCaption(model.impactGrid(aspect, scale));
}

// Draws the matrix in window pixels, the painter already scaled and moved there.
void paintInWindowPixels(QPainter &painter, const Model &model, MatrixKind which) {
    const layout::MatrixPlacement &place = placement(which);
    paintScaleChart(painter, QRectF(layout::pixels(place.chart)));

    painter.setPen(CaptionText);
    painter.setFont(arialBold(painter, MatrixPoints));
    for (int i = 0; i < AspectCount; ++i)
        painter.drawText(
            QRectF(layout::pixels(layout::rowCaptionBox(place.captionLeft, place.captionTop, i))),
            Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(layout::RowCaptions[i]));

    // Row by row, as the window stacks its cells: each overlaps its left neighbour by a pixel.
    const QFont cellFont = arialBold(painter, MatrixPoints);
    const QFont firstCellFont = arialBold(painter, place.firstCellPoints);
    for (int aspect = 1; aspect <= AspectCount; ++aspect) {
        for (int index = 0; index < ScaleCount; ++index) {
            const int scale = index + 1;
            Box box = layout::cellBox(aspect, index);
            if (aspect == MassAspect && index == 0)
                box.width = place.firstMassCellWidth;
            const QRectF cell(layout::pixels(box));
            const bool cue = which == MatrixKind::Future && showsImpactCue(model, aspect, scale);
            paintCell(painter, cell, cue ? QColor(Qt::black) : layout::aspectColour(aspect));
            const QString caption = cellCaption(model, which, aspect, scale);
            if (caption.isEmpty())
                continue;
            painter.setFont(aspect == 1 && index == 0 ? firstCellFont : cellFont);
            painter.setPen(CaptionText);
            painter.drawText(cell, Qt::AlignCenter, caption);
        }
    }
}

// `size` scaled to fit into `box`, keeping its aspect ratio, centred.
QRectF fitted(QSizeF size, const QRectF &box) {
    size.scale(box.size(), Qt::KeepAspectRatio);
    return QRectF(box.center() - QPointF(size.width(), size.height()) / 2, size);
}

// The page in millimetres, A4 landscape.
constexpr QSizeF PageSize(297, 210);
constexpr double Margin = 12;
constexpr double Gap = 10;

// Text set on the page, in millimetres; returns the height it took.
class PageText {
public:
    explicit PageText(QPainter &painter)
        : painter_(painter) {}

    void setFont(double points, bool bold = false) {
        painter_.setFont(
            sized(fonts::font(fonts::Face::Arial, points, bold), painter_, points, 25.4));
    }
    double draw(const QRectF &box, const QString &text, int flags = Qt::TextWordWrap,
                const QColor &colour = Qt::black) {
        painter_.setPen(colour);
        QRectF used;
        const int align = flags & Qt::AlignRight ? 0 : Qt::AlignLeft;
        painter_.drawText(box, align | Qt::AlignTop | flags, text, &used);
        return used.height();
    }
    // One line, shortened with an ellipsis to fit: a horizon can be very long.
    double drawLine(const QRectF &box, const QString &text, const QColor &colour = Qt::black) {
        const QFontMetricsF metrics(painter_.font(), painter_.device());
        return draw(box, metrics.elidedText(text, Qt::ElideRight, box.width()), 0, colour);
    }

private:
    QPainter &painter_;
};

// The scale names under the columns of a matrix picture, reading upwards: the picture's chart
// names the scales in its own words, the document's tables in these.
double paintScaleNames(QPainter &painter, const QRectF &picture, const Model &model) {
    const double unit = picture.width() / matrixPictureSize().width(); // mm per window pixel
    const double pitch = double(layout::Pitch) / layout::TwipsPerPixel * unit;
    painter.setFont(sized(fonts::font(fonts::Face::Arial, 6), painter, 6, 25.4));
    const QFontMetricsF metrics(painter.font(), painter.device());
    double longest = 0;
    for (int s = 1; s <= ScaleCount; ++s)
        longest = std::max(longest, metrics.horizontalAdvance(model.scaleNames[s].trimmed()));
    painter.setPen(Qt::black);
    const double gap = 1;
    for (int s = 1; s <= ScaleCount; ++s) {
        const Box cell = layout::cellBox(1, s - 1);
        const double centre =
            picture.left() +
            ((cell.left + cell.width / 2.0) / layout::TwipsPerPixel - PictureLeft / 15.0) * unit;
        painter.save();
        painter.translate(centre, picture.bottom() + gap + longest);
        painter.rotate(-90);
        painter.drawText(QRectF(0, -pitch / 2, longest, pitch), Qt::AlignLeft | Qt::AlignVCenter,
                         model.scaleNames[s].trimmed());
        painter.restore();
    }
    return gap + longest;
}

// A small square in an aspect's colour before its legend line.
void paintSwatch(QPainter &painter, const QRectF &box, const QColor &colour) {
    painter.save();
    painter.setPen(QPen(Qt::black, 0.2));
    painter.setBrush(colour);
    painter.drawRect(box);
    painter.restore();
}

QStringList legendLines(const Outline &outline, MatrixKind which) {
    QStringList lines;
    for (const Block &block : outline.blocks)
        if (block.kind == Block::Legend && block.matrix == which)
            lines.append(joinedText(outline.piecesOf(block)));
    return lines;
}

} // namespace

QSizeF matrixPictureSize() {
    return QSizeF(double(PictureRight - PictureLeft) / layout::TwipsPerPixel,
                  double(PictureBottom - PictureTop) / layout::TwipsPerPixel);
}

void paintMatrix(QPainter &painter, const QRectF &target, const Model &model, MatrixKind which) {
    const QSizeF natural = matrixPictureSize();
    const QRectF placed = fitted(natural, target);
    painter.save();
    painter.translate(placed.topLeft());
    painter.scale(placed.width() / natural.width(), placed.height() / natural.height());
    painter.translate(-PictureLeft / double(layout::TwipsPerPixel),
                      -PictureTop / double(layout::TwipsPerPixel));
    paintInWindowPixels(painter, model, which);
    painter.restore();
}

void paintMatricesPage(QPainter &painter, const QRectF &page, const Model &model) {
    const QString resolution = impacts::resolutionStatement(model);
    const QRectF sheet = fitted(PageSize, page);
    painter.save();
    painter.translate(sheet.topLeft());
    painter.scale(sheet.width() / PageSize.width(), sheet.height() / PageSize.height());
    painter.setRenderHint(QPainter::Antialiasing);

    const Outline outline = proposalOutline(model, resolution, {});
    const double columnWidth = (PageSize.width() - 2 * Margin - Gap) / 2;
    const double pictureHeight =
        columnWidth * matrixPictureSize().height() / matrixPictureSize().width();
    PageText text(painter);

    struct Column {
        MatrixKind which;
        QString heading;
    };
    const Column columns[2] = {
        {MatrixKind::Future, QStringLiteral("Probable future until ") + model.horizon},
        {MatrixKind::Impacts, QStringLiteral("Object and impact")},
    };
    // The statement stands over the Impacts matrix, right-aligned in blue as in its window;
    // both pictures start below it.
    text.setFont(14, true);
    const double headingHeight =
        text.drawLine(QRectF(Margin, Margin, columnWidth, 10), columns[0].heading);
    text.drawLine(QRectF(Margin + columnWidth + Gap, Margin, columnWidth, 10), columns[1].heading);
    text.setFont(9, true);
    const double statementHeight =
        text.draw(QRectF(Margin + columnWidth + Gap, Margin + headingHeight + 1, columnWidth, 20),
                  resolution, Qt::TextWordWrap | Qt::AlignRight, QColor(0, 0, 192));
    const double pictureTop = Margin + headingHeight + 1 + std::max(statementHeight, 4.0) + 1;

    for (int c = 0; c < 2; ++c) {
        const double left = Margin + c * (columnWidth + Gap);
        const QRectF picture(left, pictureTop, columnWidth, pictureHeight);
        paintMatrix(painter, picture, model, columns[c].which);
        double y = picture.bottom() + paintScaleNames(painter, picture, model) + 4;

        text.setFont(10, true);
        y += text.draw(QRectF(left, y, columnWidth, 8), QStringLiteral("Legend")) + 1;
        text.setFont(9);
        const QStringList lines = legendLines(outline, columns[c].which);
        const double indent = 6;
        for (int i = 0; i < lines.size(); ++i) {
            if (columns[c].which == MatrixKind::Future)
                paintSwatch(painter, QRectF(left, y + 0.6, 3.2, 3.2), layout::aspectColour(i + 1));
            y += text.draw(QRectF(left + indent, y, columnWidth - indent, 30), lines[i]) + 1;
        }
    }
    painter.restore();
}

} // namespace sp::proposal
