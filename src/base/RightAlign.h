// Where the backdrop puts a right-aligned label and its shade: 20 pixels from the window's right edge,
// the shade one pixel further left (its offset is taken from the white label's width).
#pragma once

namespace quenby {

struct TRightAligned {
    int Left = 0;
    int ShadeLeft = 0;
};

constexpr TRightAligned RightAlign(int windowWidth, int labelWidth) {
    return {windowWidth - labelWidth - 20, windowWidth - labelWidth - 21};
}

}  // namespace quenby
