#include <cstdio>
#include <string>

#include "cli/tests/CliFixture.h"
#include "pnp/ResourceTags.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The factory card with the Codec's IRQ at 7 and its checksum made right.
CImageBytes Irq7() {
    CImageBytes image = FactoryBytes();
    image[0x3E] = 0x80;
    FixChecksum(image, 246);
    return image;
}

class WriteChecksTest : public VymcnfTest {};

TEST_F(WriteChecksTest, AnImageWithoutEndTagIsRefusedBeforeTheCardIsOpened) {
    CImageBytes image = Irq7();
    image[246] = 0x71;  // the End tag made a vendor item: the walk runs into the erased bytes
    const std::string file = WriteFile("no-end.bin", image);
    EXPECT_EQ(Run({"write", file}), 1);
    EXPECT_EQ(err, "vymcnf: " + file +
                       " has no End tag: The item at 0x0F8 (tag 0xFF) claims 65538 bytes, which "
                       "run past the end of the image; no Logical Device ID tag follows to go on "
                       "from. Nothing was written; --force writes it all the same.\n");
    EXPECT_EQ(card.openCount, 0);
    ASSERT_EQ(Run({"write", "--force", file}), 0) << err;
    EXPECT_EQ(Card(), image);
}

TEST_F(WriteChecksTest, ABadChecksumIsRefusedWithTheStoredAndTheNeededByte) {
    CImageBytes image = Irq7();
    const std::uint8_t good = image[247];
    image[247] = static_cast<std::uint8_t>(good + 1);
    const std::string file = WriteFile("bad-sum.bin", image);
    EXPECT_EQ(Run({"write", file}), 1);
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "'s End tag checksum byte at 0x0F7 is 0x%02X, where its bytes need 0x%02X. "
                  "Nothing was written; --force writes it all the same.\n",
                  image[247], good);
    EXPECT_EQ(err, "vymcnf: " + file + expected);
    EXPECT_EQ(card.openCount, 0);
    ASSERT_EQ(Run({"write", "--force", file}), 0) << err;
    EXPECT_EQ(Card(), image);
}

TEST_F(WriteChecksTest, AnImageOfAnotherCardIsRefusedAfterTheCardIsRead) {
    CImageBytes otherId = Irq7();
    otherId[3] = 0xF1;  // card ID 0x0E63A8F1
    const std::string file = WriteFile("other-id.bin", otherId);
    EXPECT_EQ(Run({"write", file}), 1);
    EXPECT_EQ(err, "vymcnf: " + file +
                       " belongs to another card: its card ID is 0x0E63A8F1, the card's "
                       "0x0E63A8F0. Nothing was written; --force writes it all the same.\n");
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Backups().empty());

    CImageBytes otherSerial = Irq7();
    otherSerial[4] = 0x46;
    EXPECT_EQ(Run({"write", WriteFile("other-serial.bin", otherSerial)}), 1);
    EXPECT_TRUE(Contains(err, "its serial number is 0x00012346, the card's 0x00012345.")) << err;

    CImageBytes otherCheck = Irq7();
    otherCheck[8] ^= 0x01;
    EXPECT_EQ(Run({"write", WriteFile("other-check.bin", otherCheck)}), 1);
    EXPECT_TRUE(Contains(err, "'s serial identifier has the check byte")) << err;
    EXPECT_TRUE(Writes().empty());

    ASSERT_EQ(Run({"write", "--force", file}), 0) << err;
    EXPECT_EQ(Card(), otherId);
}

TEST_F(WriteChecksTest, AnErasedCardTellsNothingOfWhoseItIs) {
    LoadCard(CImageBytes(EEPROM_SIZE, 0xFF));
    const std::string file = WriteFile("factory.bin", FactoryBytes());
    ASSERT_EQ(Run({"write", file}), 0) << err;
    EXPECT_EQ(Card(), FactoryBytes());
}

TEST_F(WriteChecksTest, TheRestoreHintCarriesForceWhenTheBackupWouldBeRefused) {
    // The backup of an erased card fails the checks itself.
    LoadCard(CImageBytes(EEPROM_SIZE, 0xFF));
    card.StoreOtherValueAt(100, 0x00);
    EXPECT_EQ(Run({"write", WriteFile("factory.bin", FactoryBytes())}), 1);
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Contains(err, "to put it back, run: vymcnf write --force \"" + Backups()[0] + "\""))
        << err;
}

