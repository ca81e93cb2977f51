// How a window is declared as data: one TFormDecl for the window itself and one constexpr table of
// TControlDecl rows for its controls. Control IDs are derived from a row's place in its table, so they
// are never numbered by hand and cannot clash; ControlId() gives a row's ID by name at compile time.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quenby::ui {

enum class Kind {
    Label,        // text, painted by the framework (transparent or filled)
    Picture,      // a bitmap or icon resource
    Bevel,        // a raised frame or a horizontal rule
    Timer,        // no window; fires ControlEvent every Interval ms while enabled
    Button,       // flat push button, never focused, & accelerator
    Panel,        // a container; its controls name it as Parent
    Edit,         // single-line edit box
    Memo,         // read-only multi-line text box
    ProgressBar,  // range 0 to 100
    Host,         // a panel that hosts a control created by other code (e.g. the directory tree)
};

// Kind-specific options.
enum Option : unsigned {
    kAutoSize = 1u << 0,     // label: sized to its text; picture: sized to its bitmap
    kWordWrap = 1u << 1,     // label: breaks lines at its width
    kTransparent = 1u << 2,  // label: shows what lies beneath instead of filling its rectangle
    kStretch = 1u << 3,      // picture: stretched to its size
    kIcon = 1u << 4,         // picture: Resource names an icon, not a bitmap
    kTopLine = 1u << 5,      // bevel: a rule along its top edge (otherwise a raised frame)
    kFillParent = 1u << 6,   // always covers its parent's whole client area
    kArrowCursor = 1u << 7,  // memo: arrow cursor instead of the text cursor
};

// A colour: an RGB value, a system colour (GetSysColor index), or "inherit from the parent".
struct TColour {
    std::uint32_t Value = 0xFFFFFFFFu;
    constexpr bool IsDefault() const { return Value == 0xFFFFFFFFu; }
    constexpr bool IsSystem() const { return !IsDefault() && (Value & 0x80000000u) != 0; }
    constexpr int SystemIndex() const { return static_cast<int>(Value & 0xFFu); }
    constexpr std::uint32_t Rgb() const { return Value & 0x00FFFFFFu; }  // COLORREF layout
};
constexpr TColour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return {std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16)};
}
constexpr TColour SystemColour(int index) { return {0x80000000u | static_cast<std::uint32_t>(index)}; }
constexpr TColour kInherit{};
constexpr TColour kBlack = Rgb(0, 0, 0);
constexpr TColour kWhite = Rgb(255, 255, 255);
constexpr TColour kNavy = Rgb(0, 0, 128);
constexpr TColour kSilver = Rgb(192, 192, 192);
constexpr TColour kButtonFace = SystemColour(15);  // COLOR_BTNFACE

// A font by face and character height in pixels (created with a negative height). An empty face means
// the form's font.
struct TFontDecl {
    const char* Face = nullptr;
    int Height = 0;
    bool Bold = false;
    bool Italic = false;
    constexpr bool IsDefault() const { return Face == nullptr; }
};

struct TBounds {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};

struct TControlDecl {
    const char* Name = "";
    ui::Kind Kind = ui::Kind::Label;
    const char* Parent = nullptr;  // a Panel or Host row declared earlier; nullptr: the form
    TBounds Bounds{};
    const char* Caption = "";
    TFontDecl Font{};
    TColour TextColour = kInherit;
    TColour BackColour = kInherit;
    bool Visible = true;
    bool Enabled = true;
    unsigned Options = 0;
    const char* Resource = nullptr;  // picture: resource name
    unsigned Interval = 0;           // timer: milliseconds
};

enum class FormStyle {
    Borderless,  // no border, no caption bar
    Dialog,      // fixed dialog frame, caption bar, no title-bar buttons
};

struct TFormDecl {
    const char* ClassName = "";  // the window class, distinct per form so other processes can find it
    const char* Caption = "";
    FormStyle Style = FormStyle::Borderless;
    int ClientWidth = 0, ClientHeight = 0;
    TColour Colour = kButtonFace;
    TFontDecl Font{};
    TColour FontColour = kBlack;
    bool TopMost = false;
    bool Centred = false;
    bool Maximised = false;
    bool Visible = false;  // shown as soon as it is created
    const char* Icon = nullptr;
};

constexpr int kFirstControlId = 1000;

constexpr int ControlIdAt(std::size_t index) { return kFirstControlId + static_cast<int>(index); }

// The row of the named control; a name not in the table does not compile in a constant expression.
constexpr std::size_t ControlIndex(std::span<const TControlDecl> table, std::string_view name) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].Name == name) return i;
    throw "no control of that name";
}

constexpr int ControlId(std::span<const TControlDecl> table, std::string_view name) {
    return ControlIdAt(ControlIndex(table, name));
}

// A control's name checked against its form's table by the compiler: a misspelt name does not compile.
template <const auto& Table>
class TControlName {
public:
    consteval TControlName(const char* name) : m_index(ControlIndex(Table, name)) {}
    constexpr std::size_t Index() const { return m_index; }

private:
    std::size_t m_index;
};

// Unique names, parents declared earlier as panels or hosts, pictures with a resource, timers with an
// interval. Each form header checks its table with static_assert.
constexpr bool IsValidFormTable(std::span<const TControlDecl> table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TControlDecl& row = table[i];
        if (std::string_view(row.Name).empty()) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (std::string_view(table[j].Name) == row.Name) return false;
        if (row.Parent) {
            bool found = false;
            for (std::size_t j = 0; j < i; ++j)
                if (std::string_view(table[j].Name) == row.Parent &&
                    (table[j].Kind == Kind::Panel || table[j].Kind == Kind::Host))
                    found = true;
            if (!found) return false;
        }
        if (row.Kind == Kind::Picture && row.Resource == nullptr) return false;
        if (row.Kind == Kind::Timer && row.Interval == 0) return false;
    }
    return true;
}

}  // namespace quenby::ui
