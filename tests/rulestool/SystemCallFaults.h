#pragma once

// Faults and counts injected into this test program's system calls: the
// program defines fsync, open and fopen itself and passes them on to the C
// library unless a test asked otherwise.
#include <string>

namespace tooltest {

// Makes the n-th fsync from now on (1 for the next) fail with EIO; 0 for none.
void FailNthSync(int n);
// The number of fsync calls since the last FailNthSync.
int SyncsSinceArmed();

// Counts the opens (open or fopen) of path from now on; "" stops counting.
void CountOpensOf(const std::string& path);
int OpensCounted();

}  // namespace tooltest
