#include "platform.h"

#include "appinfo.h"

#include <QAbstractButton>

namespace sp {

QMessageBox *Platform::unsavedMarksBox(QWidget *parent, const QString &whereTo) {
    auto *box =
        new QMessageBox(QMessageBox::Warning, QString::fromUtf8(appinfo::DisplayName),
                        QStringLiteral("The marks have changed since they were last saved."),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box->setInformativeText(whereTo);
    // Some desktops call Discard "Close without Saving", which is not what it does here.
    box->button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box->button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

} // namespace sp
