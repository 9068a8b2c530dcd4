// What the native build makes of what the page's tests give the page's core:
//   sp_web_reference --sine-checksum     the checksum of the core's sine
//   sp_web_reference FILE…               for each fuzz corpus file of field texts (first
//                                        byte: the field, counted from '0' modulo 9; the
//                                        rest: the text typed), one line
//                                        FILE<TAB>field<TAB>text after<TAB>faults
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tests/sine_checksum.h"
#include "model/entry.h"

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--sine-checksum") {
        std::printf("%016llx\n", static_cast<unsigned long long>(sp::testing::sine_checksum()));
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (data.empty())
            continue;
        const auto id = static_cast<sp::ParamId>(static_cast<unsigned char>(data[0] - '0') % 9);
        sp::Parameters p = sp::defaults().params;
        const sp::FieldEdit e = sp::edit_field_whole(p, id, data.substr(1));
        std::cout << argv[i] << '\t' << static_cast<int>(id) << '\t' << e.text << '\t';
        if (e.rejected)
            std::cout << (*e.rejected == sp::EntryFault::Negative ? "Negative" : "NotPositive");
        std::cout << '\n';
    }
}
