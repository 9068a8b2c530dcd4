#include "model/entry.h"

#include <cstddef>

#include "model/number_format.h"

namespace sp {
namespace {

constexpr std::array<std::string_view, 9> kNames = {"alpha", "beta", "Xm",  "DYg", "Xo",
                                                    "Vox",   "Yo",   "Voy", "Tmax"};

}  // namespace

std::string_view param_name(ParamId id)
{
    return kNames[static_cast<std::size_t>(id)];
}

std::optional<ParamId> param_by_name(std::string_view name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (kNames[i] == name)
            return static_cast<ParamId>(i);
    return std::nullopt;
}

std::optional<Rejection> check_entry(ParamId id, double value)
{
    switch (id) {
    case ParamId::alpha:
        if (value < 0)
            return Rejection{EntryFault::Negative, 0.0};
        break;
    case ParamId::beta:
        if (value < 0)
            return Rejection{EntryFault::Negative, 0.5};
        break;
    case ParamId::Tmax:
        if (value <= 0)
            return Rejection{EntryFault::NotPositive, 1.0};
        break;
    default:
        break;
    }
    return std::nullopt;
}

int field_decimals(ParamId id)
{
    return id == ParamId::Tmax ? 1 : 8;
}

void store(Parameters& p, ParamId id, double value)
{
    switch (id) {
    case ParamId::alpha: p.alpha = value; break;
    case ParamId::beta: p.beta = value; break;
    case ParamId::Xm: p.Xm = value; break;
    case ParamId::DYg: p.DYg = value; break;
    case ParamId::Xo: p.Xo = value; break;
    case ParamId::Vox: p.Vox = value; break;
    case ParamId::Yo: p.Yo = value; break;
    case ParamId::Voy: p.Voy = to_single_saturated(value); break;
    case ParamId::Tmax: p.Tmax = value; break;
    }
}

double value_of(const Parameters& p, ParamId id)
{
    switch (id) {
    case ParamId::alpha: return p.alpha;
    case ParamId::beta: return p.beta;
    case ParamId::Xm: return p.Xm;
    case ParamId::DYg: return p.DYg;
    case ParamId::Xo: return p.Xo;
    case ParamId::Vox: return p.Vox;
    case ParamId::Yo: return p.Yo;
    case ParamId::Voy: return p.Voy;
    case ParamId::Tmax: return p.Tmax;
    }
    return 0.0;
}

FieldEdit edit_field(Parameters& p, ParamId id, std::string_view text)
{
    FieldEdit e;
    store(p, id, read_number(text));
    if (const auto rejection = check_entry(id, value_of(p, id))) {
        e.rejected = rejection->fault;
        store(p, id, rejection->replacement);
    }
    e.text = format_field(value_of(p, id), field_decimals(id));
    return e;
}

FieldEdit edit_field_whole(Parameters& p, ParamId id, std::string_view text)
{
    std::string shown(text);
    FieldEdit whole = edit_field(p, id, shown);
    // The normal form of a stored value is stored as itself, or rejected and replaced by a
    // value whose normal form is: the third handling finds nothing new.
    for (int handling = 1; handling < 4 && whole.text != shown; ++handling) {
        shown = whole.text;
        FieldEdit again = edit_field(p, id, shown);
        if (again.rejected)
            whole.rejected = again.rejected;
        whole.text = std::move(again.text);
    }
    return whole;
}

}  // namespace sp
