#include <gtest/gtest.h>

#include <string>

#include "script/ControlNames.h"
#include "ui/DialogTemplates.h"

namespace {

// The labels as they stand left of each combo box in the setup dialog.
struct CExpectedLabel {
    int id;
    const char* label;
};
constexpr CExpectedLabel kLabels[] = {
    {1003, "WSS I/O"},          {1004, "WSS IRQ"},    {1005, "WSS Play DMA"},
    {1006, "WSS Record DMA"},   {1007, "Midi-1 I/O"}, {1008, "Midi-1 IRQ"},
    {1009, "Dig. Control I/O"}, {1010, "FM I/O"},     {1011, "SB Pro I/O"},
    {1012, "Gameport I/O"},     {1013, "Midi-2 I/O"}, {1014, "Midi-2 IRQ"},
};

class ControlNamesTest : public ::testing::Test {
protected:
    CControlNames names{SetupDialogTemplate()};
    std::string reason;
};

TEST_F(ControlNamesTest, EveryComboBoxGetsTheLabelOfItsRowInIdOrder) {
    ASSERT_EQ(names.ComboBoxes().size(), std::size(kLabels));
    for (std::size_t i = 0; i < std::size(kLabels); ++i) {
        EXPECT_EQ(names.ComboBoxes()[i].id, kLabels[i].id);
        EXPECT_EQ(names.ComboBoxes()[i].label, kLabels[i].label) << kLabels[i].id;
    }
}

TEST_F(ControlNamesTest, ComboBoxesByLabelAndById) {
    for (const CExpectedLabel& expected : kLabels) {
        const auto* byLabel = names.FindComboBox(expected.label, reason);
        ASSERT_NE(byLabel, nullptr) << expected.label;
        EXPECT_EQ(byLabel->id, expected.id);
        const auto* byId = names.FindComboBox(std::to_string(expected.id), reason);
        ASSERT_NE(byId, nullptr);
        EXPECT_EQ(byId->label, expected.label);
    }
}

TEST_F(ControlNamesTest, PushButtonsByTextAndById) {
    const std::pair<const char*, int> buttons[] = {
        {"OK", 1}, {"Cancel", 2}, {"Read Port", 1001}, {"Button1", 1015},
        {"1", 1},  {"2", 2},      {"1001", 1001},      {"1015", 1015},
    };
    for (const auto& [name, id] : buttons) {
        const auto* button = names.FindPushButton(name, reason);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->id, id);
    }
}

TEST_F(ControlNamesTest, WrongKindOfControlIsNamedInTheReason) {
    for (const char* button : {"OK", "1015"}) {
        EXPECT_EQ(names.FindComboBox(button, reason), nullptr) << button;
        EXPECT_EQ(reason, "control \"" + std::string(button) + "\" is not a combo box");
    }
    // Group boxes are buttons by class but take no click.
    for (const char* notAButton : {"WSS IRQ", "1003", "Midi-2", "Windows Sound System"}) {
        EXPECT_EQ(names.FindPushButton(notAButton, reason), nullptr) << notAButton;
        EXPECT_EQ(reason, "control \"" + std::string(notAButton) + "\" is not a push button");
    }
}

TEST_F(ControlNamesTest, UnknownNamesAndIds) {
    const char* unknown[] = {"1002", "0", "-1", "wss i/o", "WSS", "ok", "", "+1003", "01003x"};
    for (const char* name : unknown) {
        EXPECT_EQ(names.FindComboBox(name, reason), nullptr) << name;
        EXPECT_EQ(reason, std::string("the setup dialog has no control \"") + name + "\"");
        EXPECT_EQ(names.FindPushButton(name, reason), nullptr) << name;
    }
    // A huge number is no control either, and does not overflow.
    EXPECT_EQ(names.FindComboBox("99999999999999999999", reason), nullptr);
}

TEST_F(ControlNamesTest, LeadingZerosStillNameTheId) {
    const auto* combo = names.FindComboBox("01003", reason);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->id, 1003);
}

TEST(ControlNamesPairing, LabelIsTakenFromTheNearestColumnAndRow) {
    // Two columns; the right column's combo must not take a left column label even when that
    // one's row is nearer.
    const CDialogItemTemplate items[] = {
        {-1, "STATIC", "Left A", 0x50020000, 10, 10, 30, 8},
        {-1, "STATIC", "Left B", 0x50020000, 10, 30, 30, 8},
        {-1, "STATIC", "Right A", 0x50020000, 100, 14, 30, 8},
        {1, "COMBOBOX", "", 0x50210102, 50, 29, 40, 60},
        {2, "COMBOBOX", "", 0x50210102, 140, 9, 40, 60},
    };
    const CDialogTemplate dialog = {7, "t", 0, 0, 0, 0, 200, 100, "MS Sans Serif", 8, items};
    CControlNames names(dialog);
    ASSERT_EQ(names.ComboBoxes().size(), 2u);
    EXPECT_EQ(names.ComboBox(1)->label, "Left B");
    EXPECT_EQ(names.ComboBox(2)->label, "Right A");
    EXPECT_EQ(names.ComboBox(3), nullptr);
}

}  // namespace
