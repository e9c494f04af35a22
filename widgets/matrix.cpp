#include "matrix.h"

#include "fonts.h"
#include "layout.h"
#include "model.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace sp {

using layout::pixels;

MatrixControls::MatrixControls(QWidget *window, const Options &options)
    : QObject(window) {
    const QFont captionFont = fonts::font(fonts::Face::Arial, 12, true);
    for (int i = 0; i < 6; ++i) {
        auto *caption = new QLabel(QString::fromLatin1(layout::RowCaptions[i]), window);
        caption->setObjectName(QStringLiteral("rowCaption_%1").arg(i));
        caption->setGeometry(
            pixels(layout::rowCaptionBox(options.captionOrigin.x(), options.captionOrigin.y(), i)));
        caption->setFont(captionFont);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        captions_[i] = caption;
    }

    // Created row by row, then the resets and column buttons: this is the focus order.
    const QFont cellFont = fonts::font(fonts::Face::Arial, 12, true);
    for (int aspect = 1; aspect <= AspectCount; ++aspect) {
        for (int index = 0; index < ScaleCount; ++index) {
            auto *cell = new CellButton(aspect, index, window);
            cell->setObjectName(QStringLiteral("cell_%1_%2").arg(aspect).arg(index));
            layout::Box box = layout::cellBox(aspect, index);
            if (aspect == MassAspect && index == 0)
                box.width = options.firstMassCellWidth;
            cell->setGeometry(pixels(box));
            cell->setFont(aspect == 1 && index == 0
                              ? fonts::font(fonts::Face::Arial, options.firstCellPoints, true)
                              : cellFont);
            cell->setFill(layout::aspectColour(aspect));
            cell->setAccessibleDescription(
                QStringLiteral("%1 at %2")
                    .arg(QString::fromLatin1(layout::RowCaptions[aspect - 1]),
                         vocabularyScaleName(index + 1)));
            connect(cell, &CellButton::mouseDown, this, &MatrixControls::cellMouseDown);
            cells_[aspect - 1][index] = cell;
        }
    }
    const QString reset = QStringLiteral("reset");
    for (int i = 0; i < 6; ++i) {
        auto *button = new QPushButton(reset, window);
        button->setObjectName(QStringLiteral("rowReset_%1").arg(i));
        button->setGeometry(pixels(layout::rowResetBox(i)));
        button->setAccessibleDescription(
            QStringLiteral("Clear row %1").arg(QString::fromLatin1(layout::RowCaptions[i])));
        connect(button, &QPushButton::clicked, this, [this, i] { Q_EMIT rowResetClicked(i); });
        rowResets_[i] = button;
    }
    for (int j = 0; j < ScaleCount; ++j) {
        auto *button = new QPushButton(window);
        button->setObjectName(QStringLiteral("columnReset_%1").arg(j));
        button->setGeometry(pixels(layout::columnBox(j)));
        button->setAccessibleDescription(
            QStringLiteral("Clear column %1").arg(vocabularyScaleName(j + 1)));
        connect(button, &QPushButton::clicked, this, [this, j] { Q_EMIT columnClicked(j); });
        columns_[j] = button;
    }
    resetAll_ = new QPushButton(reset, window);
    resetAll_->setObjectName(QStringLiteral("resetAll"));
    resetAll_->setGeometry(pixels(layout::ResetAllBox));
    resetAll_->setAccessibleDescription(QStringLiteral("Clear the whole matrix"));
    connect(resetAll_, &QPushButton::clicked, this, &MatrixControls::resetAllClicked);
}

CellButton *MatrixControls::cell(int aspect, int index) const {
    return cells_[detail::inRange(aspect, 1, AspectCount, "aspect") - 1]
                 [detail::checked(index, ScaleCount - 1, "position")];
}

QPushButton *MatrixControls::rowReset(int index) const {
    return rowResets_[detail::checked(index, 5, "position")];
}

QPushButton *MatrixControls::columnButton(int index) const {
    return columns_[detail::checked(index, ScaleCount - 1, "position")];
}

QLabel *MatrixControls::rowCaption(int index) const {
    return captions_[detail::checked(index, 5, "position")];
}

void MatrixControls::setCaption(int aspect, int index, const QString &caption) {
    cell(aspect, index)->setText(caption);
}

void MatrixControls::clearRow(int aspect) {
    for (int j = 0; j < ScaleCount; ++j)
        setCaption(aspect, j, QString());
}

void MatrixControls::clearColumn(int index) {
    for (int a = 1; a <= AspectCount; ++a)
        setCaption(a, index, QString());
}

void MatrixControls::clearAll() {
    for (int a = 1; a <= AspectCount; ++a)
        clearRow(a);
}

} // namespace sp
