// The hidden diagnostic dump: the first 500 EEPROM bytes to "c:\tt.bin", then each device's
// resources in a message box.
#include <algorithm>
#include <cstdio>
#include <span>

#include "driver/CardFileIdentity.h"
#include "files/CompleteFile.h"
#include "pnp/DumpReader.h"
#include "ui/MessageText.h"
#include "ui/SetupDlg.h"

namespace {

constexpr const char* kDumpPath = "c:\\tt.bin";
constexpr int kPathSize = 4096;

// The dump goes to its file whole or not at all, and only ever into a regular file of its own:
// whatever stands at that name (a link planted there, a FIFO, the card's own file under that
// name) is left alone, and an earlier dump stays until the new one is complete.
int WriteDumpFile(const char* path, const std::uint8_t* buffer) {
    if (IsCardFile(path)) {
        return 0;
    }
    CFileError error;
    return ReplaceRegularFile(path, buffer, DUMP_SIZE, &error);
}

}  // namespace

void CSetupDlg::OnReadPort() {
    std::uint8_t buffer[DUMP_SIZE] = {};  // a byte whose read fails stays 0

    for (int address = 0; address < DUMP_SIZE; ++address) {
        m_driver.ReadByte(static_cast<std::uint16_t>(address), buffer + address);
    }
    // A file that cannot be written is skipped; the device listing still runs.
    char path[kPathSize];
    if (MapWindowsPath(kDumpPath, path, sizeof path) == 1 && WriteDumpFile(path, buffer) == 1) {
        AfxFileWritten(path, DUMP_SIZE);  // hosts may show where the dump went
    }

    // The listing parses through the dialog's own records, from a starting point of its own
    // (one device later on a card whose first device stands at offset 38). They are put back
    // afterwards: a later write must build on what the dialog shows, not on records shifted by
    // a diagnostic or with the user's switching undone.
    CLogicalDevice saved[DUMPED_DEVICES];
    std::copy(m_devices, m_devices + DUMPED_DEVICES, saved);

    // No device in the dump, one the parser rejects or six that do not fit: no boxes.
    if (ParseDumpDevices(
            buffer, std::span<CLogicalDevice, DUMPED_DEVICES>(m_devices, DUMPED_DEVICES)) == 1) {
        for (int slot = 0; slot < DUMPED_DEVICES; ++slot) {
            ShowDeviceResources(slot, 0);
        }
    }
    std::copy(saved, saved + DUMPED_DEVICES, m_devices);
    UpdateData(FALSE);
}

void CSetupDlg::ShowDeviceResources(int slot, int function) {
    if (slot < 0 || slot >= MAX_LOGICAL_DEVICES || function < 0 ||
        function >= MAX_DEPENDENT_FUNCTIONS) {
        return;
    }
    const CDependentFunction& resources = m_devices[slot].dependentFunctions[function];
    const int ioCount = std::min<int>(resources.ioCount, MAX_IO_PORTS);
    const int dmaCount = std::min<int>(resources.dmaCount, MAX_DMA_CHANNELS);
    const int irqCount = std::min<int>(resources.irqCount, MAX_IRQS);

    CMessageText text;
    if (ioCount == 0 && dmaCount == 0 && irqCount == 0) {
        text.Append("Device disabled\n");
    } else {
        for (int j = 0; j < ioCount; ++j) {
            text.Append("Port %d, Start: %x, End: %x\n", j,
                        static_cast<unsigned>(resources.ioPorts[j].minBase),
                        static_cast<unsigned>(resources.ioPorts[j].maxBase));
        }
        text.Append("\n");
        for (int j = 0; j < dmaCount; ++j) {
            // The mask byte as the card holds it, not a channel number.
            text.Append("DMA %d, Channel: %x\n", j,
                        static_cast<unsigned>(resources.dmaChannels[j].mask));
        }
        text.Append("\n");
        for (int j = 0; j < irqCount; ++j) {
            text.Append("Interrupt %d, InterruptMask: %x\n", j,
                        static_cast<unsigned>(resources.irqs[j].mask));
        }
        text.Append("\n");
    }

    char caption[32];
    std::snprintf(caption, sizeof caption, "Device %d", slot + 1);
    MessageBox(text.Text(), caption, MB_OK);
}
