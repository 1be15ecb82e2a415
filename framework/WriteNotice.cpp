#include "framework/WriteNotice.h"

#include "framework/Host.h"

int AfxWriteStarting(const char* backupPath) {
    return framework::CurrentHost().WriteStarting(backupPath != nullptr ? backupPath : "");
}
