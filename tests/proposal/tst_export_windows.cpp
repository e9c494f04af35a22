// The matrix pictures of the exported document and the matrices page against the windows
// themselves: drawn at window size, a picture shows what the window shows, pixel for pixel
// but for the window's keyboard focus and status labels.
#include "fixtures.h"
#include "gui.h"
#include "layout.h"
#include "matrixpicture.h"
#include "study.h"

#include <QPainter>

using namespace sp;
using namespace sp::test;
using proposal::MatrixKind;

namespace {

// Marks on every kind of cell and a black cue, saved and opened as a study.
Model studyModel() {
    Model model = fixtures::workedExample();
    model.futureGrid(1, 1) = 1; // the cell with its own font size
    model.futureGrid(4, 2) = 2;
    model.futureGrid(6, 22) = 1;
    model.impactGrid(1, 20) = Unintended;
    model.impactGrid(2, 16) = Programme;
    return model;
}

// Where the picture's corner falls in the window: the first cell's place in the window less
// its place in the layout, so that a menu bar above the matrix does not matter.
QPoint pictureCorner(QWidget *window) {
    const QWidget *cell = window->findChild<QWidget *>(QStringLiteral("cell_1_0"));
    const QPoint layoutCell = layout::pixels(layout::cellBox(1, 0)).topLeft();
    return cell->mapTo(window, QPoint(0, 0)) - layoutCell + QPoint(24, 46);
}

} // namespace

class TestExportWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pictureIsTheWindow_data();
    void pictureIsTheWindow();
};

void TestExportWindows::pictureIsTheWindow_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("Future") << int(MatrixKind::Future);
    QTest::newRow("Impacts") << int(MatrixKind::Impacts);
}

void TestExportWindows::pictureIsTheWindow() {
    QFETCH(int, which);
    const MatrixKind kind = MatrixKind(which);
    ScratchDirectory dir;
    Application app;
    app.start(writeStudy(dir.path(), studyModel()));
    app.showImpacts();
    QWidget *window = kind == MatrixKind::Future ? static_cast<QWidget *>(app.futureWindow())
                                                 : app.impactsWindow();
    QVERIFY(window);
    // Nothing focused, as no picture shows a focus frame.
    if (QWidget *focus = window->focusWidget())
        focus->clearFocus();
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);

    const QSize size = proposal::matrixPictureSize().toSize();
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(layout::Background);
    QPainter painter(&picture);
    proposal::paintMatrix(painter, QRectF(QPointF(0, 0), QSizeF(size)), app.model(), kind);
    painter.end();

    // Not the matrix's: the time horizon and the window's title over the chart's top left
    // corner, the status labels over its foot, and the row and column buttons, which cover
    // the last pixel of the cells' edge on the right and at the bottom.
    const QRect horizon(0, 0, 2295 / 15 - 24, 1935 / 15 - 46);
    const QRect labels(0, 296 - 46, size.width(), 313 - 296);
    const QPoint corner = pictureCorner(window);
    int differing = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            if (labels.contains(x, y) || horizon.contains(x, y) || x == size.width() - 1 ||
                y == size.height() - 1)
                continue;
            const QColor a = picture.pixelColor(x, y);
            const QColor b = shown.pixelColor(corner + QPoint(x, y));
            if (qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) >
                24)
                ++differing;
        }
    QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 pixels differ").arg(differing)));
}

QTEST_MAIN(TestExportWindows)
#include "tst_export_windows.moc"
