#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "testsupport/FileContents.h"
#include "testsupport/TemporaryFolder.h"
#include "wintypes/WinTypes.h"

// A private folder for one test, and the environment the emulated card reads, put back
// afterwards so tests never touch the user's own card.
class CardFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathIn(const std::string& name) const { return m_folder + "/" + name; }
    std::string WriteCard(const std::string& name, const std::vector<std::uint8_t>& bytes);
    static std::vector<std::uint8_t> Pattern(int size = 2048);

    void SetVariable(const char* name, const std::string& value);
    void UnsetVariable(const char* name);

    // Opens the card through the system's services; remembered and closed at TearDown.
    HANDLE OpenCard(DWORD access = 0xC0000000u, DWORD shareMode = 0);

    std::string m_folder;

private:
    CTemporaryFolder m_temporary{"vymcnf-test-"};
    CScopedVariables m_variables;
    std::vector<HANDLE> m_handles;
};

// The same, with a card file in the folder that the emulated card serves.
class CardOnFileTest : public CardFileTest {
protected:
    void SetUp() override;

    static DWORD LastError();  // as the system's services left it

    std::vector<std::uint8_t> m_card;  // the bytes the card file was made with
    std::string m_cardPath;
};
