#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "pnp/ResourceTags.h"
#include "testsupport/CardBuffers.h"
#include "testsupport/CardImage.h"

// Every image the writer makes ends with the End tag and the checksum that brings the bytes
// from CHECKSUM_START on to a sum of zero.
inline void ExpectChecksumRule(const std::uint8_t* image, int length) {
    ASSERT_GE(length, CHECKSUM_START + 2);
    EXPECT_EQ(image[length - 2], TAG_END);
    EXPECT_EQ(ChecksumRangeSum(image, length), 0);
}

inline void ExpectChecksumRule(const CCardBuffers& buffers) {
    ExpectChecksumRule(buffers.writeImage, buffers.imageLength);
}
