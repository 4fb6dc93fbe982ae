// Waits that keep the thread's windows responsive, and the registered
// message by which the shell asks whether to start AutoPlay. Window
// procedures of the calling thread, timers included, run during a wait.
#pragma once

#include <windows.h>

#include <cstdint>

// Dispatches every message waiting in the thread's queue, then sleeps. A
// quit request met on the way is left for the message loop.
void PumpMessages(DWORD milliseconds);

// Waits at least milliseconds, dispatching the queue every step (step 0:
// a tenth of the wait, held to 1..25 ms). Runs at least one round.
void DelayPumping(int64_t milliseconds, int64_t step);

// With enable, registers "QueryCancelAutoPlay" and keeps its id; without,
// forgets it.
void RegisterAutoPlayCancel(bool enable);
// The kept id, 0 until registered. Window procedures answer it with 1.
UINT AutoPlayCancelMessage();
