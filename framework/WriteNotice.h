#pragma once

// Tells the host, right before the first byte of a write goes to the card, where the card as it
// was is saved: backupPath, or "" when no backup could be saved and the user chose to write all
// the same. The host puts it out where it stays (a line flushed to a log, the screen) and
// prepares for the write (a signal must not cut it short). Returns 1 when the write may begin;
// 0 when the host could not tell the user, and nothing may be written.
int AfxWriteStarting(const char* backupPath);
