// Libraries come from the system folder only.
#pragma once

namespace quenby {

// The programs run from a medium anyone could have written to: libraries are taken from the system folder,
// never from beside the program. Looked up at run time, as older Windows lacks the call.
void KeepLibrarySearchToSystem();

}  // namespace quenby
