#pragma once

#include <functional>

// Runs body in a forked child and returns its exit code (128 + signal when it was killed),
// -1 when no child could be made. The child never returns into the test runner.
int RunInChild(const std::function<int()>& body);
