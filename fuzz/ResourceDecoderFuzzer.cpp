// Feeds arbitrary bytes to the resource data decoder, as vymcnf gives it a card or a file, and
// stops at the first broken promise. The image is a heap block of exactly 2048 bytes, so that
// the address sanitizer sees any step past its end.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "pnp/ResourceDecoder.h"
#include "pnp/SerialIdentifier.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckItems(const CResourceDecoding& decoding) {
    Require(decoding.itemCount >= 1 && decoding.itemCount <= CResourceDecoding::kMaxItems);
    Require(decoding.items[0].kind == ResourceItemKind::SerialIdentifier);
    int end = 0;
    int device = -1;
    int devices = 0;
    for (int i = 0; i < decoding.itemCount; ++i) {
        const CResourceItem& item = decoding.items[i];
        Require(item.offset >= end && item.dataOffset > item.offset - 1);
        Require(item.dataLength >= 0 && item.End() <= EEPROM_SIZE);
        Require(item.device == device || item.device == device + 1);
        Require(item.function >= -1 && (item.function == -1 || item.device >= 0));
        if (item.kind == ResourceItemKind::LogicalDeviceId) {
            ++devices;
            Require(item.device == device + 1);
        }
        if (item.problem != ResourceItemProblem::WrongLength) {
            Require(IsSoundLength(item.kind, item.dataLength));
        }
        Require(ItemAt(decoding, item.offset) == &item);
        device = item.device;
        end = item.End();
    }
    Require(devices == decoding.deviceCount);
    Require(decoding.breakCount >= 0 && decoding.breakCount <= CResourceDecoding::kMaxBreaks);
}

void CheckEnd(const std::uint8_t* image, const CResourceDecoding& decoding) {
    const CResourceItem& last = decoding.items[decoding.itemCount - 1];
    if (decoding.endTagOffset < 0) {
        // Without an End tag the walk says why it ended, and no checksum is claimed.
        Require(decoding.breakCount + decoding.lostBreaks >= 1);
        Require(!decoding.endChecksum.present);
        return;
    }
    Require(last.kind == ResourceItemKind::End && last.offset == decoding.endTagOffset);
    if (decoding.endChecksum.present) {
        // The checksum byte itself always counts, even where it stands before offset 32.
        const int checksum = decoding.endChecksum.offset;
        std::uint8_t sum = image[checksum];
        for (int i = CHECKSUM_START; i < checksum; ++i) {
            sum = static_cast<std::uint8_t>(sum + image[i]);
        }
        Require((sum == 0) == decoding.endChecksum.Holds());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto bytes = std::make_unique<std::uint8_t[]>(EEPROM_SIZE);
    // What a short input leaves is erased, as on the card.
    std::memset(bytes.get(), 0xFF, EEPROM_SIZE);
    std::memcpy(bytes.get(), data, size < EEPROM_SIZE ? size : EEPROM_SIZE);
    const auto& image = *reinterpret_cast<const std::uint8_t(*)[EEPROM_SIZE]>(bytes.get());

    auto decoding = std::make_unique<CResourceDecoding>();
    DecodeResourceData(image, *decoding);
    CheckItems(*decoding);
    CheckEnd(bytes.get(), *decoding);
    Require(decoding->serialCheck.Holds() ==
            (SerialIdentifierChecksum(bytes.get()) == bytes[SERIAL_CHECK_BYTE]));

    // A second walk over the same bytes finds the same: the decoder keeps no state of its own.
    auto again = std::make_unique<CResourceDecoding>();
    DecodeResourceData(image, *again);
    Require(again->itemCount == decoding->itemCount && again->breakCount == decoding->breakCount);
    return 0;
}
