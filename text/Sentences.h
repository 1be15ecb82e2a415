#pragma once

// Words the front ends and the dialogs put into their sentences alike, so that each says them
// the same way. Nothing here allocates: the dialogs use it too.

// The full stop a system's reason needs at the end of a sentence: "" when it ends in one
// already, "." otherwise (the system's texts come both ways).
const char* FullStop(const char* reason);

// The verb for a count of bytes that differ: "byte differs" for one, "bytes differ" otherwise.
const char* BytesDifferWords(int differences);

// The noun for a count of logical devices: "logical device" for one, "logical devices"
// otherwise.
const char* LogicalDevicesWords(int count);
