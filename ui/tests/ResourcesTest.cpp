// The program's resources as every front end gets them: templates, lists and icon.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>

#include "framework/Resources.h"
#include "ui/ChoiceLists.h"
#include "ui/DialogTemplates.h"
#include "ui/ProgramIcon.h"
#include "ui/Resource.h"
#include "ui/SetupResources.h"

namespace {

TEST(ResourcesTest, Template102HoldsItsThirtyFiveControlsInTabOrder) {
    const CDialogTemplate& setup = SetupDialogTemplate();
    EXPECT_EQ(setup.id, IDD_SETUP_DIALOG);
    EXPECT_STREQ(setup.caption, "VYM Card Setup");
    EXPECT_EQ(setup.style, 0x90C800C0u);
    EXPECT_EQ(setup.exStyle, 0x00040000u);
    EXPECT_EQ(setup.cx, 320);
    EXPECT_EQ(setup.cy, 210);
    EXPECT_STREQ(setup.fontName, "MS Sans Serif");
    EXPECT_EQ(setup.pointSize, 8);
    ASSERT_EQ(setup.items.size(), 35u);

    const CDialogItemTemplate& ok = setup.items[0];
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_STREQ(ok.text, "OK");
    EXPECT_EQ(ok.style, 0x50010001u);
    EXPECT_EQ(ok.x, 185);
    EXPECT_EQ(setup.items[2].id, IDC_READ_PORT);
    EXPECT_EQ(setup.items[2].style & 0x10000000u, 0u);  // not visible
    EXPECT_EQ(setup.items[34].id, IDC_BUTTON1);
    EXPECT_STREQ(setup.items[34].text, "Button1");
    EXPECT_EQ(setup.items[34].style & 0x10000000u, 0u);

    std::set<int> combos;
    int groups = 0;
    int labels = 0;
    for (const CDialogItemTemplate& item : setup.items) {
        if (std::string(item.className) == "COMBOBOX") {
            EXPECT_EQ(item.style, 0x50210102u);
            EXPECT_EQ(item.cx, 65);
            combos.insert(item.id);
        } else if (item.style == 0x50000007u) {
            EXPECT_STREQ(item.className, "BUTTON");
            EXPECT_EQ(item.id, -1);
            ++groups;
        } else if (std::string(item.className) == "STATIC") {
            EXPECT_EQ(item.style, 0x50020000u);
            ++labels;
        }
    }
    EXPECT_EQ(combos, (std::set<int>{1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012,
                                     1013, 1014}));
    EXPECT_EQ(groups, 7);
    EXPECT_EQ(labels, 12);
    EXPECT_EQ(setup.items[30].id, IDC_MIDI2_IRQ);
    EXPECT_EQ(setup.items[30].y, 147);
    EXPECT_EQ(setup.items[30].cy, 56);
}

TEST(ResourcesTest, Template129HoldsOnlyTheProgressBar) {
    const CDialogTemplate& write = WriteEepromDialogTemplate();
    EXPECT_EQ(write.id, IDD_WRITE_EEPROM);
    EXPECT_STREQ(write.caption, "Write EEPROM Data");
    EXPECT_EQ(write.style, 0x80C800C0u);
    EXPECT_EQ(write.cx, 204);
    EXPECT_EQ(write.cy, 50);
    ASSERT_EQ(write.items.size(), 1u);
    EXPECT_EQ(write.items[0].id, IDC_PROGRESS);
    EXPECT_STREQ(write.items[0].className, "msctls_progress32");
    EXPECT_STREQ(write.items[0].text, "Progress1");
    EXPECT_EQ(write.items[0].style, 0x50800000u);
    EXPECT_EQ(write.items[0].x, 19);
    EXPECT_EQ(write.items[0].y, 16);
    EXPECT_EQ(write.items[0].cx, 170);
    EXPECT_EQ(write.items[0].cy, 14);
}

TEST(ResourcesTest, EveryChoiceListCarriesTextsThatSpellItsValues) {
    for (auto list : {WssIoChoices(), WssIrqChoices(), WssPlayDmaChoices(), WssRecordDmaChoices(),
                      Midi1IoChoices(), Midi1IrqChoices(), DigControlIoChoices(), FmIoChoices(),
                      SbProIoChoices(), GameportIoChoices(), Midi2IoChoices(), Midi2IrqChoices()}) {
        ASSERT_FALSE(list.empty());
        for (const CChoice& choice : list) {
            const std::string text = choice.text;
            if (choice.value == CHOICE_PNP) {
                EXPECT_EQ(text, "PnP");
            } else if (choice.value == CHOICE_DISABLED) {
                EXPECT_EQ(text, "---");
            } else if (choice.value < 16) {
                EXPECT_EQ(text, std::to_string(choice.value));
            } else {
                char hex[16];
                std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(choice.value));
                EXPECT_EQ(text, hex);
            }
        }
    }
    EXPECT_EQ(WssIoChoices().size(), 16u);
    EXPECT_EQ(GameportIoChoices().size(), 2u);
}

TEST(ResourcesTest, TheIconHasTwoSixteenColourImages) {
    for (const CIconImage* image : {&LargeProgramIcon(), &SmallProgramIcon()}) {
        ASSERT_EQ(image->rows.size(), static_cast<std::size_t>(image->height));
        for (const char* row : image->rows) {
            ASSERT_EQ(std::string(row).size(), static_cast<std::size_t>(image->width));
            for (const char* p = row; *p != '\0'; ++p) {
                EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(*p)) || *p == '.') << *p;
                EXPECT_FALSE(std::islower(static_cast<unsigned char>(*p)));
            }
        }
    }
    EXPECT_EQ(LargeProgramIcon().width, 32);
    EXPECT_EQ(LargeProgramIcon().height, 32);
    EXPECT_EQ(SmallProgramIcon().width, 16);
    EXPECT_EQ(SmallProgramIcon().height, 16);
    EXPECT_EQ(IconPalette().size(), 16u);
}

TEST(ResourcesTest, TheModuleOffersBothTemplatesAndTheIconByTheirIds) {
    const CResourceModule& module = SetupResourceModule();
    EXPECT_STREQ(module.applicationTitle, "VYM Card Setup");
    EXPECT_EQ(module.FindDialog(IDD_SETUP_DIALOG), &SetupDialogTemplate());
    EXPECT_EQ(module.FindDialog(IDD_WRITE_EEPROM), &WriteEepromDialogTemplate());
    EXPECT_EQ(module.FindDialog(128), nullptr);
    const CIconResource* icon = module.FindIcon(IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(icon->FrameNearest(32), nullptr);
    EXPECT_EQ(icon->FrameNearest(32)->width, 32);
    EXPECT_EQ(icon->FrameNearest(16)->width, 16);
    EXPECT_EQ(icon->FrameNearest(32)->rows.data(), LargeProgramIcon().rows.data());
    EXPECT_EQ(icon->palette.size(), 16u);
}

}  // namespace
