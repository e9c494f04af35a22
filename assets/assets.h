#pragma once
// assets/: the look both windows and the pictures of the matrices are drawn with, on no other
// folder: the pictures (here), the fonts (fonts.h), geometry and colours (layout.h).
//
// The program's pictures, compiled in: the scale chart, drawn from data by QPainter, and the
// window icons. Plain QtGui, so print and PDF output can draw them too.

#include <QIcon>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace sp {

// Draws the scale chart stretched to fill target, unevenly, as both windows show it at
// 656 x 265 px: black glyph outlines and curves, anti-aliased, nothing behind them. Vector
// drawing, so it stays sharp at any device pixel ratio and in print.
void paintScaleChart(QPainter &painter, const QRectF &target);

// The window icon "future" or "impacts", at the sizes of its pixel art from 16 to 64 px.
QIcon windowIcon(const QString &name);

} // namespace sp
