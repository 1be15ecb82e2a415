#include <string>

#include "testsupport/CardImage.h"
#include "ui/tests/SetupDlgFixture.h"

namespace {

class MissingDevicesWarningTest : public SetupDlgTest {};

// A card of count devices with one fixed I/O port each, in the program's own layout.
CCardImage CardOfDevices(int count) {
    CCardImage card;
    card.Header(38);
    for (int i = 0; i < count; ++i) {
        const auto base = static_cast<std::uint16_t>(0x300 + 0x10 * i);
        card.Device(0x0E63A800 + static_cast<std::uint32_t>(i), "Dev");
        card.StartDependent().Io(base, base, 8, 8).EndDependent();
    }
    return card.EndTag();
}

TEST_F(MissingDevicesWarningTest, FiveDevicesAreToldOfOnceBeforeAnyInput) {
    LoadCard(CardOfDevices(5));
    WhileOpen([&] {
        // Shown while the dialog opened, before the first pick could be made.
        ASSERT_EQ(host.MessageBoxes().size(), 1u);
        const auto& box = host.MessageBoxes()[0];
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(box.type, 0x30u);
        EXPECT_EQ(box.caption, "VYM Card Setup");
        EXPECT_EQ(box.text,
                  "The EEPROM holds only 5 logical devices where the card has six, so the "
                  "settings can be looked at but not written. \"vymcnf info\" shows what the "
                  "EEPROM holds.");
    });
    RunThenCancel();
    EXPECT_EQ(host.MessageBoxes().size(), 1u);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(MissingDevicesWarningTest, OneDeviceIsNamedInTheSingular) {
    LoadCard(CardOfDevices(1));
    RunThenCancel();
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("holds only 1 logical device where"), std::string::npos)
        << BoxTexts()[0];
}

TEST_F(MissingDevicesWarningTest, SixDevicesOpenWithoutAWord) {
    LoadCard(CardOfDevices(6));
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(dlg.m_deviceCount, 6);
}

TEST_F(MissingDevicesWarningTest, TenDevicesOpenWithoutAWord) {
    LoadCard(CardOfDevices(10));
    RunThenCancel();
    EXPECT_TRUE(host.MessageBoxes().empty());
    EXPECT_EQ(dlg.m_deviceCount, 10);
}

TEST_F(MissingDevicesWarningTest, AnUnreadableCardGetsOnlyTheReadersMessage) {
    CCardImage card = CardOfDevices(5);
    card.Image()[38 + 6 + 7 + 2] = 0x4B;  // the first device's I/O tag: fixed I/O, refused
    LoadCard(card);
    RunThenCancel();
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], "Couldn't find Logical device ID");
}

}  // namespace
