// The program's fixed pauses (splash, per copied file, end of a copy run), and the one way a long step
// keeps its windows painted.
#pragma once

namespace quenby {

// Waits without letting the thread look hung: see LookAtQueue.
void Pause(unsigned milliseconds);

// Looks at the thread's message queue, so that the system does not mark its windows "Not Responding",
// and paints what waits to be painted; every other message, input included, stays in the queue, so that
// no click or key acts in the middle of the step.
void LookAtQueue();

// Throws away the keys and clicks waiting in the thread's queue: made while a step ran, they were meant
// for what was on view then, never for a question asked now.
void DropQueuedInput();

}  // namespace quenby
