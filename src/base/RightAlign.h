// Where the backdrop puts a right-aligned label and its shade: 20 pixels (at 96 dpi) from the window's
// right edge, the shade one pixel further left (its offset is taken from the white label's width).
#pragma once

namespace quenby {

struct TRightAligned {
    int Left = 0;
    int ShadeLeft = 0;
};

inline constexpr int kRightMargin = 20;

constexpr TRightAligned RightAlign(int windowWidth, int labelWidth, int margin = kRightMargin) {
    return {windowWidth - labelWidth - margin, windowWidth - labelWidth - margin - 1};
}

}  // namespace quenby
