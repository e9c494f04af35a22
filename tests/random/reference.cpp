#include "reference.h"

#include "vocabulary.h"

namespace reference {
namespace {

namespace words = sp::test::words;

enum : int { None = 0, FrameMark = 1, GrainMark = 2, IMark = 3, PMark = 4 };

// Where the frame and the grain stand on the mass row, 0 for none.
struct Ends {
    int frame = 0;
    int grain = 0;
};

Ends massEnds(const Marks &impact) {
    Ends ends;
    for (int s = 1; s <= Scales; ++s) {
        if (impact[Mass][s] == FrameMark)
            ends.frame = s;
        if (impact[Mass][s] == GrainMark)
            ends.grain = s;
    }
    return ends;
}

// The next mark of a press, by row: the other rows cycle nothing, I, P; on the mass row a
// frame or a grain goes on I, I on P, P back to nothing, and an empty cell takes what the
// frame and the grain already there allow.
int nextImpact(const Marks &impact, int aspect, int scale) {
    const int now = impact[aspect][scale];
    if (aspect != Mass) {
        switch (now) {
        case None:
            return IMark;
        case IMark:
            return PMark;
        default:
            return None;
        }
    }
    switch (now) {
    case FrameMark:
    case GrainMark:
        return IMark;
    case IMark:
        return PMark;
    case PMark:
        return None;
    default:
        break;
    }
    const Ends ends = massEnds(impact);
    if (ends.frame == 0 && ends.grain == 0)
        return FrameMark;
    if (ends.frame == 0)
        return scale < ends.grain ? FrameMark : IMark;
    if (ends.grain == 0)
        return scale > ends.frame ? GrainMark : IMark;
    return IMark;
}

void clear(Cell &cell) {
    cell.caption.clear();
}

} // namespace

QString scaleWord(int scale) {
    return words::Scales[scale - 1];
}
QString aspectWord(int aspect) {
    return words::Aspects[aspect - 1];
}

QString trendWord(int aspect, int mark) {
    return mark == 0 ? QStringLiteral("indifferent")
                     : QString::fromLatin1(words::Trends[aspect - 1][mark - 1]);
}

QString impactWord(int mark) {
    return words::Impacts[mark];
}

QString trendCaption(int aspect, int mark) {
    if (mark == 0)
        return QString();
    // The symbol between the brackets at the end of the trend.
    const QString word = trendWord(aspect, mark);
    return word.mid(word.size() - 2, 1);
}

QString impactCaption(int mark) {
    if (mark == 0)
        return QString();
    const QString word = impactWord(mark);
    return word.mid(word.size() - 2, 1);
}

QColor rowColour(int aspect) {
    static const QColor colours[Aspects] = {{211, 0, 0},    {255, 139, 0},  {244, 202, 0},
                                            {230, 247, 23}, {154, 196, 45}, {3, 102, 192}};
    return colours[aspect - 1];
}

QString resolutionStatement(const Marks &impact) {
    const Ends ends = massEnds(impact);
    const QString locate =
        QStringLiteral("Locate frame (O) and grain (o) of study in row Mass|space|time");
    const int distance = ends.grain - ends.frame;
    if (distance < 0)
        return locate + QLatin1Char('.');
    const QString resolution = QStringLiteral("The object of study has the resolution of a ");
    switch (distance) {
    case 0:
        return locate;
    case 1:
        return resolution + QStringLiteral("very rough sketch");
    case 2:
        return resolution + QStringLiteral("rough sketch");
    case 3:
        return resolution + QStringLiteral("sketch");
    case 4:
        return resolution + QStringLiteral("drawing");
    case 5:
        return resolution + QStringLiteral("blue print");
    case 6:
        return resolution + QStringLiteral("very precise blue print");
    default:
        return QStringLiteral("The object of study will be elaborated on several scales");
    }
}

QString refusalText() {
    return QStringLiteral(
        "Fill in your frame (O) and grain (o) in the row mass|space|time before saving.");
}

QString perspectivesText() {
    return QStringLiteral("One of 955") + QString(61, QLatin1Char('0')) +
           QStringLiteral(" perspectives.");
}

void World::start() {
    showFuture();
}

void World::openFuture() {
    if (future.open)
        return;
    future = futureView();
    future.open = true;
    // A window built anew shows the marks and the horizon as they stand.
    future.horizonEdit = horizon;
    for (int a = 1; a <= Aspects; ++a)
        for (int s = 1; s <= Scales; ++s) {
            Cell &cell = futureCell(a, s - 1);
            cell.caption = trendCaption(a, trend[a][s]);
            cell.black = trend[a][s] == 0 && impact[a][s] != None;
        }
    ++futureLoads;
}

void World::openImpacts() {
    if (impacts.open)
        return;
    impacts = impactsView();
    impacts.open = true;
    impacts.horizonLabel = horizon;
    impacts.resolution = resolutionStatement(impact);
    for (int a = 1; a <= Aspects; ++a)
        for (int s = 1; s <= Scales; ++s)
            impactsCell(a, s - 1).caption = impactCaption(impact[a][s]);
    ++impactsLoads;
}

void World::showFuture() {
    openFuture();
    future.visible = true;
}

void World::showImpacts() {
    openImpacts();
    impacts.visible = true;
}

QString World::reading() const {
    if (lastAspect == 0)
        return QString();
    const int a = lastAspect;
    const int s = lastIndex + 1;
    return scaleWord(s) + QStringLiteral(" ") + aspectWord(a) + QStringLiteral(" is ") +
           impactWord(impact[a][s]) + QStringLiteral(" while ") + trendWord(a, trend[a][s]);
}

void World::pressFuture(int aspect, int index, Button button) {
    if (button == Button::Right) {
        goToImpacts();
        return;
    }
    const int s = index + 1;
    int &mark = trend[aspect][s];
    mark = (mark + 1) % 3;
    Cell &cell = futureCell(aspect, index);
    cell.black = false;
    cell.caption = trendCaption(aspect, mark);
    future.status = scaleWord(s) + QStringLiteral(" ") + aspectWord(aspect) +
                    QStringLiteral(" will be ") + trendWord(aspect, mark);
}

void World::pressImpacts(int aspect, int index, Button button) {
    if (button == Button::Right) {
        goToFuture();
        return;
    }
    const int s = index + 1;
    lastAspect = aspect;
    lastIndex = index;
    const int mark = nextImpact(impact, aspect, s);
    impact[aspect][s] = mark;
    Cell &cell = impactsCell(aspect, index);
    cell.caption = impactCaption(mark);
    const int t = trend[aspect][s];
    impacts.status = scaleWord(s) + QStringLiteral(" ") + aspectWord(aspect) +
                     QStringLiteral(" is ") + impactWord(mark) +
                     (t ? QStringLiteral(" while ") + trendWord(aspect, t) : QString());
    if (aspect == Mass)
        impacts.resolution = resolutionStatement(impact);
    if (t == 0 && mark != None) {
        openFuture(); // hidden, if the user had closed it
        futureCell(aspect, index).black = true;
    }
}

void World::resetFutureRow(int index) {
    for (int j = 0; j < Scales; ++j) {
        trend[index + 1][j + 1] = 0;
        clear(futureCell(index + 1, j));
    }
    future.status.clear();
}

void World::resetFutureColumn(int index) {
    for (int a = 1; a <= Aspects; ++a) {
        trend[a][index + 1] = 0;
        clear(futureCell(a, index));
    }
    future.status.clear();
}

void World::resetFutureAll() {
    for (int i = 0; i < Aspects; ++i)
        resetFutureRow(i);
}

void World::resetImpactsRow(int index) {
    for (int j = 0; j < Scales; ++j) {
        impact[index + 1][j + 1] = None;
        clear(impactsCell(index + 1, j));
    }
    impacts.status.clear(); // the statement stays as it was
}

void World::resetImpactsColumn(int index) {
    for (int a = 1; a <= Aspects; ++a) {
        impact[a][index + 1] = None;
        clear(impactsCell(a, index));
    }
    impacts.status.clear();
}

void World::resetImpactsAll() {
    for (int i = 0; i < Aspects; ++i)
        resetImpactsRow(i);
}

void World::goToImpacts() {
    future.status.clear();
    showImpacts();
    if (lastAspect != 0)
        impacts.status = reading();
}

void World::probableFutureUntil() {
    showImpacts();
}

void World::goToFuture() {
    impacts.switchNote = QStringLiteral(" ");
    impacts.status = QStringLiteral(" ");
    showFuture();
}

void World::closeFuture() {
    future = futureView();
}
void World::closeImpacts() {
    impacts = impactsView();
}

void World::setHorizon(const QString &text) {
    horizon = text;
    future.horizonEdit = text;
}

bool World::save() {
    const Ends ends = massEnds(impact);
    if (ends.frame == 0 || ends.grain == 0) {
        future.status = refusalText();
        return false;
    }
    openImpacts(); // the statement is read from the window, which may have to load again
    return true;
}

} // namespace reference
