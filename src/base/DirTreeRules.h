// The directory tree's filter and path rules: no platform calls, so they are tested natively.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace quenby {

enum tdirattr : std::uint8_t { dtReadonly, dtHidden, dtSystem, dtArchive, dtNormal, dtAll };

// A set of tdirattr in one byte, bit n for the member of value n.
class tDirType {
public:
    constexpr tDirType() = default;
    constexpr tDirType(std::initializer_list<tdirattr> members) {
        for (tdirattr m : members) m_bits = static_cast<std::uint8_t>(m_bits | Bit(m));
    }
    static constexpr tDirType FromBits(std::uint8_t bits) {
        tDirType t;
        t.m_bits = bits;
        return t;
    }
    constexpr bool Contains(tdirattr m) const { return (m_bits & Bit(m)) != 0; }
    constexpr std::uint8_t Bits() const { return m_bits; }
    friend constexpr bool operator==(tDirType, tDirType) = default;

private:
    static constexpr std::uint8_t Bit(tdirattr m) { return static_cast<std::uint8_t>(1u << m); }
    std::uint8_t m_bits = 0;
};
static_assert(sizeof(tDirType) == 1);

inline constexpr std::uint32_t kAttrReadonly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
// Every directory search asks for everything but volume labels.
inline constexpr std::uint32_t kSearchAttrMask = 0x37;

// The DirType rule for a directory's attributes. The read-only attribute takes no part.
bool AttrAllowed(tDirType dirType, std::uint32_t attributes);

// True when a path (already lower-cased in the user's locale) lies below a recycle folder; the
// recycle folder itself, whose path ends with "\recycled\", is not below one.
bool BelowRecycleFolder(std::string_view loweredPath);

// Drive kinds (GetDriveTypeA) whose directories are not touched while the drive level is filled.
bool IsUnprobedDriveKind(unsigned kind);

// A directory search's "." and ".." entries.
bool IsDotEntry(std::string_view name);

// What the Directory setter makes of its argument: a final backslash added to a non-empty text.
std::string WithFinalBackslash(std::string path);

int CountBackslashes(std::string_view path);
// The text up to and including the k-th backslash (k from 1); empty when there are fewer.
std::string PrefixThroughBackslash(std::string_view path, int k);

// The text of a node whose path the shell cannot describe: the last component, or the drive root.
std::string FallbackNodeText(std::string_view path);

// The LastDirs slot of a path: its first character when that is 'A' to 'Z', else none.
std::optional<int> LastDirsSlot(std::string_view path);

// Whether a directory search with the given attribute mask returns an entry: hidden, system, volume
// label and directory entries only when the mask asks for them; the rest always.
bool SearchReturns(std::uint32_t attributes, std::uint32_t mask);

}  // namespace quenby
