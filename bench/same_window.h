#pragma once
// The baseline of start-up with the program's content: the widgets of the window Future in
// plain Qt, with their places, texts and fonts, but none of the program's own classes, no
// model, no rules, no icon and no fixed palette. What the program takes beyond this window
// is what its own code costs.

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>

namespace sp::bench {

// As many of each as Future has: 163 buttons (132 cells, 6 row and 22 column resets, the
// reset of all, "Go to Impacts", save), 12 labels (6 of the window, 6 row captions), the
// time horizon's line edit, the place of the scale chart, and the File and Help menus.
inline void buildSameWindow(QMainWindow &window) {
    window.setWindowTitle(QStringLiteral("Future"));
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPointSizeF(8.25);
    window.setFont(small);
    auto *area = new QWidget(&window);
    window.setCentralWidget(area);
    const auto font = [](qreal points, bool bold) {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    };

    (new QWidget(area))->setGeometry(24, 48, 656, 265); // where the program draws its chart
    const struct {
        QString text;
        QRect box;
        QFont font;
    } labels[] = {
        {QStringLiteral("Probable future until"), {24, 5, 326, 41}, font(24.75, true)},
        {QStringLiteral("Fill in you time horizon"), {24, 112, 129, 17}, small},
        {QString(), {308, 296, 424, 17}, font(9.75, true)},
        {QString(), {25, 487, 122, 67}, font(9.75, true)},
        {QString(), {155, 489, 580, 57}, font(14.25, true)},
        {QStringLiteral("One of 955") + QString(61, u'0') + QStringLiteral(" perspectives."),
         {24, 552, 745, 17},
         font(12, false)},
    };
    for (const auto &label : labels) {
        auto *shown = new QLabel(label.text, area);
        shown->setGeometry(label.box);
        shown->setFont(label.font);
        shown->setTextFormat(Qt::PlainText);
        shown->setWordWrap(true);
    }
    const char *const rows[] = {"Administration", "Culture", "Economy",
                                "Technique",      "Ecology", "Mass|space|time"};
    for (int row = 0; row < 6; ++row) {
        auto *caption = new QLabel(QString::fromLatin1(rows[row]), area);
        caption->setGeometry(25, 316 + 24 * row, 145, 25);
        caption->setFont(font(12, true));
    }
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 22; ++column) {
            auto *cell = new QPushButton(area);
            cell->setGeometry(157 + 24 * column, 313 + 24 * row, 25, 25);
            cell->setFont(font(12, true));
        }
    for (int row = 0; row < 6; ++row)
        (new QPushButton(QStringLiteral("reset"), area))->setGeometry(685, 313 + 24 * row, 49, 25);
    for (int column = 0; column < 22; ++column)
        (new QPushButton(area))->setGeometry(157 + 24 * column, 457, 25, 25);
    (new QPushButton(QStringLiteral("reset"), area))->setGeometry(685, 457, 49, 25);
    auto *goTo = new QPushButton(QStringLiteral("Go to Impacts"), area);
    goTo->setGeometry(25, 458, 121, 24);
    goTo->setFont(font(12, false));
    auto *horizon = new QLineEdit(QStringLiteral("2030"), area);
    horizon->setGeometry(24, 42, 129, 62);
    horizon->setFont(font(42, true));
    auto *save =
        new QPushButton(QStringLiteral(" Save as Study proposal.txt in current directory"), area);
    save->setGeometry(24, 488, 121, 65);

    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open Study..."))->setShortcut(Qt::CTRL | Qt::Key_O);
    file->addAction(QStringLiteral("&Save StudyProposal.txt"))->setShortcut(Qt::CTRL | Qt::Key_S);
    file->addSeparator();
    file->addAction(QStringLiteral("&Export Document..."))
        ->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_E);
    file->addAction(QStringLiteral("Export &Matrices as PDF..."));
    file->addAction(QStringLiteral("&Print Matrices..."))->setShortcut(Qt::CTRL | Qt::Key_P);
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"))->setShortcut(Qt::CTRL | Qt::Key_Q);
    window.menuBar()
        ->addMenu(QStringLiteral("&Help"))
        ->addAction(QStringLiteral("&About Study proposal"));
    window.resize(762, 568 + window.menuBar()->sizeHint().height());
}

} // namespace sp::bench
