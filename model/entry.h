#pragma once
// The nine parameter fields as one family: which parameter each sets, its check, why an
// entry is rejected and the value that replaces it, and its number format.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/parameters.h"

namespace sp {

enum class ParamId { alpha, beta, Xm, DYg, Xo, Vox, Yo, Voy, Tmax };

// In the order the start-up writes the fields: Text1, Text4, Text7, Text8, Text2,
// Text3, Text5, Text6, Text9.
inline constexpr std::array<ParamId, 9> kFieldOrder = {
    ParamId::alpha, ParamId::beta, ParamId::Xm,  ParamId::DYg, ParamId::Xo,
    ParamId::Vox,   ParamId::Yo,   ParamId::Voy, ParamId::Tmax};

// What a rejected value breaks: alpha and beta must not be negative, Tmax must be
// positive.
enum class EntryFault : std::uint8_t { Negative, NotPositive };

struct Rejection {
    EntryFault fault;
    double replacement;
};

std::string_view param_name(ParamId id);  // "alpha", "Tmax", …
std::optional<ParamId> param_by_name(std::string_view name);

// nullopt when the value is accepted.
std::optional<Rejection> check_entry(ParamId id, double value);

int field_decimals(ParamId id);  // 8, or 1 for Tmax

// Stores the value with the parameter's precision (Voy rounds to single, saturating).
void store(Parameters& p, ParamId id, double value);
double value_of(const Parameters& p, ParamId id);

// One handling of a field's text: it is read, stored with the parameter's precision and,
// when rejected, replaced by the fault's value; `text` is what the field must show then.
// A field that is given a text it does not already show handles it again, so the window
// calls this once more with the normalised text; that mostly comes back unchanged, but a
// tiny positive Tmax shows as "0.0", which the second handling rejects.
struct FieldEdit {
    std::string text;
    std::optional<EntryFault> rejected;  // the warning the user is owed
};
FieldEdit edit_field(Parameters& p, ParamId id, std::string_view text);

// The whole edit as a field that handles its own new text sees it: handled again until the
// text stays (a few handlings at most), with the last warning owed. For front-ends whose
// fields, unlike the window's, do not hear of a text they are given.
FieldEdit edit_field_whole(Parameters& p, ParamId id, std::string_view text);

}  // namespace sp
