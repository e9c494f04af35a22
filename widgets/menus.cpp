#include "menus.h"

#include "appinfo.h"
#include "fonts.h"
#include "palette.h"

#include <QMenuBar>

namespace sp {
namespace {

struct Item {
    const char *text;
    QKeySequence shortcut;
    std::function<void()> MenuCommands::*command;
};

// Menus are windows of their own and inherit nothing from the window they open from.
QMenu *addMenu(QMenuBar &bar, const QString &title) {
    QMenu *menu = bar.addMenu(title);
    menu->setPalette(palette::menuPalette());
    menu->setFont(bar.font());
    return menu;
}

void addItems(QMenu *menu, const MenuCommands &commands, std::initializer_list<Item> items) {
    for (const Item &item : items) {
        if (!item.text) {
            menu->addSeparator(); // QMenu shows no separator twice, nor one at an end
            continue;
        }
        if (!(commands.*item.command))
            continue;
        QAction *action = menu->addAction(QString::fromUtf8(item.text));
        action->setShortcut(item.shortcut);
        QObject::connect(action, &QAction::triggered, menu,
                         [command = commands.*item.command] { command(); });
    }
}

} // namespace

void fillMenuBar(QMenuBar &bar, const MenuCommands &commands) {
    bar.setPalette(palette::menuPalette());
    bar.setFont(fonts::font(fonts::Face::MsSansSerif, 8.25));

    // The same keys on every system: Qt's standard Quit is Ctrl+Q on Linux only.
    addItems(addMenu(bar, QStringLiteral("&File")), commands,
             {{"&New Study", QKeySequence(Qt::CTRL | Qt::Key_N), &MenuCommands::newStudy},
              {"&Open Study...", QKeySequence(Qt::CTRL | Qt::Key_O), &MenuCommands::openStudy},
              {"&Save StudyProposal.txt", QKeySequence(Qt::CTRL | Qt::Key_S), &MenuCommands::save},
              {},
              {commands.downloads ? "&Export Word Document" : "&Export Document...",
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &MenuCommands::exportDocument},
              {"Export &OpenDocument Text", QKeySequence(), &MenuCommands::exportOpenDocument},
              {commands.downloads ? "Export &Matrices as PDF" : "Export &Matrices as PDF...",
               QKeySequence(), &MenuCommands::exportPdf},
              {"&Print Matrices...", QKeySequence(Qt::CTRL | Qt::Key_P), &MenuCommands::print},
              {},
              {"&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), &MenuCommands::quit}});
    QAction *about =
        addMenu(bar, QStringLiteral("&Help"))
            ->addAction(QStringLiteral("&About %1").arg(QString::fromUtf8(appinfo::DisplayName)));
    QObject::connect(about, &QAction::triggered, about, [command = commands.about] { command(); });
}

} // namespace sp
