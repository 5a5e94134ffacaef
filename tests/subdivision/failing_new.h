// The test program's own operator new, which can be made to fail as the standard library's
// does when memory runs out (it throws std::bad_alloc).
#pragma once

// The number of further calls that succeed before one fails; never fails while negative.
extern long newCallsBeforeFailure;
