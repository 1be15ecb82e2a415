// Which file is the card's own, by whatever name it is reached.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "driver/CardFileChoice.h"
#include "driver/CardFileIdentity.h"
#include "driver/EepromFileLocation.h"
#include "testsupport/TemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(CardFileIdentity, TheCardIsKnownByEveryNameThatReachesIt) {
    CTemporaryFolder folder("vym-card-identity-");
    const fs::path root = folder.Folder();
    const fs::path card = root / "card.bin";
    std::ofstream(card) << "card";
    std::ofstream(root / "other.bin") << "card";  // the same bytes are not the same file
    fs::create_symlink(card, root / "link.bin");
    fs::create_hard_link(card, root / "hard.bin");
    CScopedVariables variables;
    variables.Set(EEPROM_FILE_VARIABLE, card.string());

    EXPECT_TRUE(IsCardFile(card.c_str()));
    EXPECT_TRUE(IsCardFile((root / "link.bin").c_str()));
    EXPECT_TRUE(IsCardFile((root / "hard.bin").c_str()));
    EXPECT_FALSE(IsCardFile((root / "other.bin").c_str()));
    EXPECT_FALSE(IsCardFile((root / "missing.bin").c_str()));
}

TEST(CardFileIdentity, TheUsersOwnCardCountsWhenNoneIsNamed) {
    CTemporaryFolder folder("vym-card-identity-");
    const fs::path root = folder.Folder();
    CScopedVariables variables;
    variables.Remove(EEPROM_FILE_VARIABLE);
    variables.Set("XDG_DATA_HOME", root.string());
    fs::create_directories(root / "vymcnf");
    std::ofstream(root / "vymcnf" / "eeprom.bin") << "card";
    EXPECT_TRUE(IsCardFile((root / "vymcnf" / "eeprom.bin").c_str()));
    EXPECT_FALSE(IsCardFile(root.c_str()));
}

TEST(CardFileIdentity, ACardNamedOnTheCommandLineWinsOverTheEnvironment) {
    CTemporaryFolder folder("vym-card-identity-");
    const fs::path root = folder.Folder();
    const std::string chosen = (root / "chosen.bin").string();
    std::ofstream(chosen) << "card";
    std::ofstream(root / "named.bin") << "card";
    fs::create_symlink(chosen, root / "tt.bin");
    CScopedVariables variables;
    variables.Set(EEPROM_FILE_VARIABLE, (root / "named.bin").string());
    ASSERT_EQ(SelectCardFile(chosen.c_str(), nullptr, 0), 1);
    const bool linkIsCard = IsCardFile((root / "tt.bin").c_str());
    const bool namedIsCard = IsCardFile((root / "named.bin").c_str());
    SelectCardFile(nullptr, nullptr, 0);
    EXPECT_TRUE(linkIsCard);
    EXPECT_FALSE(namedIsCard);
}

}  // namespace
