// A wait that keeps the program's windows working: timer ticks and other messages are handled meanwhile.
#pragma once

namespace nightcap {

void WaitPumping(unsigned milliseconds);

}  // namespace nightcap
