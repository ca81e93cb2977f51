// The program's fixed pauses (splash, per copied file, end of a copy run). In-process tests switch
// them off; nothing else differs between a test and a real run.
#pragma once

namespace quenby {

void Pause(unsigned milliseconds);
void SetPauseFunction(void (*pause)(unsigned milliseconds));  // nullptr restores the real pause

}  // namespace quenby
