#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "pnp/LogicalDevice.h"
#include "pnp/tests/GuardedBuffer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const Bytes kCodecId{0x15, 0x0E, 0x63, 0xA8, 0x00, 0x00};
const Bytes kCodecName{0x82, 0x06, 0x00, 'C', 'o', 'd', 'e', 'c', 0x00};
const Bytes kIo{0x47, 0x01, 0x34, 0x05, 0x34, 0x05, 0x04, 0x04};
const Bytes kIrq{0x22, 0x20, 0x00};
const Bytes kDma{0x2A, 0x02, 0x28};

TEST(LogicalDeviceConstruction, MatchesTheFreshRecord) {
    CLogicalDevice device;
    EXPECT_EQ(Bytes(std::begin(device.idDescriptor), std::end(device.idDescriptor)),
              (Bytes{0x15, 0, 0, 0, 0, 0}));
    EXPECT_EQ(device.identifierData[0], 0x82);
    EXPECT_TRUE(std::all_of(device.identifierData + 1, std::end(device.identifierData),
                            [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(device.hasDependentFunctions, 1);
    EXPECT_EQ(device.dependentCount, 1);
    for (const CDependentFunction& function : device.dependentFunctions) {
        EXPECT_EQ(function.ioCount, 0);
        EXPECT_EQ(function.dmaCount, 0);
        EXPECT_EQ(function.irqCount, 0);
        EXPECT_EQ(function.startTag, 0x31);
        EXPECT_EQ(function.priority, 0);
        EXPECT_EQ(function.ioPorts[3].minBase, 0);
        EXPECT_EQ(function.dmaChannels[2].mask, 0);
    }
}

TEST(LogicalDeviceId, StoredMostSignificantByteFirst) {
    CLogicalDevice device;
    device.idDescriptor[5] = 0x01;
    device.SetDeviceId(0x0E63A800);
    EXPECT_EQ(Bytes(std::begin(device.idDescriptor), std::end(device.idDescriptor)),
              (Bytes{0x15, 0x0E, 0x63, 0xA8, 0x00, 0x01}));
    EXPECT_EQ(device.GetDeviceId(), 0x0E63A800u);
    device.SetDeviceId(0xFEDCBA98);
    EXPECT_EQ(device.GetDeviceId(), 0xFEDCBA98u);
}

TEST(LogicalDeviceEnable, DisablingKeepsDependentCount) {
    CLogicalDevice device;
    device.dependentCount = 3;
    device.SetEnabled(0);
    EXPECT_EQ(device.hasDependentFunctions, 0);
    EXPECT_EQ(device.dependentCount, 3);
    device.SetEnabled(1);
    EXPECT_EQ(device.hasDependentFunctions, 1);
    EXPECT_EQ(device.dependentCount, 1);
}

TEST(LogicalDeviceIdentifier, StoresTextTerminatorAndOneMoreZero) {
    CLogicalDevice device;
    std::fill(std::begin(device.identifierData), std::end(device.identifierData), 0xEE);
    device.identifierData[2] = 0x07;
    device.SetIdentifier("Codec");
    EXPECT_EQ(Bytes(device.identifierData, device.identifierData + 11),
              (Bytes{0xEE, 6, 0x07, 'C', 'o', 'd', 'e', 'c', 0, 0, 0xEE}));
}

TEST(LogicalDeviceIdentifier, EmptyText) {
    CLogicalDevice device;
    device.identifierData[3] = 'x';
    device.SetIdentifier("");
    EXPECT_EQ(device.identifierData[1], 1);
    EXPECT_EQ(device.identifierData[3], 0);
    EXPECT_EQ(device.identifierData[4], 0);
}

TEST(LogicalDeviceIdentifier, LongestTextThatFitsFillsTheArea) {
    CLogicalDevice device;
    const std::string text(75, 'A');
    device.SetIdentifier(text.c_str());
    EXPECT_EQ(device.identifierData[1], 76);
    EXPECT_EQ(device.identifierData[77], 'A');
    EXPECT_EQ(device.identifierData[78], 0);
    EXPECT_EQ(device.identifierData[79], 0);
}

TEST(LogicalDeviceIdentifier, TextTooLongLeavesIdentifierAlone) {
    for (const std::size_t length : {76u, 77u, 100u, 254u, 256u, 300u, 511u}) {
        CLogicalDevice device;
        device.SetIdentifier("Codec");
        const Bytes before(std::begin(device.identifierData), std::end(device.identifierData));
        const std::string text(length, 'B');
        device.SetIdentifier(text.c_str());
        EXPECT_EQ(Bytes(std::begin(device.identifierData), std::end(device.identifierData)), before)
            << length;
    }
}

TEST(LogicalDeviceIdentifier, TextOf255CharactersWrapsToEmpty) {
    CLogicalDevice device;
    device.SetIdentifier("Codec");
    const std::string text(255, 'C');
    device.SetIdentifier(text.c_str());
    EXPECT_EQ(device.identifierData[1], 0);
    EXPECT_EQ(device.identifierData[3], 0);
    EXPECT_EQ(device.identifierData[4], 'o');  // only the first text byte is cleared
}

TEST(LogicalDeviceIdentifier, NullTextChangesNothing) {
    CLogicalDevice device;
    device.SetIdentifier("Game Port");
    device.SetIdentifier(nullptr);
    EXPECT_EQ(device.identifierData[1], 10);
    EXPECT_EQ(device.identifierData[3], 'G');
}

TEST(DependentFunctionParse, EndTagIsConsumedNextStartIsNot) {
    CDependentFunction function;
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIo, {0x38}})), 11);
    EXPECT_EQ(function.ioCount, 1);
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIo, {0x31, 0x00}})), 10);
}

