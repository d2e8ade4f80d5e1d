// Setting the clock from the network time page's reply (thread A runs it once per start).
#pragma once
#include "nightcap/online/TextBytes.h"

namespace nightcap {

// Sets the computer's clock (SystemClock.h) to the reply's Beijing time in UTC. False, and the clock left
// alone, when the reply is not a time document with all six fields in range; false too when setting the
// clock was refused. Only true is announced to the user.
bool SetClockFromTimeReply(const Bytes& reply);

}  // namespace nightcap
