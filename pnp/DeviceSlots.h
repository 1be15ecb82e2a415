#pragma once

// Where each logical device stands in the image, and so in the records: the writer lays them
// out in this order and the dialog addresses them by it, never by device ID.
constexpr int SLOT_CODEC = 0;
constexpr int SLOT_GAME_PORT = 1;
constexpr int SLOT_CONTROL = 2;
constexpr int SLOT_MIDI2 = 3;
constexpr int SLOT_MIDI1 = 4;
constexpr int SLOT_DIGITAL_CONTROL = 5;