TEST(DependentFunctionParse, DescriptorsInAnyOrderFillTheirArrays) {
    CDependentFunction function;
    const Bytes second{0x2A, 0x01, 0x28};
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x02}, kIrq, kIo, kDma, kIo, second, {0x38}})),
              2 + 3 + 8 + 3 + 8 + 3 + 1);
    EXPECT_EQ(function.ioCount, 2);
    EXPECT_EQ(function.dmaCount, 2);
    EXPECT_EQ(function.irqCount, 1);
    EXPECT_EQ(function.dmaChannels[0].mask, 0x02);
    EXPECT_EQ(function.dmaChannels[1].mask, 0x01);
    EXPECT_EQ(function.priority, 0);  // the card's priority is not kept
}

TEST(DependentFunctionParse, CountsStartFromZeroOnEveryParse) {
    CDependentFunction function;
    ASSERT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIo, kIrq, {0x38}})), 14);
    ASSERT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kDma, {0x38}})), 6);
    EXPECT_EQ(function.ioCount, 0);
    EXPECT_EQ(function.irqCount, 0);
    EXPECT_EQ(function.dmaCount, 1);
}

TEST(DependentFunctionParse, RejectsUnknownOrMisplacedTags) {
    for (const std::uint8_t tag : {0x23, 0x4B, 0x30, 0x79, 0x15, 0x00, 0xFF}) {
        CDependentFunction function;
        EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIo, {tag, 0x20, 0x00, 0x38}})), -1)
            << int(tag);
    }
    CDependentFunction function;
    EXPECT_EQ(ParseGuarded(function, Concat({{0x30, 0x00}, kIo, {0x38}})), -1);
}

TEST(DependentFunctionParse, RejectsMoreDescriptorsThanTheRecordHolds) {
    CDependentFunction function;
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIo, kIo, kIo, kIo, {0x38}})), 35);
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIo, kIo, kIo, kIo, kIo, {0x38}})), -1);
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kDma, kDma, kDma, kDma, {0x38}})), -1);
    EXPECT_EQ(ParseGuarded(function, Concat({{0x31, 0x00}, kIrq, kIrq, kIrq, {0x38}})), -1);
    EXPECT_EQ(function.irqCount, 2);  // never beyond the array
}

TEST(DependentFunctionParse, RejectsFunctionCutShort) {
    const Bytes whole = Concat({{0x31, 0x00}, kDma, kIrq, kIo, {0x38}});
    for (std::size_t size = 0; size < whole.size(); ++size) {
        CDependentFunction function;
        EXPECT_EQ(ParseGuarded(function, Bytes(whole.begin(), whole.begin() + size)), -1) << size;
    }
}

TEST(LogicalDeviceParse, IdentifierFollowedByDeviceMeansNoDependentFunctions) {
    CLogicalDevice device;
    EXPECT_EQ(ParseGuarded(device, Concat({kCodecId, kCodecName, {0x15}})), 15);
    EXPECT_EQ(device.hasDependentFunctions, 0);
    EXPECT_EQ(device.dependentCount, 1);
    EXPECT_EQ(device.GetDeviceId(), 0x0E63A800u);
    EXPECT_EQ(Bytes(device.identifierData, device.identifierData + 9), kCodecName);
}

TEST(LogicalDeviceParse, TagIsNotTested) {
    CLogicalDevice device;
    Bytes bytes = Concat({kCodecId, kCodecName, {0x15}});
    bytes[0] = 0x79;
    EXPECT_EQ(ParseGuarded(device, bytes), 15);
    EXPECT_EQ(device.idDescriptor[0], 0x79);
}

