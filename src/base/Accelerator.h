// The keyboard accelerator of a caption: the character after a single '&' ("&Next" -> 'N');
// "&&" stands for a literal ampersand.
#pragma once
#include <string_view>

namespace quenby {

// 0 when the caption has no accelerator.
char AcceleratorOf(std::string_view caption);

// Whether a typed character presses the accelerator (letters compared without case).
bool MatchesAccelerator(std::string_view caption, char typed);

}  // namespace quenby
