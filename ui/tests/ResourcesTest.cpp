// The program's resources as every front end gets them: templates, lists and icon.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "framework/DialogTemplate.h"
#include "framework/Resources.h"
#include "ui/ChoiceLists.h"
#include "ui/DialogTemplates.h"
#include "ui/ProgramIcon.h"
#include "ui/Resource.h"
#include "ui/SetupDlgCombos.h"
#include "ui/SetupResources.h"

namespace {

// A rectangle of the setup dialog in dialog units; a combo box counts with its closed field only,
// as its dropped list may cover whatever lies below while it is open.
struct CArea {
    int left, top, right, bottom;

    bool Inside(const CArea& outer) const {
        return left >= outer.left && top >= outer.top && right <= outer.right &&
               bottom <= outer.bottom;
    }
    bool Overlaps(const CArea& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

constexpr int kClosedComboHeight = 12;
constexpr std::uint32_t kComboTypeMask = 0x3u;  // simple, drop-down or drop-down list

bool IsCombo(const CDialogItemTemplate& item) {
    return std::string(item.className) == "COMBOBOX";
}
bool IsGroupBox(const CDialogItemTemplate& item) {
    return std::string(item.className) == "BUTTON" &&
           (item.style & template_style::kButtonTypeMask) == template_style::kGroupBox;
}
bool IsLabel(const CDialogItemTemplate& item) {
    return std::string(item.className) == "STATIC";
}
bool IsVisible(const CDialogItemTemplate& item) {
    return (item.style & template_style::kVisible) != 0;
}
CArea AreaOf(const CDialogItemTemplate& item) {
    return {item.x, item.y, item.x + item.cx,
            item.y + (IsCombo(item) ? kClosedComboHeight : item.cy)};
}

TEST(ResourcesTest, EveryControlTheDialogNamesIsInTemplate102Once) {
    const CDialogTemplate& setup = SetupDialogTemplate();
    EXPECT_EQ(setup.id, IDD_SETUP_DIALOG);
    EXPECT_STREQ(setup.caption, "VYM Card Setup");
    std::multiset<int> ids;
    for (const CDialogItemTemplate& item : setup.items) {
        if (item.id != -1) {
            ids.insert(item.id);
        }
    }
    for (const int id :
         {IDOK, IDCANCEL, IDC_READ_PORT, IDC_WSS_IO, IDC_WSS_IRQ, IDC_WSS_PLAY_DMA,
          IDC_WSS_RECORD_DMA, IDC_MIDI1_IO, IDC_MIDI1_IRQ, IDC_DIG_CONTROL_IO, IDC_FM_IO,
          IDC_SBPRO_IO, IDC_GAMEPORT_IO, IDC_MIDI2_IO, IDC_MIDI2_IRQ, IDC_BUTTON1}) {
        EXPECT_EQ(ids.count(id), 1u) << id;
    }
    EXPECT_EQ(ids.size(), 16u);  // nothing else the dialog would not know
}

// Enter presses OK; the technicians' two buttons work by their keys but are never shown.
TEST(ResourcesTest, OkIsTheDefaultButtonAndOnlyTheTechniciansButtonsAreHidden) {
    for (const CDialogItemTemplate& item : SetupDialogTemplate().items) {
        const bool pushButton = std::string(item.className) == "BUTTON" && !IsGroupBox(item);
        const bool isDefault = pushButton && (item.style & template_style::kButtonTypeMask) ==
                                                 template_style::kDefPushButton;
        EXPECT_EQ(isDefault, item.id == IDOK) << item.text;
        const bool technicians = item.id == IDC_READ_PORT || item.id == IDC_BUTTON1;
        EXPECT_EQ(IsVisible(item), !technicians) << item.text;
    }
}

// Each of the twelve boxes drops its list down, is reached with Tab, and stands inside one group
// box with its label to its left on the same line.
TEST(ResourcesTest, EachChoiceBoxIsALabelledDropDownListInItsGroup) {
    const CDialogTemplate& setup = SetupDialogTemplate();
    int combos = 0;
    for (const CDialogItemTemplate& combo : setup.items) {
        if (!IsCombo(combo)) {
            continue;
        }
        ++combos;
        EXPECT_EQ(combo.style & kComboTypeMask, template_style::kDropDown) << combo.id;
        EXPECT_NE(combo.style & template_style::kTabStop, 0u) << combo.id;
        EXPECT_NE(combo.style & template_style::kVScroll, 0u) << combo.id;
        EXPECT_GT(combo.cy, 3 * kClosedComboHeight) << combo.id;  // room for a dropped list
        const CDialogItemTemplate* group = nullptr;
        int groups = 0;
        for (const CDialogItemTemplate& item : setup.items) {
            if (IsGroupBox(item) && AreaOf(combo).Inside(AreaOf(item))) {
                group = &item;
                ++groups;
            }
        }
        ASSERT_EQ(groups, 1) << combo.id;
        int labels = 0;
        for (const CDialogItemTemplate& label : setup.items) {
            if (IsLabel(label) && AreaOf(label).Inside(AreaOf(*group)) &&
                label.x + label.cx <= combo.x && label.y >= combo.y &&
                label.y < combo.y + kClosedComboHeight) {
                ++labels;
            }
        }
        EXPECT_EQ(labels, 1) << combo.id;
    }
    EXPECT_EQ(combos, 12);
}

// Nothing the user sees sticks out of the dialog or covers another control.
TEST(ResourcesTest, VisibleControlsLieInsideTheDialogWithoutOverlapping) {
    const CDialogTemplate& setup = SetupDialogTemplate();
    const CArea dialog{0, 0, setup.cx, setup.cy};
    std::vector<const CDialogItemTemplate*> shown;
    for (const CDialogItemTemplate& item : setup.items) {
        if (IsVisible(item)) {
            EXPECT_TRUE(AreaOf(item).Inside(dialog)) << item.id << " " << item.text;
            if (!IsGroupBox(item)) {
                shown.push_back(&item);
            }
        }
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(AreaOf(*shown[i]).Overlaps(AreaOf(*shown[j])))
                << shown[i]->text << " (" << shown[i]->id << ") and " << shown[j]->text << " ("
                << shown[j]->id << ")";
        }
    }
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
    for (const CSetupCombo& combo : kSetupCombos) {
        ASSERT_FALSE(combo.choices.empty());
        for (const CChoice& choice : combo.choices) {
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
    EXPECT_EQ(std::size(kWssIoChoices), 16u);
    EXPECT_EQ(std::size(kGameportIoChoices), 2u);
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
