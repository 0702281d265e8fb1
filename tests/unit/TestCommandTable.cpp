#include "resources/CommandIds.h"
#include "view/CommandTable.h"
#include "view/InputMap.h"
#include "view/ViewMenus.h"

#include <gtest/gtest.h>

namespace {

// Ids that the menus, the pad or the keys give: a command without a row would do nothing.
void ExpectRows(const QMenu& menu) {
    for (const QAction* action : menu.actions()) {
        if (action->menu() != nullptr) {
            ExpectRows(*action->menu());
        } else if (!action->isSeparator()) {
            EXPECT_NE(CommandTable::Find(action->data().toInt()), nullptr)
                << action->text().toStdString();
        }
    }
}

TEST(CommandTable, EveryCommandOfTheMenusAndThePadHasARow) {
    for (int menuId : {IDR_MENU_FOLDER, IDR_MENU_RESUME, IDR_MENU_PLAYBACK})
        ExpectRows(*ViewMenus::Build(menuId, nullptr));
    for (int code = 0; code <= 20; ++code) {
        for (bool playing : {false, true}) {
            const InputAction action = InputMap::PadActionFor(code, playing, false);
            if (action.action == ViewAction::Command) {
                EXPECT_NE(CommandTable::Find(action.command), nullptr) << code;
            }
        }
    }
    EXPECT_EQ(CommandTable::Find(0), nullptr);
}

} // namespace
