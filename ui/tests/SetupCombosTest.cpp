// The table the twelve combo boxes are bound, filled and applied from.
#include <string>

#include "ui/DialogTemplates.h"
#include "ui/SetupDlgCombos.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

class SetupCombosTest : public SetupDlgTest {};

TEST(SetupCombosTableTest, EveryComboBoxOfTheTemplateHasExactlyOneRow) {
    int combos = 0;
    for (const CDialogItemTemplate& item : SetupDialogTemplate().items) {
        if (std::string(item.className) != "COMBOBOX") {
            continue;
        }
        ++combos;
        int rows = 0;
        for (const CSetupCombo& row : kSetupCombos) {
            rows += row.controlId == item.id ? 1 : 0;
        }
        EXPECT_EQ(rows, 1) << "control " << item.id;
    }
    EXPECT_EQ(combos, static_cast<int>(std::size(kSetupCombos)));
}

TEST(SetupCombosTableTest, EveryFixedBaseIsOneThePnpRangeCouldChooseToo) {
    // What the user picks by hand must be a base the Plug and Play manager may also pick.
    for (const CSetupCombo& row : kSetupCombos) {
        if (row.resource != ComboResource::IoPort) {
            continue;
        }
        ASSERT_GT(row.io.alignment, 0) << "control " << row.controlId;
        ASSERT_GT(row.io.length, 0) << "control " << row.controlId;
        for (const CChoice& choice : row.choices) {
            if (choice.value == CHOICE_PNP || choice.value == CHOICE_DISABLED) {
                continue;
            }
            EXPECT_GE(choice.value, row.io.pnpMinBase) << choice.text;
            EXPECT_LE(choice.value, row.io.pnpMaxBase) << choice.text;
            EXPECT_EQ(choice.value % row.io.alignment, 0) << choice.text;
        }
    }
}

TEST_F(SetupCombosTest, RowsStandInMemberOrderSoTheExchangeBindsInIt) {
    const char* previous = nullptr;
    for (const CSetupCombo& row : kSetupCombos) {
        const char* member = reinterpret_cast<const char*>(&(dlg.*row.combo));
        if (previous != nullptr) {
            EXPECT_GT(member, previous) << "control " << row.controlId;
        }
        previous = member;
    }
}

TEST_F(SetupCombosTest, EachMemberIsBoundToItsRowsControl) {
    LoadCard(FactoryImage());
    WhileOpen([&] {
        for (const CSetupCombo& row : kSetupCombos) {
            const framework::WindowState* state = (dlg.*row.combo).GetState();
            ASSERT_NE(state, nullptr) << "control " << row.controlId;
            EXPECT_EQ(state->id, row.controlId);
            EXPECT_EQ(state->entries.size(), row.choices.size()) << "control " << row.controlId;
        }
    });
    RunThenCancel();
}

}  // namespace
