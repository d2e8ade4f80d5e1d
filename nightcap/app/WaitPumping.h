// A wait that keeps the program's windows working: timer ticks and other messages are handled meanwhile.
#pragma once

void WaitPumping(unsigned milliseconds);
