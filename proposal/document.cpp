#include "document.h"

#include "outline.h"

#include <QDate>
#include <QLocale>

namespace sp::proposal {

QString studyProposalText(const Model &model, const QString &resolution, const QString &date) {
    return outlineText(model, resolution, date);
}

QString todayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace sp::proposal
