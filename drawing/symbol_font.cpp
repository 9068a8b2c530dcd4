#include "drawing/symbol_font.h"

namespace sp {
namespace {

// The Symbol typeface's letters, in the order a…z and A…Z. Its "j" is the open phi that
// the captions use for the phase difference (Δφ); its "f" is the straight-stroke one.
constexpr std::string_view kLower[26] = {
    "α", "β", "χ", "δ", "ε", "ϕ", "γ", "η", "ι", "φ", "κ", "λ", "μ",
    "ν", "ο", "π", "θ", "ρ", "σ", "τ", "υ", "ϖ", "ω", "ξ", "ψ", "ζ"};
constexpr std::string_view kUpper[26] = {
    "Α", "Β", "Χ", "Δ", "Ε", "Φ", "Γ", "Η", "Ι", "ϑ", "Κ", "Λ", "Μ",
    "Ν", "Ο", "Π", "Θ", "Ρ", "Σ", "Τ", "Υ", "ς", "Ω", "Ξ", "Ψ", "Ζ"};

}  // namespace

std::string symbol_to_greek(std::string_view symbol_text)
{
    // A Latin letter is one byte of UTF-8, and no byte of a longer character is one.
    std::string greek;
    greek.reserve(symbol_text.size() * 2);
    for (const char c : symbol_text) {
        if (c >= 'a' && c <= 'z')
            greek += kLower[c - 'a'];
        else if (c >= 'A' && c <= 'Z')
            greek += kUpper[c - 'A'];
        else
            greek += c;
    }
    return greek;
}

}  // namespace sp
