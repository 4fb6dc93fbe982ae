// Where the main window and the start-up hand over to the auto-update
// agent. The agent's own work (its launcher, tick, commands and test mode)
// is not part of this program yet: these do nothing and report so.
#pragma once

#include <cstdint>

// The agent command dispatcher behind wm_AgentMsg; 0 for every command.
intptr_t AgentCommand(uintptr_t command, intptr_t value);
// The agent's timer tick.
void AgentTick();
// wm_ShutDown: the agent's lifetime countdown.
void SetAgentLifetime(int64_t ticks);
// /SleepX=: the agent's tick counter.
void SetAutoUpdateTimerCount(int64_t count);

// The download abort flag shared with transfers; a close request sets it.
void SetDownloadAbort(bool abort);
bool DownloadAborted();
