// Tells whether one record is destroyed. Addresses cannot tell it, since a new record may be
// given the address of one destroyed before; so the test program's operator delete watches.
#pragma once

// Starts watching `record` (forgetting any earlier one).
void watch(const void* record);

extern bool watchedRecordDestroyed;