TEST(LogicalDeviceParse, FirstIdentifierByteIsTakenWhateverItIs) {
    CLogicalDevice device;
    EXPECT_EQ(ParseGuarded(device, Concat({kCodecId, {0x31, 'a', 0x15}})), 8);
    EXPECT_EQ(device.identifierData[0], 0x31);
    EXPECT_EQ(device.identifierData[1], 'a');
    EXPECT_EQ(device.hasDependentFunctions, 0);
}

TEST(LogicalDeviceParse, DigitOneEndsIdentifierAndStartsAFunction) {
    CLogicalDevice device;
    const Bytes name{0x82, 0x07, 0x00, 'M', 'i', 'd', 'i', '1', 0x00};
    EXPECT_EQ(ParseGuarded(device, Concat({kCodecId, name, {0x15}})), -1);
    EXPECT_EQ(device.identifierData[6], 'i');
    EXPECT_EQ(device.hasDependentFunctions, 1);
}

TEST(LogicalDeviceParse, IdentifierDataStopsAtEightyBytes) {
    CLogicalDevice device;
    device.hasDependentFunctions = 7;
    Bytes bytes = kCodecId;
    for (int i = 0; i < 90; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(0x40 + i % 40));
    }
    EXPECT_EQ(ParseGuarded(device, bytes), 86);
    EXPECT_EQ(device.identifierData[79], bytes[85]);
    EXPECT_EQ(device.hasDependentFunctions, 7);
}

TEST(LogicalDeviceParse, EightyIdentifierBytesThenAFunction) {
    CLogicalDevice device;
    device.hasDependentFunctions = 0;
    Bytes bytes = kCodecId;
    bytes.resize(86, 'x');
    const Bytes tail = Concat({{0x31, 0x00}, kIo, {0x38, 0x79}});
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    EXPECT_EQ(ParseGuarded(device, bytes), 86 + 11);
    EXPECT_EQ(device.hasDependentFunctions, 1);
    EXPECT_EQ(device.dependentCount, 2);
}

TEST(LogicalDeviceParse, DependentCountAddsUpAcrossParses) {
    const Bytes bytes =
        Concat({kCodecId, kCodecName, {0x31, 0x00}, kIo, {0x31, 0x01}, kIrq, {0x38, 0x79}});
    CLogicalDevice device;
    EXPECT_EQ(ParseGuarded(device, bytes), 15 + 10 + 6);
    EXPECT_EQ(device.dependentCount, 3);
    EXPECT_EQ(device.dependentFunctions[0].ioCount, 1);
    EXPECT_EQ(device.dependentFunctions[1].irqCount, 1);
    EXPECT_EQ(ParseGuarded(device, bytes), 31);
    EXPECT_EQ(device.dependentCount, 5);
}

TEST(LogicalDeviceParse, FourthFunctionIsSteppedOverAndFifthNotSought) {
    const Bytes one = Concat({{0x31, 0x00}, kIo});
    const Bytes fourth = Concat({{0x31, 0x00}, kDma});
    const Bytes bytes =
        Concat({kCodecId, kCodecName, one, one, one, fourth, {0x31, 0x00}, kIo, {0x38, 0x79}});
    CLogicalDevice device;
    EXPECT_EQ(ParseGuarded(device, bytes), 15 + 3 * 10 + 5);
    EXPECT_EQ(device.dependentCount, 4);
    for (const CDependentFunction& function : device.dependentFunctions) {
        EXPECT_EQ(function.dmaCount, 0);
    }
}

TEST(LogicalDeviceParse, MalformedFunctionFailsTheDevice) {
    CLogicalDevice device;
    EXPECT_EQ(
        ParseGuarded(device,
                     Concat({kCodecId, kCodecName, {0x31, 0x00, 0x23, 0x20, 0x00, 0x38, 0x79}})),
        -1);
}

TEST(LogicalDeviceParse, DeviceCutShortIsMalformed) {
    const Bytes whole =
        Concat({kCodecId, kCodecName, {0x31, 0x00}, kDma, kIrq, kIo, {0x38}, {0x79}});
    for (std::size_t size = 0; size < whole.size(); ++size) {
        CLogicalDevice device;
        EXPECT_EQ(ParseGuarded(device, Bytes(whole.begin(), whole.begin() + size)), -1) << size;
    }
    CLogicalDevice device;
    EXPECT_EQ(ParseGuarded(device, whole), static_cast<int>(whole.size()) - 1);
}

}  // namespace
