#include "driver/tests/CardFileFixture.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "driver/ConfigDriver.h"
#include "driver/DeviceSeam.h"
#include "driver/EepromFileLocation.h"
#include "driver/EmulatedCard.h"

void CardFileTest::SetUp() {
    m_folder = m_temporary.Folder();
    ASSERT_FALSE(m_folder.empty());
    // No test may fall back on the real default file of whoever runs the tests.
    SetVariable("HOME", m_folder + "/home");
    SetVariable("XDG_DATA_HOME", m_folder + "/data");
    UnsetVariable(EEPROM_FILE_VARIABLE);
}

void CardFileTest::TearDown() {
    // The variables and the folder go with the fixture; the handles must go first.
    for (HANDLE handle : m_handles) {
        CloseEmulatedCard(handle);
    }
    m_handles.clear();
}

std::string CardFileTest::WriteCard(const std::string& name,
                                    const std::vector<std::uint8_t>& bytes) {
    const std::string path = PathIn(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::uint8_t> CardFileTest::Pattern(int size) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 31 + 17) & 0xFF);
    }
    return bytes;
}

void CardFileTest::SetVariable(const char* name, const std::string& value) {
    m_variables.Set(name, value);
}

void CardFileTest::UnsetVariable(const char* name) {
    m_variables.Remove(name);
}

HANDLE CardFileTest::OpenCard(DWORD access, DWORD shareMode) {
    HANDLE handle = SystemDeviceApi().CreateFileA(CNF_DEVICE_PATH, access, shareMode, nullptr,
                                                  OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        m_handles.push_back(handle);
    }
    return handle;
}

void CardOnFileTest::SetUp() {
    CardFileTest::SetUp();
    m_card = Pattern();
    m_cardPath = WriteCard("card.bin", m_card);
    SetVariable(EEPROM_FILE_VARIABLE, m_cardPath);
}

DWORD CardOnFileTest::LastError() {
    return SystemDeviceApi().GetLastError();
}
