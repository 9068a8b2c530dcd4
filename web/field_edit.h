#pragma once
// One whole edit of a parameter field as the window handles it: the text is read, checked
// (a rejected value is replaced and the fault told), stored with the parameter's precision
// and written back normalised, which is handled again, nested, until the text stays.

#include <string>
#include <vector>

#include "model/entry.h"
#include "model/number_format.h"
#include "model/parameters.h"

namespace sp::web {

struct FieldEdit {
    std::string text;                 // what the field shows after
    std::vector<EntryFault> faults;   // each rejection on the way, in order
};

inline FieldEdit edit_field(Parameters& p, ParamId id, std::string text)
{
    FieldEdit e;
    // The typed text, its normalised form, and the replacement when that form rounds to a
    // rejected value (a tiny positive Tmax shows as "0.0"): no edit takes more handlings.
    for (int handling = 0; handling < 4; ++handling) {
        store(p, id, read_number(text));
        if (const auto rejection = check_entry(id, value_of(p, id))) {
            e.faults.push_back(rejection->fault);
            store(p, id, rejection->replacement);
        }
        std::string normalised = format_field(value_of(p, id), field_decimals(id));
        if (normalised == text)
            break;
        text = std::move(normalised);
    }
    e.text = std::move(text);
    return e;
}

inline const char* fault_name(EntryFault f)
{
    return f == EntryFault::Negative ? "Negative" : "NotPositive";
}

}  // namespace sp::web
