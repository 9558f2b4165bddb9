#pragma once
// A long library read keeps the window responsive by processing pending
// window messages from its line hook. Doing that after every line makes a
// read several times slower; every few milliseconds the user cannot tell
// apart from every line.

#include <functional>

// A line hook that processes pending messages at its first call and then
// whenever `milliseconds` have passed. The clock itself is looked at only
// every 64 lines, so that a line costs the read next to nothing.
std::function<void()> ProcessMessagesEvery(int milliseconds);