TEST_F(WriteChecksTest, TheRestoreHintCarriesForceAfterAForcedWriteOfAnotherCardsImage) {
    CImageBytes otherId = Irq7();
    otherId[3] = 0xF1;
    card.StoreOtherValueAt(0x3E, 0x00);
    EXPECT_EQ(Run({"write", "--force", WriteFile("other-id.bin", otherId)}), 1);
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Contains(err, "vymcnf write --force \"" + Backups()[0] + "\"")) << err;
}

TEST_F(WriteChecksTest, TheRestoreHintOfAnOrdinaryBackupNeedsNoForce) {
    card.StoreOtherValueAt(0x3E, 0x00);
    EXPECT_EQ(Run({"write", WriteFile("irq7.bin", Irq7())}), 1);
    ASSERT_EQ(Backups().size(), 1u);
    EXPECT_TRUE(Contains(err, "run: vymcnf write \"" + Backups()[0] + "\"")) << err;
    // And the hint works as printed: the checks let the backup go back without --force.
    ASSERT_EQ(Run({"write", "--dry-run", Backups()[0]}), 0) << err;
}

TEST_F(WriteChecksTest, ADryRunListsTheChangesByItemAndWritesNothing) {
    const std::string file = WriteFile("irq7.bin", Irq7());
    ASSERT_EQ(Run({"write", "--dry-run", file}), 0) << err;
    char checksum[8];
    std::snprintf(checksum, sizeof checksum, "0x%02X", Irq7()[247]);
    EXPECT_EQ(out, "From the card to " + file +
                       ": 2 bytes differ, in 2 items.\n"
                       "\n"
                       "In device 0 (0x0E63A800 \"Codec\"), dependent function 1, the item at "
                       "0x03D:\n"
                       "  0x03E: 0x20 -> 0x80\n"
                       "  was: IRQ 5\n"
                       "  now: IRQ 7\n"
                       "\n"
                       "In the card, the item at 0x0F6:\n"
                       "  0x0F7: 0xB1 -> " +
                       checksum +
                       "\n"
                       "  was: End tag, checksum 0xB1\n"
                       "  now: End tag, checksum " +
                       checksum +
                       "\n"
                       "Nothing was written: --dry-run only shows what write would change.\n");
    EXPECT_TRUE(Writes().empty());
    EXPECT_TRUE(Backups().empty());
    EXPECT_EQ(Card(), FactoryBytes());
}

TEST_F(WriteChecksTest, ADryRunIsRefusedAsTheWriteWouldBe) {
    CImageBytes image = Irq7();
    image[247] ^= 0x01;
    EXPECT_EQ(Run({"write", "--dry-run", WriteFile("bad.bin", image)}), 1);
    EXPECT_TRUE(Contains(err, "End tag checksum byte")) << err;
    EXPECT_TRUE(out.empty()) << out;
}

TEST_F(WriteChecksTest, DiffComparesTheCardOrASecondFile) {
    const std::string irq7 = WriteFile("irq7.bin", Irq7());
    const std::string factory = WriteFile("factory.bin", FactoryBytes());
    ASSERT_EQ(Run({"diff", irq7}), 0) << err;
    EXPECT_TRUE(Contains(out, "From the card to " + irq7 + ": 2 bytes differ")) << out;
    ASSERT_EQ(Run({"diff", irq7, factory}), 0) << err;
    EXPECT_TRUE(Contains(out, "From " + factory + " to " + irq7 + ": 2 bytes differ")) << out;
    EXPECT_TRUE(Contains(out, "  was: IRQ 5\n  now: IRQ 7\n")) << out;
    ASSERT_EQ(Run({"diff", factory, factory}), 0) << err;
    EXPECT_EQ(out, factory + " and " + factory + " hold the same bytes.\n");
    EXPECT_TRUE(Writes().empty());

    // Bytes past the End tag fall in no item; a device's whole ID shifts into another item.
    CImageBytes tail = FactoryBytes();
    tail[300] = 0x00;
    ASSERT_EQ(Run({"diff", WriteFile("tail.bin", tail), factory}), 0) << err;
    EXPECT_TRUE(Contains(out, "Outside the resource data:\n  0x12C: 0xFF -> 0x00\n")) << out;
    EXPECT_EQ(Run({"diff", PathIn("missing.bin")}), 1);
    EXPECT_EQ(Run({"diff", "a", "b", "c"}), 2);
    EXPECT_TRUE(Contains(err, "diff takes one or two FILEs")) << err;
    EXPECT_EQ(Run({"read", "--dry-run", PathIn("x.bin")}), 2);
    EXPECT_TRUE(Contains(err, "--dry-run goes with write only")) << err;
}

}  // namespace
