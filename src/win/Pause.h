// The program's fixed pauses (splash, per copied file, end of a copy run). In-process tests switch
// them off; nothing else differs between a test and a real run.
#pragma once

namespace quenby {

// Waits without letting the thread look hung: see LookAtQueue.
void Pause(unsigned milliseconds);
void SetPauseFunction(void (*pause)(unsigned milliseconds));  // nullptr restores the real pause

// Looks at the thread's message queue, so that the system does not mark its windows "Not Responding",
// and paints what waits to be painted; every other message, input included, stays in the queue.
void LookAtQueue();

// Throws away the keys and clicks waiting in the thread's queue: made while a step ran, they were meant
// for what was on view then, never for a question asked now.
void DropQueuedInput();

}  // namespace quenby
