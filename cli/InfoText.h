#pragma once

#include <string>

#include "cli/ImageSummary.h"

// `vymcnf info` as text: source names what was decoded ("the card \\.\VymCnf", a file).
std::string InfoText(const CImageSummary& summary, const std::string& source);

// One line of what the reader finds (devices and checksum), and one line a device: what the
// list of backups shows of each.
std::string BriefInfoText(const CImageSummary& summary);

// The checksum state in words: "valid", "bad (0x12 stored, 0x34 expected)", "missing".
std::string ChecksumText(const CChecksum& checksum);

// An identifier as the program shows every one: 0x0E63A800.
std::string IdText(std::uint32_t id);
