#include "drawing/symbol_font.h"

namespace sp {
namespace {

// The Symbol typeface's letters, in the order a…z and A…Z. Its "j" is the open phi that
// the captions use for the phase difference (Δφ); its "f" is the straight-stroke one.
constexpr char16_t kLower[26] = {
    u'α', u'β', u'χ', u'δ', u'ε', u'ϕ', u'γ', u'η', u'ι', u'φ', u'κ', u'λ', u'μ',
    u'ν', u'ο', u'π', u'θ', u'ρ', u'σ', u'τ', u'υ', u'ϖ', u'ω', u'ξ', u'ψ', u'ζ'};
constexpr char16_t kUpper[26] = {
    u'Α', u'Β', u'Χ', u'Δ', u'Ε', u'Φ', u'Γ', u'Η', u'Ι', u'ϑ', u'Κ', u'Λ', u'Μ',
    u'Ν', u'Ο', u'Π', u'Θ', u'Ρ', u'Σ', u'Τ', u'Υ', u'ς', u'Ω', u'Ξ', u'Ψ', u'Ζ'};

}  // namespace

QString symbol_to_greek(const QString& symbol_text)
{
    QString greek = symbol_text;
    for (QChar& c : greek) {
        const char16_t u = c.unicode();
        if (u >= u'a' && u <= u'z')
            c = QChar(kLower[u - u'a']);
        else if (u >= u'A' && u <= u'Z')
            c = QChar(kUpper[u - u'A']);
    }
    return greek;
}

}  // namespace sp
